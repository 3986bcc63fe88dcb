#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

namespace talv {

// One command of a screen, declared once: its menu item, its shortcut and, when it has one, its
// toolbar button are the same QAction. Declared with designated initializers; what a command
// does not name stays empty.
struct Command {
    QString objectName;         // "mnuFileSave": the action's objectName
    QString caption;            // "&Save", with its access key
    QKeySequence shortcut = {}; // empty for none
    QString toolbarKey = {};    // "Save"; empty when the command has no toolbar button
    QString tooltip = {};       // the toolbar button's tooltip
    QString iconName = {};      // a freedesktop icon name ("document-save"); the key shows where the theme has none
    std::function<void()> handler = {};
};

// The commands of one screen. Each command is one QAction owned by the screen and added to it, so
// its shortcut acts only while the focus is inside that screen (two screens in one host window
// never answer each other's keys). A triggered action runs its handler only while it is enabled:
// a command disabled by the host's rights or by the screen's own rules does nothing from the menu,
// the toolbar or the keyboard alike.
class CommandTable : public QObject
{
    Q_OBJECT
public:
    explicit CommandTable(QWidget *screen);

    // Makes the command's action and appends it to `menu` (nullptr: no menu item).
    QAction *add(QMenu *menu, const Command &command);
    // Appends a separator action named `objectName` to `menu`; it has no action of its own.
    QAction *addSeparator(QMenu *menu, const QString &objectName);
    // Gives an existing action (a submenu's own action, say) a toolbar key, tooltip and icon.
    void setToolbarKey(QAction *action, const QString &key, const QString &tooltip, const QString &iconName = {});

    // nullptr when no command has that name or key.
    QAction *action(const QString &objectName) const;
    // Keys compare exactly: "new" is not "New".
    QAction *toolbarAction(const QString &key) const;

    // Runs the command behind a toolbar key the way its button would: an unknown key or a
    // disabled command does nothing. Answers whether the handler ran.
    bool triggerToolbarKey(const QString &key);

    // A toolbar named `objectName` with the buttons of `keys`, in that order; an empty key adds a
    // separator. Each button shows the command's icon, or its key as text where the theme has none.
    QToolBar *buildToolbar(const QString &objectName, const QStringList &keys);

    // Every action made or keyed here, in the order they were added.
    const QList<QAction *> &actions() const { return m_actions; }

private:
    QWidget *m_screen;
    QList<QAction *> m_actions;
    QHash<QString, QAction *> m_byName;
    QHash<QString, QAction *> m_byKey;
};

// A menu of a screen's menu bar (or a submenu), named `objectName` on the menu and on its action.
QMenu *addNamedMenu(QMenuBar *bar, const QString &objectName, const QString &caption);
QMenu *addNamedMenu(QMenu *parent, const QString &objectName, const QString &caption);

} // namespace talv

#include "CommandTable.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

namespace talv {

CommandTable::CommandTable(QWidget *screen) : QObject(screen), m_screen(screen)
{}

QAction *CommandTable::add(QMenu *menu, const Command &command)
{
    auto *action = new QAction(command.caption, m_screen);
    action->setObjectName(command.objectName);
    if (!command.shortcut.isEmpty()) {
        action->setShortcut(command.shortcut);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    // Added to the screen so that its shortcut works while the menu is closed.
    m_screen->addAction(action);
    if (menu)
        menu->addAction(action);
    const std::function<void()> handler = command.handler;
    connect(action, &QAction::triggered, this, [action, handler] {
        if (action->isEnabled() && handler)
            handler();
    });
    m_actions.append(action);
    m_byName.insert(command.objectName, action);
    if (!command.toolbarKey.isEmpty())
        setToolbarKey(action, command.toolbarKey, command.tooltip, command.iconName);
    return action;
}

QAction *CommandTable::addSeparator(QMenu *menu, const QString &objectName)
{
    QAction *separator = menu->addSeparator();
    separator->setObjectName(objectName);
    m_byName.insert(objectName, separator);
    return separator;
}

void CommandTable::setToolbarKey(QAction *action, const QString &key, const QString &tooltip, const QString &iconName)
{
    action->setProperty("toolbarKey", key);
    // A button without an icon shows its key; the menu keeps the caption.
    action->setIconText(key);
    if (!tooltip.isEmpty())
        action->setToolTip(tooltip);
    if (!iconName.isEmpty()) {
        const QIcon icon = QIcon::fromTheme(iconName);
        if (!icon.isNull())
            action->setIcon(icon);
    }
    if (!m_actions.contains(action)) {
        m_actions.append(action);
        m_byName.insert(action->objectName(), action);
    }
    m_byKey.insert(key, action);
}

QAction *CommandTable::action(const QString &objectName) const
{
    return m_byName.value(objectName);
}

QAction *CommandTable::toolbarAction(const QString &key) const
{
    return m_byKey.value(key);
}

bool CommandTable::triggerToolbarKey(const QString &key)
{
    QAction *action = toolbarAction(key);
    if (!action || !action->isEnabled())
        return false;
    // A submenu's action has no handler: its button opens the menu instead.
    if (QMenu *menu = action->menu()) {
        menu->popup(m_screen->mapToGlobal(QPoint(0, 0)));
        return true;
    }
    action->trigger();
    return true;
}

QToolBar *CommandTable::buildToolbar(const QString &objectName, const QStringList &keys)
{
    auto *toolbar = new QToolBar(m_screen);
    toolbar->setObjectName(objectName);
    toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const QString &key : keys) {
        if (key.isEmpty()) {
            toolbar->addSeparator();
            continue;
        }
        QAction *action = toolbarAction(key);
        if (!action)
            continue;
        toolbar->addAction(action);
        if (auto *button = qobject_cast<QToolButton *>(toolbar->widgetForAction(action))) {
            button->setObjectName(key);
            // Icons where the theme has them; the key as text where it has none.
            button->setToolButtonStyle(action->icon().isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
            if (action->menu())
                button->setPopupMode(QToolButton::InstantPopup);
        }
    }
    return toolbar;
}

QMenu *addNamedMenu(QMenuBar *bar, const QString &objectName, const QString &caption)
{
    QMenu *menu = bar->addMenu(caption);
    menu->setObjectName(objectName);
    menu->menuAction()->setObjectName(objectName);
    return menu;
}

QMenu *addNamedMenu(QMenu *parent, const QString &objectName, const QString &caption)
{
    QMenu *menu = parent->addMenu(caption);
    menu->setObjectName(objectName);
    menu->menuAction()->setObjectName(objectName);
    return menu;
}

} // namespace talv

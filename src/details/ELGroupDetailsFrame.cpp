// The screen's frame: its parts laid out, its menus and toolbar, and the commands that need
// nothing but the frame.
#include "ELGroupDetails.h"

#include "ChildListEditor.h"
#include "RecordForm.h"
#include "RecordNavigator.h"
#include "RecordObjects.h"
#include "RecordWriter.h"
#include "RelatedScreens.h"
#include "WaitPanel.h"

#include "contracts/AppManager.h"
#include "contracts/ElementGroupObject.h"
#include "platform/CommandTable.h"
#include "platform/FailureReport.h"
#include "platform/FocusedField.h"
#include "platform/Twips.h"
#include "platform/UiServices.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

namespace talv::details {

void ELGroupDetails::buildFrame()
{
    setObjectName(QStringLiteral("ELGroupDetails"));
    ChildListEditor::Screen children;
    children.group = [this] { return m_objects->group(); };
    children.updateProperty = [this](Component *child, const QString &property, const QString &value,
                                     const QString &user) { return UpdateProperty(child, property, value, user); };
    m_references = new ChildListEditor(ChildListEditor::referencesConfig(), m_state, children);
    children.searchExtraText = [this] {
        return ChildListEditor::elementKindFor(m_form->fieldText(RecordForm::Field::MemberType));
    };
    m_members = new ChildListEditor(ChildListEditor::membersConfig(), m_state, children);
    m_form = new RecordForm(m_members, m_references);
    m_navigator = new RecordNavigator(
        m_state, {[this] { return promptBeforeMove(); }, [this] { showRecord(); },
                  [this] { return m_objects->group() && m_objects->group()->IsNew(); },
                  [this] { return m_form->newRecordShown(); }, [this] { emit Quit(); },
                  [this](bool on) { on ? m_wait->showMode(WaitPanel::Loading) : m_wait->hidePanel(); }});
    m_form->setNavigator(m_navigator);

    buildCommands();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->setMenuBar(findChild<QMenuBar *>(QStringLiteral("mnuBar")));
    layout->addWidget(findChild<QToolBar *>(QStringLiteral("tbElementGroup")));
    layout->addWidget(m_form, 1);
    m_wait = new WaitPanel(m_form->tabs(), this);

    // One fixed size: the fields are laid out for it.
    setFixedSize(twips::toPixels(QSize(WidthTwips, HeightTwips)));
}

void ELGroupDetails::buildCommands()
{
    m_commands = new CommandTable(this);
    m_focusedField = new FocusedField(this);
    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("mnuBar"));
    CommandTable &c = *m_commands;
    const auto item = [&](QMenu *menu, const char *name, const char *caption, QKeySequence shortcut,
                          std::function<void()> handler, const char *key = nullptr, const char *tooltip = nullptr,
                          const char *icon = nullptr) {
        return c.add(menu, {QString::fromLatin1(name), QString::fromLatin1(caption), shortcut, QString::fromLatin1(key),
                            QString::fromLatin1(tooltip), QString::fromLatin1(icon), std::move(handler)});
    };
    const auto message = [this](const char *id) {
        return [this, id] {
            runReported(unableTo(QStringLiteral("show the message")),
                        [&] { m_state.appManager->Message(QString::fromLatin1(id)); });
        };
    };

    QMenu *file = addNamedMenu(bar, QStringLiteral("mnuFile"), QStringLiteral("&File"));
    item(
        file, "mnuFileNew", "&New", QKeySequence::New, [this] { m_writer->fileNew(); }, "New", "New Record",
        "document-new");
    QMenu *open = addNamedMenu(file, QStringLiteral("mnuFileOpen"), QStringLiteral("&Open"));
    c.setToolbarKey(open->menuAction(), QStringLiteral("Open"), QStringLiteral("Open Related Screen"),
                    QStringLiteral("document-open"));
    item(open, "mnuFileOpenETGlobal", "Element Global &Tracking...", {},
         [this] { m_related->elementGlobalTracking(); });
    item(open, "mnuFileOpenEOSpecs", "EO &Specs...", {}, [this] { m_related->eoSpecs(); });
    item(open, "mnuFileOpenRankSpecs", "EO R&ank Specs...", {}, [this] { m_related->eoRankSpecs(); });
    item(open, "mnuFileOpenElMgmt", "Element &Management...", {}, [this] { m_related->elementManagement(); });
    item(open, "mnuFileOpenReference", "R&eferences...", {}, [this] { m_related->references(); });
    c.addSeparator(open, QStringLiteral("mnuFileOpenSep2"));
    item(open, "mnuFileOpenRecMaint", "&Record Maintenance", {}, [this] { m_related->recordMaintenance(); });
    item(open, "mnuFileOpenAttrMaint", "&Attribute Maintenance", {}, [this] { m_related->attributeMaintenance(); });
    item(
        file, "mnuFileSave", "&Save", QKeySequence::Save, [this] { saveFromMenu(); }, "Save", "Save Record",
        "document-save");
    item(file, "mnuFilePrint", "&Print", QKeySequence::Print, message("APP002"), "Print", "Print", "document-print");
    c.addSeparator(file, QStringLiteral("mnuFileSep3"));
    item(file, "mnuFileClose", "&Close", {}, [this] { closeScreen(); });

    QMenu *edit = addNamedMenu(bar, QStringLiteral("mnuEdit"), QStringLiteral("&Edit"));
    // Undo and Redo keep the menu's shape; the fields undo their own typing.
    for (QAction *unused : {item(edit, "mnuEditUndo", "&Undo", {}, {}), item(edit, "mnuEditRedo", "&Redo", {}, {}),
                            c.addSeparator(edit, QStringLiteral("mnuEditSep1"))}) {
        unused->setVisible(false);
        unused->setEnabled(false);
    }
    item(
        edit, "mnuEditCut", "Cu&t", QKeySequence::Cut, [this] { CutFocusedText(); }, "Cut", "Cut", "edit-cut");
    item(
        edit, "mnuEditCopy", "&Copy", QKeySequence::Copy, [this] { CopyFocusedText(); }, "Copy", "Copy", "edit-copy");
    item(
        edit, "mnuEditPaste", "&Paste", QKeySequence::Paste, [this] { PasteFocusedText(); }, "Paste", "Paste",
        "edit-paste");
    c.addSeparator(edit, QStringLiteral("mnuEditSep2"));
    QMenu *go = addNamedMenu(edit, QStringLiteral("mnuEditGoto"), QStringLiteral("&Goto"));
    item(go, "mnuEditGotoFirst", "&First Record", QKeySequence(Qt::CTRL | Qt::Key_Home),
         [this] { m_navigator->first(); });
    item(go, "mnuEditGotoLast", "&Last Record", QKeySequence(Qt::CTRL | Qt::Key_End), [this] { m_navigator->last(); });
    item(go, "mnuEditGotoPrevious", "&Previous Record", QKeySequence(Qt::CTRL | Qt::Key_PageUp),
         [this] { m_navigator->previous(); });
    item(go, "mnuEditGotoNext", "&Next Record", QKeySequence(Qt::CTRL | Qt::Key_PageDown),
         [this] { m_navigator->next(); });
    item(
        go, "mnuEditGotoRecord", "&Record...", QKeySequence(Qt::CTRL | Qt::Key_G),
        [this] { m_navigator->gotoDialog(); }, "Goto", "Goto Record", "go-jump");
    c.addSeparator(edit, QStringLiteral("mnuEditSep4"));
    item(
        edit, "mnuEditDelete", "&Delete", QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { m_writer->deleteRecord(); },
        "Delete", "Delete Record", "edit-delete");

    QMenu *tools = addNamedMenu(bar, QStringLiteral("mnuTools"), QStringLiteral("&Tools"));
    item(
        tools, "mnuToolsFind", "&Find...", QKeySequence::Find, [this] { m_related->find(); }, "Find",
        "Find Element Group", "edit-find");
    item(tools, "mnuToolsCopy", "&Copy Data From...", {}, [this] { m_related->copyDataFrom(); });
    c.addSeparator(tools, QStringLiteral("mnuToolsSep1"));
    item(
        tools, "mnuToolsTextEditor", "Text &Editor", QKeySequence(Qt::CTRL | Qt::Key_E), [this] { LaunchTextEditor(); },
        "TextEditor", "Text Editor", "accessories-text-editor");
    item(
        tools, "mnuToolsSpellcheck", "&Spell Check", QKeySequence(Qt::Key_F7), [this] { CheckSpellingActive(); },
        "SpellCheck", "Spell Check", "tools-check-spelling");

    QMenu *help = addNamedMenu(bar, QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    item(
        help, "mnuHelpTALV", "Varnex &Help F1", {}, [this] { showHelp(); }, "Help", "Help", "help-browser");
    c.addSeparator(help, QStringLiteral("mnuHelpSep1"));
    item(help, "mnuHelpAbout", "&About Varnex...", {}, [this] {
        runReported(unableTo(QStringLiteral("show the About box")), [this] { m_state.appManager->ShowAbout(); });
    });

    c.buildToolbar(QStringLiteral("tbElementGroup"), {QStringLiteral("New"),
                                                      QStringLiteral("Open"),
                                                      QStringLiteral("Save"),
                                                      QStringLiteral("Print"),
                                                      {},
                                                      QStringLiteral("Cut"),
                                                      QStringLiteral("Copy"),
                                                      QStringLiteral("Paste"),
                                                      {},
                                                      QStringLiteral("Delete"),
                                                      QStringLiteral("Find"),
                                                      QStringLiteral("Goto"),
                                                      {},
                                                      QStringLiteral("TextEditor"),
                                                      QStringLiteral("SpellCheck"),
                                                      {},
                                                      QStringLiteral("Help")});
}

QAction *ELGroupDetails::command(const QString &objectName) const
{
    return m_commands->action(objectName);
}

void ELGroupDetails::pressToolbarKey(const QString &key)
{
    m_commands->triggerToolbarKey(key);
}

void ELGroupDetails::applyModalRule(bool modal)
{
    for (const char *name :
         {"mnuFileNew", "mnuFileOpen", "mnuToolsFind", "mnuEditDelete", "mnuEditGoto", "mnuEditGotoRecord"}) {
        if (QAction *action = m_commands->action(QString::fromLatin1(name)))
            action->setEnabled(!modal);
    }
    m_navigator->setNavigationEnabled(!modal);
}

QObjectList ELGroupDetails::namedControls() const
{
    // The host sees the screen's named controls and menu items as one flat list.
    QObjectList controls;
    const QList<QObject *> all = findChildren<QObject *>();
    for (QObject *child : all) {
        if (!child->objectName().isEmpty() && (child->isWidgetType() || qobject_cast<QAction *>(child)))
            controls.append(child);
    }
    return controls;
}

void ELGroupDetails::closeScreen()
{
    emit Quit();
}

void ELGroupDetails::showHelp()
{
    // The host answers F1 with the help of the focused control.
    runReported(unableTo(QStringLiteral("show help")), [] { UiServices::current().sendKeys(QStringLiteral("{F1}")); });
}

} // namespace talv::details

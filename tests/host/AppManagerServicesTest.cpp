#include "SessionFixture.h"

#include "clients/ServerDirectory.h"
#include "contracts/ViewCollection.h"
#include "platform/ScriptedUiServices.h"

#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>

using namespace talv;
using test::SessionOnEngine;

namespace {

using AppServices = SessionOnEngine;

// A screen shaped like the library's: buttons, a menu holding actions, a toolbar keyed by name.
struct FakeScreen {
    QWidget screen;

    explicit FakeScreen(const QString &name)
    {
        screen.setObjectName(name);
        for (const char *button : {"cmdFindNow", "cmdNew", "cmdDetails", "cmdRemoveReference", "cmdPublish"})
            (new QPushButton(&screen))->setObjectName(QString::fromLatin1(button));
        QMenu *file = (new QMenuBar(&screen))->addMenu("&File");
        for (const char *action : {"mnuFileNew", "mnuFileSave", "mnuFileSaveSearch", "mnuFileDeleteSearch",
                                   "mnuEditDelete", "mnuEditCopy", "mnuToolsCopy"})
            file->addAction(QString::fromLatin1(action))->setObjectName(QString::fromLatin1(action));
        file->addAction("&New Search")->setObjectName("mnuFileNewSearch");
        auto *toolbar = new QToolBar(&screen);
        toolbar->addAction("Save")->setObjectName("Save");
        toolbar->findChild<QAction *>("Save")->setToolTip("Save Current Search");
        toolbar->addAction("Delete")->setObjectName("Delete");
    }
    QStringList disabled() const
    {
        QStringList out;
        for (QObject *o : screen.findChildren<QObject *>())
            if (o->property("enabled") == QVariant(false) && !o->objectName().isEmpty())
                out << o->objectName(); // actions and widgets alike
        out.sort();
        return out;
    }
};

} // namespace

TEST_P(AppServices, SessionKnowsTheUserAndRegistersTheServerForItsLifetime)
{
    EXPECT_EQ(manager->GetUserID(), 1);
    EXPECT_EQ(manager->GetOrgUnitCode(3), "GLK");
    EXPECT_EQ(manager->GetServerType(), onPostgreSQL() ? clients::PostgreSQLServer : clients::SQLiteServer);
    const QString server = manager->GetServerName();
    EXPECT_EQ(clients::ServerDirectory::Find(server).connectionName, session->connection().connectionName());

    login("JBrandt"); // the same user in any letter case, with their own unit
    EXPECT_EQ(manager->GetUserName(), "jbrandt");
    EXPECT_EQ(manager->GetSystemOrgUnitID(), 3);

    exec("INSERT INTO app_user (user_id, user_name, org_unit_id, is_active) VALUES (9, 'oldhand', 2, 'N')");
    manager.reset();
    session.reset();
    EXPECT_THROW(clients::ServerDirectory::Find(server), Error);
    for (const QString name : {"nobody", "oldhand", "", "ecarter' OR '1'='1"}) {
        try {
            host::HostSession refused(m_db->openAnother(), name);
            ADD_FAILURE() << "logged in as " << name.toStdString();
        } catch (const Error &e) {
            EXPECT_EQ(e.number(), host::HostSession::LoginRefused) << e.description().toStdString();
        }
    }
    EXPECT_THROW(clients::ServerDirectory::Find(server), Error) << "a refused login registers nothing";
}

TEST_P(AppServices, AFullUserKeepsEveryCommandAndAReadOnlyUserLosesWriteCommandsOnAnyScreen)
{
    FakeScreen details("ELGroupDetails");
    manager->ApplySecurity(&details.screen, {}, "ELGroupDetails", details.screen.children());
    EXPECT_EQ(details.disabled(), QStringList());
    EXPECT_TRUE(manager->CheckPermission(QVariant()));
    EXPECT_FALSE(manager->CheckPermission(false)) << "the business client may still deny";

    login("jbrandt");
    EXPECT_EQ(manager->GetControlAccess("ELGroupDetails", "mnuFileSave"), "R");
    EXPECT_FALSE(manager->CheckPermission(QVariant()));
    for (const QString screenName : {"ELGroupDetails", "SomeOtherScreen"}) {
        FakeScreen screen(screenName);
        screen.screen.findChild<QPushButton *>("cmdPublish")->setProperty("writeCommand", true);
        // Only the direct children are handed over; the menus' actions lie deeper.
        manager->ApplySecurity(&screen.screen, {}, screenName, screen.screen.children());
        EXPECT_EQ(screen.disabled(), QStringList({"Delete", "cmdNew", "cmdPublish", "cmdRemoveReference",
                                                  "mnuEditDelete", "mnuFileNew", "mnuFileSave", "mnuToolsCopy"}))
            << screenName.toStdString();
    }
}

TEST_P(AppServices, TheMostSpecificAccessRowWins)
{
    exec("INSERT INTO user_access (user_id, form_name, control_name, access_level) VALUES "
         "(2, 'ELGroupDetails', 'mnuFileSave', 'F'), (2, 'ELGroupSearch', 'cmdDetails', 'N'), "
         "(2, 'ELGroupSearch', '*', 'F'), (2, '*', 'mnuEditDelete', 'N')");
    login("jbrandt");
    EXPECT_EQ(manager->GetControlAccess("elgroupdetails", "MNUFILESAVE"), "F");
    EXPECT_EQ(manager->GetControlAccess("ELGroupDetails", "mnuToolsCopy"), "R");
    EXPECT_EQ(manager->GetControlAccess("ELGroupSearch", "cmdNew"), "F");
    EXPECT_EQ(manager->GetControlAccess("ELGroupDetails", "mnuEditDelete"), "N");

    FakeScreen search("ELGroupSearch");
    manager->ApplySecurity(&search.screen, {}, "ELGroupSearch", {});
    EXPECT_EQ(search.disabled(), QStringList({"cmdDetails"}));
    EXPECT_TRUE(search.screen.findChild<QPushButton *>("cmdDetails")->isHidden()) << "N hides as well";
}

TEST_P(AppServices, F9ShowsTheEntryOfTheFieldInUseOrSaysWhyThereIsNone)
{
    ScriptedUiServices ui;
    ScopedUiServices scoped(ui);
    QWidget screen;
    screen.setObjectName("TALV_ELGroup.ELGroupDetails");
    auto *editor = new QWidget(&screen);
    editor->setObjectName("ctrGroupDescription");
    auto *inner = new QWidget(editor); // where the focus sits inside the field
    const auto entryFor = [&](QObject *active) {
        screen.setProperty("ActiveControl", QVariant::fromValue(active));
        ui.queueAnswer(Answer::OK);
        manager->DisplaySystemControlEntry(&screen);
        return ui.boxes().last().text;
    };
    EXPECT_EQ(entryFor(inner), "Form: TALV_ELGroup.ELGroupDetails\nControl: ctrGroupDescription\n"
                               "Type: RichTextControl\nRich text: Y\nMaximum width: 4000\nDescription: Description");
    EXPECT_EQ(ui.boxes().last().title, "System Control");
    editor->setObjectName("txtNowhere");
    EXPECT_EQ(entryFor(inner), "There is no system control entry for txtNowhere.");
    EXPECT_EQ(entryFor(nullptr), "No field of this screen has the focus.");
}

TEST_P(AppServices, SevenViewsNumberedFromOneAnswerEmptyListLayouts)
{
    ViewCollection &views = manager->ViewManager().colViews();
    ASSERT_EQ(views.Count(), 7);
    EXPECT_EQ(views.Item(1).Item("working_list_type").toString() + views.Item(7).Item("working_list_type").toString(),
              "EGPEOR");
    EXPECT_THROW(views.Item(0), Error);
    EXPECT_THROW(views.Item(8), Error);
    for (const QString code : {"EGP", "ELE", "ETK", "REF", "ELM", "EOS", "EOR"})
        EXPECT_EQ(manager->GetPrototypeRSForView(code)->RecordCount(), 0) << code.toStdString();
    EXPECT_THROW(manager->GetPrototypeRSForView("XYZ"), Error);
    EXPECT_EQ(manager->GetPrototypeRSForView("ELE")->FieldName(1).toUpper(), "SCIENTIFIC_NAME");
}

TALV_ON_BOTH_ENGINES(AppServices);

TEST(AccessRightsTest, ADatabaseOpenForReadingOnlyTakesEveryWriteAwayTheUsersOwnSearchesToo)
{
    host::AccessRights rights(QHash<std::pair<QString, QString>, QString>{{{"*", "*"}, "F"}});
    EXPECT_TRUE(rights.allowsWriting());
    rights.setDatabaseReadOnly(true);
    EXPECT_FALSE(rights.allowsWriting());
    EXPECT_EQ(rights.letter("ELGroupDetails", "mnuFileSave"), "R");

    FakeScreen search("ELGroupSearch");
    host::applySecurity(rights, &search.screen, "ELGroupSearch", {});
    // Starting a new search or adding to the working list changes nothing stored.
    EXPECT_EQ(search.disabled(),
              QStringList({"Delete", "Save", "cmdNew", "cmdRemoveReference", "mnuEditDelete", "mnuFileDeleteSearch",
                           "mnuFileNew", "mnuFileSave", "mnuFileSaveSearch", "mnuToolsCopy"}));
}

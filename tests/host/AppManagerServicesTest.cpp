#include "SessionFixture.h"

#include "clients/ServerDirectory.h"
#include "contracts/ViewCollection.h"

#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>

using namespace talv;
using test::SessionOnEngine;

namespace {

class AppServices : public SessionOnEngine
{
};

// A screen shaped like the library's: buttons, menus holding actions, a toolbar keyed by name.
struct FakeScreen {
    QWidget screen;

    explicit FakeScreen(const QString &name)
    {
        screen.setObjectName(name);
        for (const char *button : {"cmdFindNow", "cmdNew", "cmdAddToList", "cmdDetails", "cmdAddElement",
                                   "cmdRemoveReference", "cmdPublish"})
            (new QPushButton(&screen))->setObjectName(QString::fromLatin1(button));
        QMenu *file = (new QMenuBar(&screen))->addMenu("&File");
        for (const auto &[action, text] : {std::pair{"mnuFileNew", "&New"},
                                           {"mnuFileSave", "&Save"},
                                           {"mnuFileSaveSearch", "&Save Search"},
                                           {"mnuFileClose", "&Close"},
                                           {"mnuEditDelete", "&Delete"},
                                           {"mnuEditCopy", "&Copy"},
                                           {"mnuToolsCopy", "&Copy Data From..."}})
            file->addAction(text)->setObjectName(QString::fromLatin1(action));
        auto *toolbar = new QToolBar(&screen);
        toolbar->addAction("Save")->setObjectName("Save");
        toolbar->findChild<QAction *>("Save")->setToolTip("Save Current Search");
        toolbar->addAction("Delete")->setObjectName("Delete");
    }
    QStringList disabled() const
    {
        QStringList out;
        for (QObject *o : screen.findChildren<QObject *>()) {
            auto *a = qobject_cast<QAction *>(o);
            auto *w = qobject_cast<QWidget *>(o);
            if (!o->objectName().isEmpty() && ((a && !a->isEnabled()) || (w && !w->isEnabled())))
                out << o->objectName();
        }
        out.sort();
        return out;
    }
};

struct RecordingWindow final : host::HostWindowServices {
    QStringList calls;
    void ShowAbout() override { calls << "ShowAbout"; }
    void PopupEdit(FlexGrid *) override { calls << "PopupEdit"; }
    bool OpenRelatedDetail(const QString &from, const QString &to, const QString &caption, qint32 &id) override
    {
        calls << QString("OpenRelatedDetail %1 %2 %3 %4").arg(from, to, caption).arg(id);
        id = 77;
        return true;
    }
    void DisplaySystemControlEntry(QWidget *w) override { calls << "DisplaySystemControlEntry " + w->objectName(); }
};

} // namespace

TEST_P(AppServices, SessionKnowsTheUserAndRegistersTheServerForItsLifetime)
{
    EXPECT_EQ(manager->GetUserID(), 1);
    EXPECT_EQ(manager->GetSystemOrgUnitID(), 1);
    EXPECT_EQ(manager->GetOrgUnitCode(3), "GLK");
    EXPECT_EQ(manager->GetOrgUnitCode(999), "");
    EXPECT_EQ(manager->GetServerType(), onPostgreSQL() ? clients::PostgreSQLServer : clients::SQLiteServer);
    const QString server = manager->GetServerName();
    EXPECT_EQ(clients::ServerDirectory::Find(server).connectionName, session->connection().connectionName());
    EXPECT_GT(clients::ServerDirectory::Find(server).nextId("element_group_seq"), 0);
    EXPECT_EQ(manager->CallGetQueryRSXML("SELECT UNIQUE org_unit_id FROM app_user")->RecordCount(), 2);

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
    EXPECT_EQ(manager->GetControlAccess("ELGroupDetails", "mnuFileSave"), "F");
    EXPECT_TRUE(manager->CheckPermission(QVariant()));
    EXPECT_FALSE(manager->CheckPermission(false)) << "the business client may still deny";
    EXPECT_FALSE(manager->CheckPermission("R"));

    login("jbrandt");
    EXPECT_EQ(manager->GetControlAccess("ELGroupDetails", "mnuFileSave"), "R");
    EXPECT_FALSE(manager->CheckPermission(QVariant()));
    for (const QString screenName : {"ELGroupDetails", "SomeOtherScreen"}) {
        FakeScreen screen(screenName);
        screen.screen.findChild<QPushButton *>("cmdPublish")->setProperty("writeCommand", true);
        // Only the direct children are handed over; the menus' actions lie deeper.
        manager->ApplySecurity(&screen.screen, {}, screenName, screen.screen.children());
        EXPECT_EQ(screen.disabled(),
                  QStringList({"Delete", "cmdAddElement", "cmdNew", "cmdPublish", "cmdRemoveReference", "mnuEditDelete",
                               "mnuFileNew", "mnuFileSave", "mnuToolsCopy"}))
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
    FakeScreen details("ELGroupDetails");
    manager->ApplySecurity(&details.screen, {}, "ELGroupDetails", {});
    EXPECT_TRUE(details.screen.findChild<QAction *>("mnuFileSave")->isEnabled());
    EXPECT_FALSE(details.screen.findChild<QAction *>("mnuEditDelete")->isVisible());
}

TEST_P(AppServices, SevenViewsAnswerTheirCodesAndListLayouts)
{
    ViewCollection &views = manager->ViewManager().colViews();
    const QStringList codes{"EGP", "ELE", "ETK", "REF", "ELM", "EOS", "EOR"};
    ASSERT_EQ(views.Count(), codes.size());
    for (qint32 i = 0; i < codes.size(); ++i) {
        EXPECT_EQ(FindViewIndex(views, codes[i]), i + 1);
        EXPECT_EQ(views.Item(i + 1).Item("working_list_type").toString(), codes[i]);
        EXPECT_EQ(manager->GetPrototypeRSForView(codes[i])->RecordCount(), 0) << codes[i].toStdString();
    }
    EXPECT_THROW(views.Item(0), Error);
    EXPECT_THROW(views.Item(8), Error);

    const RecordsetPtr elements = manager->GetPrototypeRSForView("ELE");
    EXPECT_EQ(elements->State(), Recordset::StateOpen);
    QStringList fields;
    for (int i = 0; i < elements->FieldCount(); ++i)
        fields << elements->FieldName(i).toUpper();
    EXPECT_EQ(fields, QStringList({"ID", "SCIENTIFIC_NAME", "COMMON_NAME", "ELEMENT_CATEGORY", "G_RANK"}));
    elements->AddNew(QVariantList{5, "Silene acaulis", "Moss Campion", "Plant", "G5"});
    EXPECT_EQ(elements->RecordCount(), 1);
    EXPECT_THROW(manager->GetPrototypeRSForView("XYZ"), Error);
}

TEST_P(AppServices, HelpTopicFollowsTheActiveControl)
{
    QWidget details;
    details.setObjectName("ELGroupDetails");
    auto *grid = new QWidget(&details);
    grid->setObjectName("fgElements");
    auto *label = new QWidget(&details);
    label->setObjectName("lblID");

    qint32 topic = -1;
    details.setProperty("ActiveControl", QVariant::fromValue<QWidget *>(new QWidget(grid)));
    ASSERT_TRUE(manager->GetHelpTopicID(&details, topic));
    EXPECT_EQ(topic, 230) << "an inner part takes the topic of its grid";
    details.setProperty("ActiveControl", QVariant::fromValue<QWidget *>(label));
    ASSERT_TRUE(manager->GetHelpTopicID(&details, topic));
    EXPECT_EQ(topic, 200) << "a control without a topic takes the screen's";
    QWidget stranger;
    topic = -1;
    EXPECT_FALSE(manager->GetHelpTopicID(&stranger, topic));
    EXPECT_EQ(topic, -1);
}

TEST_P(AppServices, WindowServicesNeedTheMainWindow)
{
    qint32 id = 12;
    QWidget hosted;
    hosted.setObjectName("ModalDetail");
    EXPECT_THROW(manager->ShowAbout(), Error);
    EXPECT_THROW(manager->OpenRelatedDetail("EGP", "REF", "References...", id), Error);

    RecordingWindow window;
    manager->setWindowServices(&window);
    manager->ShowAbout();
    EXPECT_TRUE(manager->OpenRelatedDetail("EGP", "REF", "References...", id));
    EXPECT_EQ(id, 77);
    manager->DisplaySystemControlEntry(&hosted);
    EXPECT_EQ(window.calls, QStringList({"ShowAbout", "OpenRelatedDetail EGP REF References... 12",
                                         "DisplaySystemControlEntry ModalDetail"}));
    manager->setWindowServices(nullptr);
    EXPECT_THROW(manager->PopupEdit(nullptr), Error);
}

TALV_ON_BOTH_ENGINES(AppServices);

#include "host/WindowManager.h"
#include "host/RelatedRecordScreen.h"
#include "host/ViewCatalogue.h"
#include "host/WorkArea.h"
#include "host/WorkingLists.h"

#include "support/EngineDatabase.h"
#include "support/StandInScreen.h"

#include "contracts/ClassRegistry.h"
#include "contracts/HostWindow.h"
#include "platform/FlexGrid.h"
#include "platform/ScriptedUiServices.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>

#include <gtest/gtest.h>

using namespace talv;
using namespace talv::host;

namespace {

const QString DetailsClass = "TALV_ELGroup.ELGroupDetails";

using test::StandInScreen;

class WindowManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StandInScreen::reset();
        ClassRegistry::instance().RegisterWidget<StandInScreen>(DetailsClass);

        std::string whyNot;
        db = test::EngineDatabase::create(Engine::SQLite, test::EngineDatabase::WithSample, &whyNot);
        ASSERT_TRUE(db) << whyNot;
        queries = std::make_unique<QueryService>(db->database().connection());
        lists = std::make_unique<WorkingLists>(views, *queries);
        area = std::make_unique<WorkArea>();
        area->setRedrawHandler([this](bool redraw) { redraws.append(redraw); });
        area->show();
        manager = std::make_unique<WindowManager>(*area, views, *lists, *queries);
        groups = FindViewIndex(views, "EGP");
    }

    void TearDown() override
    {
        manager.reset();
        area.reset();
        ClassRegistry::instance().Unregister(DetailsClass);
    }

    StandInScreen *lastScreen() const
    {
        const QList<QWidget *> screens = manager->Screens();
        return screens.isEmpty() ? nullptr : qobject_cast<StandInScreen *>(screens.last());
    }

    // The IDs of the group working list in list order.
    QList<qint32> listIds()
    {
        QList<qint32> ids;
        const RecordsetPtr rs = lists->list(groups);
        for (qsizetype row = 0; row < rs->RecordCount(); ++row)
            ids.append(rs->ValueAt(row, rs->FieldIndex(QStringLiteral("ID"))).toInt());
        return ids;
    }

    QString listValue(qint32 id, const QString &field)
    {
        const RecordsetPtr rs = lists->list(groups);
        for (qsizetype row = 0; row < rs->RecordCount(); ++row) {
            if (rs->ValueAt(row, rs->FieldIndex(QStringLiteral("ID"))).toInt() == id)
                return rs->ValueAt(row, rs->FieldIndex(field)).toString();
        }
        return {};
    }

    void gather(std::initializer_list<qint32> ids)
    {
        for (const qint32 id : ids)
            lists->refreshRecord(groups, id, true);
    }

    void exec(const QString &sql) { test::rowsOf(db->database().connection(), sql); }

    // Lets queued closes and notifications run, and closed windows go.
    static void settle()
    {
        QApplication::processEvents();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    ScriptedUiServices ui;
    ScopedUiServices scopedUi{ui};
    std::unique_ptr<test::EngineDatabase> db;
    std::unique_ptr<QueryService> queries;
    ViewCatalogue views;
    std::unique_ptr<WorkingLists> lists;
    std::unique_ptr<WorkArea> area;
    std::unique_ptr<WindowManager> manager;
    QList<bool> redraws;
    qint32 groups = -1;
};

TEST_F(WindowManagerTest, OpensTheViewsDetailsOnTheWorkingListToLoadOrCreateARecord)
{
    gather({1, 2, 3});
    manager->setCurrentView(FindViewIndex(views, "ELE"));
    manager->OpenDetails(groups, groups, 2, QString(), RecordsetPtr());

    StandInScreen *screen = lastScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(StandInScreen::log, QStringList({QStringLiteral("InitDetails %1").arg(groups), "LoadData 2"}));
    // The host's own list, shared, not a copy.
    EXPECT_EQ(screen->list, lists->list(groups));
    // While it starts, the screen learns the kind of list it was handed, not the view on show.
    EXPECT_EQ(screen->workingListTypeAtInit, groups);
    EXPECT_EQ(manager->WorkingListType(), FindViewIndex(views, "ELE"));
    EXPECT_EQ(area->subWindowList().size(), 1);
    EXPECT_EQ(area->activeSubWindow()->windowTitle(), "Element Groups");
    EXPECT_EQ(findHostWindow(screen), area.get());

    manager->NewDetails(groups, groups, "Element Group...");
    EXPECT_EQ(StandInScreen::log.last(), "NewData -1");
    EXPECT_EQ(lastScreen()->list, lists->list(groups));
    EXPECT_EQ(area->activeSubWindow()->windowTitle(), "Element Group...");
    EXPECT_TRUE(ui.boxes().isEmpty());
}

TEST_F(WindowManagerTest, SingleRecordViewAndGivenListsAreHandedInsteadOfTheWorkingList)
{
    gather({1});
    manager->OpenDetails(groups, groups, 4, WindowManager::SingleRecordView, RecordsetPtr());
    StandInScreen *single = lastScreen();
    ASSERT_NE(single, nullptr);
    ASSERT_NE(single->list, lists->list(groups));
    ASSERT_EQ(single->list->RecordCount(), 1);
    EXPECT_EQ(single->list->Value(QStringLiteral("ID")).toInt(), 4);
    EXPECT_EQ(single->list->Value(QStringLiteral("Group_Name")).toString(),
              "Snowbed and Fellfield Plants of the Beartooth Plateau");

    auto own = std::make_shared<Recordset>(*lists->list(groups));
    manager->OpenDetails(groups, groups, 1, "Group 1", own);
    ASSERT_NE(lastScreen(), single);
    EXPECT_EQ(lastScreen()->list, own);
    EXPECT_EQ(area->activeSubWindow()->windowTitle(), "Group 1");
    EXPECT_EQ(listIds(), QList<qint32>({1})); // the working list itself is untouched
}

TEST_F(WindowManagerTest, ScreenEventsRereadAppendAndRemoveListRowsAndNotifyTheScreen)
{
    gather({1, 2, 3});
    manager->OpenDetails(groups, groups, 2, QString(), RecordsetPtr());
    StandInScreen *screen = lastScreen();
    ASSERT_NE(screen, nullptr);
    RecordsetPtr list = lists->list(groups);
    list->MoveFirst();
    list->Find(QStringLiteral("ID = 3"));

    exec("UPDATE element_group SET element_group_name = 'Renamed Group' WHERE element_group_id = 2");
    emit screen->UpdateList(2);
    EXPECT_EQ(listValue(2, "Group_Name"), "Renamed Group");
    EXPECT_EQ(list->Value(QStringLiteral("ID")).toInt(), 3) << "the screen's place in the list moved";
    EXPECT_TRUE(screen->notifications.isEmpty()) << "notified while still inside its own handler";
    settle();
    EXPECT_EQ(screen->notifications.size(), 1);

    // A saved new record joins the list it was made on, once.
    emit screen->UpdateList(7);
    emit screen->NewItem(9);
    emit screen->NewItem(9);
    EXPECT_EQ(listIds(), QList<qint32>({1, 2, 3, 7, 9}));
    emit screen->RemoveItem(2);
    emit screen->RemoveItem(42); // not in the list: nothing to do
    EXPECT_EQ(listIds(), QList<qint32>({1, 3, 7, 9}));

    // A record deleted behind the list's back leaves it when a screen announces it.
    exec("DELETE FROM element_group WHERE element_group_id = 3");
    emit screen->UpdateList(3);
    EXPECT_EQ(listIds(), QList<qint32>({1, 7, 9}));
    EXPECT_TRUE(ui.boxes().isEmpty());
}

TEST_F(WindowManagerTest, AScreenOnItsOwnRecordsUpdatesButNeverGrowsTheWorkingList)
{
    gather({1});
    manager->OpenDetails(groups, groups, 5, WindowManager::SingleRecordView, RecordsetPtr());
    StandInScreen *screen = lastScreen();
    ASSERT_NE(screen, nullptr);
    emit screen->UpdateList(5);
    EXPECT_EQ(listIds(), QList<qint32>({1}));

    exec("UPDATE element_group SET element_group_name = 'Seen Elsewhere' WHERE element_group_id = 1");
    emit screen->UpdateList(1);
    EXPECT_EQ(listValue(1, "Group_Name"), "Seen Elsewhere");
}

TEST_F(WindowManagerTest, AGroupScreenOnAnElementListNeverWritesGroupIdsIntoIt)
{
    const qint32 elements = FindViewIndex(views, "ELE");
    lists->refreshRecord(elements, 1, true);
    lists->refreshRecord(elements, 2, true);
    manager->OpenDetails(elements, groups, 2, QString(), RecordsetPtr());
    StandInScreen *screen = lastScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->list, lists->list(elements));
    EXPECT_EQ(screen->workingListTypeAtInit, elements);

    emit screen->UpdateList(5); // group 5 saved; element 5 is not in the list and must not join it
    emit screen->RemoveItem(1); // group 1 deleted; element 1 stays
    EXPECT_EQ(lists->list(elements)->RecordCount(), 2);
    settle();
    EXPECT_EQ(screen->notifications.size(), 1);
}

TEST_F(WindowManagerTest, OtherScreensOnTheSameListAreToldOfChanges)
{
    gather({1, 2});
    manager->OpenDetails(groups, groups, 1, QString(), RecordsetPtr());
    StandInScreen *first = lastScreen();
    manager->OpenDetails(groups, groups, 2, QString(), RecordsetPtr());
    StandInScreen *second = lastScreen();
    ASSERT_NE(first, second);

    emit second->RemoveItem(2);
    settle();
    EXPECT_EQ(first->notifications.size(), 1);
    EXPECT_EQ(second->notifications.size(), 1) << "one notification per change, not one per route";
}

TEST_F(WindowManagerTest, EveryWayOfClosingAsksTheScreenAndARefusalKeepsItOpen)
{
    manager->OpenDetails(groups, groups, 1, QString(), RecordsetPtr());
    QPointer<StandInScreen> screen = lastScreen();
    manager->OpenDetails(groups, groups, 2, QString(), RecordsetPtr());
    QPointer<StandInScreen> newer = lastScreen();
    ASSERT_TRUE(screen && newer && screen != newer);
    StandInScreen::allowClose = false;

    emit screen->Quit();
    settle();
    EXPECT_TRUE(screen);
    EXPECT_FALSE(manager->CloseScreen(screen));
    EXPECT_FALSE(area->subWindowList().constFirst()->close()); // the title bar's close button
    settle();
    EXPECT_FALSE(manager->CloseAll()); // stops at the first screen that refuses
    EXPECT_TRUE(screen && newer);
    EXPECT_EQ(StandInScreen::log.count("CanClose"), 4);
    EXPECT_FALSE(StandInScreen::log.contains("Deactivate"));

    StandInScreen::allowClose = true;
    StandInScreen::log.clear();
    emit screen->Quit();
    EXPECT_TRUE(screen) << "closed inside the handler that raised Quit";
    settle();
    EXPECT_FALSE(screen);
    EXPECT_EQ(StandInScreen::log, QStringList({"CanClose", "Deactivate"}));
    EXPECT_TRUE(manager->CloseAll());
    settle();
    EXPECT_FALSE(newer);
    EXPECT_TRUE(manager->Screens().isEmpty());
    EXPECT_TRUE(area->subWindowList().isEmpty());
}

TEST_F(WindowManagerTest, ScreensThatCannotBeCreatedAreReportedAndLeaveNothingBehind)
{
    ClassRegistry::instance().Unregister(DetailsClass);
    ui.queueAnswer(Answer::OK);
    ui.queueAnswer(Answer::OK);
    manager->OpenDetails(groups, groups, 1, QString(), RecordsetPtr());
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_TRUE(ui.boxes().constFirst().text.contains(DetailsClass)) << ui.boxes().constFirst().text.toStdString();
    EXPECT_EQ(ui.boxes().constFirst().icon, MsgIcon::Exclamation);

    ClassRegistry::instance().RegisterWidget<StandInScreen>(DetailsClass);
    StandInScreen::failInit = true;
    manager->NewDetails(groups, groups, "Element Group...");
    settle();
    ASSERT_EQ(ui.boxes().size(), 2);
    EXPECT_TRUE(ui.boxes().constLast().text.contains("The details could not start"));
    EXPECT_TRUE(area->subWindowList().isEmpty());
    EXPECT_TRUE(manager->Screens().isEmpty());
    EXPECT_FALSE(StandInScreen::log.contains("NewData -1"));

    // A bad view number is reported, not thrown.
    ui.queueAnswer(Answer::OK);
    EXPECT_NO_THROW(manager->OpenDetails(0, 99, 1, QString(), RecordsetPtr()));
    EXPECT_EQ(ui.boxes().size(), 3);
    EXPECT_TRUE(manager->Screens().isEmpty());

    // The manager is none the worse for it.
    StandInScreen::failInit = false;
    manager->OpenDetails(groups, groups, 1, QString(), RecordsetPtr());
    EXPECT_EQ(manager->Screens().size(), 1);
    EXPECT_EQ(ui.boxes().size(), 3);
}

TEST_F(WindowManagerTest, ViewsWithoutAnInstalledScreenShowTheRecordsReadOnly)
{
    // A group's members, as the element management command asks for them.
    const qint32 management = FindViewIndex(views, "ELM");
    manager->OpenDetails(groups, management, 1, "ELEMENT MANAGEMENT...", RecordsetPtr());
    auto *members = qobject_cast<RelatedRecordScreen *>(manager->ActiveScreen());
    ASSERT_NE(members, nullptr);
    EXPECT_EQ(members->rows()->RecordCount(), 6);
    ASSERT_NE(members->grid(), nullptr);
    EXPECT_FALSE(members->grid()->Editable());

    // One reference by its own id, as the references grid opens it.
    const qint32 references = FindViewIndex(views, "REF");
    manager->OpenDetails(references, references, 1, QString(), RecordsetPtr());
    auto *reference = qobject_cast<RelatedRecordScreen *>(manager->ActiveScreen());
    ASSERT_NE(reference, nullptr);
    EXPECT_EQ(reference->rows()->RecordCount(), 1);
    EXPECT_EQ(reference->grid(), nullptr);
    auto *code = reference->findChild<QLineEdit *>("txtREFERENCE_CODE");
    ASSERT_NE(code, nullptr);
    EXPECT_TRUE(code->isReadOnly());

    // Nothing to show: the caller is told, no empty window opens.
    EXPECT_FALSE(manager->OpenRelated("EGP", "REF", QString(), 88));
    EXPECT_FALSE(manager->OpenRelated("EGP", "XYZ", QString(), 1));
    EXPECT_EQ(area->subWindowList().size(), 2);
    // Closing a host screen asks nothing.
    EXPECT_TRUE(manager->CloseAll());
}

TEST_F(WindowManagerTest, RedrawPauseIsASwitchThatAnyResumeLifts)
{
    manager->OpenDetails(groups, groups, 1, QString(), RecordsetPtr());
    HostWindow *host = findHostWindow(lastScreen());
    ASSERT_NE(host, nullptr);
    host->SetMainGridRedraw(false);
    host->SetMainGridRedraw(false); // a merge that failed left its pause on; the next one pauses again
    EXPECT_EQ(redraws, QList<bool>({false}));
    host->SetMainGridRedraw(true);
    host->SetMainGridRedraw(true); // an unpaired resume changes nothing
    EXPECT_EQ(redraws, QList<bool>({false, true}));
}

} // namespace

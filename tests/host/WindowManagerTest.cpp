#include "host/WindowManager.h"
#include "host/RelatedRecordScreen.h"
#include "host/ViewCatalogue.h"
#include "host/WorkArea.h"
#include "host/WorkingLists.h"

#include "support/EngineDatabase.h"

#include "contracts/ClassRegistry.h"
#include "contracts/HostWindow.h"
#include "platform/Error.h"
#include "platform/FlexGrid.h"
#include "platform/ScriptedUiServices.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace talv;
using namespace talv::host;

namespace {

const QString DetailsClass = QStringLiteral("TALV_ELGroup.ELGroupDetails");

// A record screen as the host sees one: members by name, events as signals. It records what the
// host asked of it; the log outlives the control so that a closed screen can still be checked.
class RecordingDetails : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    static inline QStringList log;
    static inline bool failInit = false;
    static inline bool allowClose = true;

    RecordsetPtr list;
    qint32 workingListTypeAtInit = 0;
    QStringList notifications;

    Q_INVOKABLE void InitDetails(talv::RecordsetPtr rsView, talv::AppManager *, qint32 viewId, talv::WinMan *winMan,
                                 talv::ViewCollection *colViews, const QString &)
    {
        log << QStringLiteral("InitDetails %1").arg(viewId);
        list = rsView;
        workingListTypeAtInit = winMan->WorkingListType();
        if (!colViews || failInit)
            throw Error(Error::Generic, QStringLiteral("The details could not start"));
    }
    Q_INVOKABLE void LoadData(qint32 lngRecordID) { log << QStringLiteral("LoadData %1").arg(lngRecordID); }
    Q_INVOKABLE qint32 NewData(qint32 lngIDLocal)
    {
        log << QStringLiteral("NewData %1").arg(lngIDLocal);
        return 500;
    }
    Q_INVOKABLE bool CanClose()
    {
        log << QStringLiteral("CanClose");
        return allowClose;
    }
    Q_INVOKABLE void Deactivate() { log << QStringLiteral("Deactivate"); }
    Q_INVOKABLE void NotifyListChanges(const QString &strEvent) { notifications << strEvent; }

signals:
    void Quit();
    void UpdateList(qint32 lngID);
    void NewItem(qint32 lngID);
    void RemoveItem(qint32 lngID);
};

class WindowManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RecordingDetails::log.clear();
        RecordingDetails::failInit = false;
        RecordingDetails::allowClose = true;
        ClassRegistry::instance().RegisterWidget<RecordingDetails>(DetailsClass);

        std::string whyNot;
        db = test::EngineDatabase::create(Engine::SQLite, test::EngineDatabase::WithSample, &whyNot);
        ASSERT_TRUE(db) << whyNot;
        queries = std::make_unique<QueryService>(db->database().connection());
        lists = std::make_unique<WorkingLists>(views, *queries);
        area = std::make_unique<WorkArea>();
        area->setRedrawHandler([this](bool redraw) { redraws.append(redraw); });
        area->show();
        manager = std::make_unique<WindowManager>(*area, views, *lists, *queries);
        groups = FindViewIndex(views, QStringLiteral("EGP"));
    }

    void TearDown() override
    {
        manager.reset();
        area.reset();
        ClassRegistry::instance().Unregister(DetailsClass);
    }

    RecordingDetails *lastScreen() const
    {
        const QList<QWidget *> screens = manager->Screens();
        return screens.isEmpty() ? nullptr : qobject_cast<RecordingDetails *>(screens.last());
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

    void exec(const QString &sql)
    {
        QSqlQuery q(db->database().connection());
        ASSERT_TRUE(q.exec(sql)) << sql.toStdString();
    }

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
    manager->setCurrentView(FindViewIndex(views, QStringLiteral("ELE")));
    manager->OpenDetails(groups, groups, 2, QString(), RecordsetPtr());

    RecordingDetails *screen = lastScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(RecordingDetails::log, QStringList({QStringLiteral("InitDetails %1").arg(groups), "LoadData 2"}));
    // The host's own list, shared, not a copy.
    EXPECT_EQ(screen->list, lists->list(groups));
    // While it starts, the screen learns the kind of list it was handed, not the view on show.
    EXPECT_EQ(screen->workingListTypeAtInit, groups);
    EXPECT_EQ(manager->WorkingListType(), FindViewIndex(views, QStringLiteral("ELE")));
    EXPECT_EQ(area->subWindowList().size(), 1);
    EXPECT_EQ(area->activeSubWindow()->windowTitle(), QStringLiteral("Element Groups"));
    EXPECT_EQ(findHostWindow(screen), area.get());

    manager->NewDetails(groups, groups, QStringLiteral("Element Group..."));
    EXPECT_EQ(RecordingDetails::log.last(), QStringLiteral("NewData -1"));
    EXPECT_EQ(lastScreen()->list, lists->list(groups));
    EXPECT_EQ(area->activeSubWindow()->windowTitle(), QStringLiteral("Element Group..."));
    EXPECT_TRUE(ui.boxes().isEmpty());
}

TEST_F(WindowManagerTest, SingleRecordViewAndGivenListsAreHandedInsteadOfTheWorkingList)
{
    gather({1});
    manager->OpenDetails(groups, groups, 4, WindowManager::SingleRecordView, RecordsetPtr());
    RecordingDetails *single = lastScreen();
    ASSERT_NE(single, nullptr);
    ASSERT_NE(single->list, lists->list(groups));
    ASSERT_EQ(single->list->RecordCount(), 1);
    EXPECT_EQ(single->list->Value(QStringLiteral("ID")).toInt(), 4);
    EXPECT_EQ(single->list->Value(QStringLiteral("Group_Name")).toString(),
              QStringLiteral("Snowbed and Fellfield Plants of the Beartooth Plateau"));

    auto own = std::make_shared<Recordset>(*lists->list(groups));
    manager->OpenDetails(groups, groups, 1, QStringLiteral("Group 1"), own);
    ASSERT_NE(lastScreen(), single);
    EXPECT_EQ(lastScreen()->list, own);
    EXPECT_EQ(area->activeSubWindow()->windowTitle(), QStringLiteral("Group 1"));
    EXPECT_EQ(listIds(), QList<qint32>({1})); // the working list itself is untouched
}

TEST_F(WindowManagerTest, UpdateListRereadsTheRowKeepsTheCursorAndNotifiesTheScreen)
{
    gather({1, 2, 3});
    manager->OpenDetails(groups, groups, 2, QString(), RecordsetPtr());
    RecordingDetails *screen = lastScreen();
    ASSERT_NE(screen, nullptr);
    RecordsetPtr list = lists->list(groups);
    list->MoveFirst();
    list->Find(QStringLiteral("ID = 3"));

    exec(QStringLiteral("UPDATE element_group SET element_group_name = 'Renamed Group' WHERE element_group_id = 2"));
    emit screen->UpdateList(2);
    EXPECT_EQ(listValue(2, QStringLiteral("Group_Name")), QStringLiteral("Renamed Group"));
    EXPECT_EQ(list->Value(QStringLiteral("ID")).toInt(), 3) << "the screen's place in the list moved";
    EXPECT_TRUE(screen->notifications.isEmpty()) << "notified while still inside its own handler";
    settle();
    EXPECT_EQ(screen->notifications.size(), 1);

    // A saved new record joins the list it was made on.
    emit screen->UpdateList(7);
    EXPECT_EQ(listIds(), QList<qint32>({1, 2, 3, 7}));
}

TEST_F(WindowManagerTest, NewItemAppendsAndRemoveItemRemovesRows)
{
    gather({1, 2, 3});
    manager->OpenDetails(groups, groups, 1, QString(), RecordsetPtr());
    RecordingDetails *screen = lastScreen();
    ASSERT_NE(screen, nullptr);

    emit screen->NewItem(9);
    emit screen->NewItem(9);
    EXPECT_EQ(listIds(), QList<qint32>({1, 2, 3, 9})) << "a record is listed once";
    emit screen->RemoveItem(2);
    EXPECT_EQ(listIds(), QList<qint32>({1, 3, 9}));
    emit screen->RemoveItem(42); // not in the list: nothing to do
    EXPECT_EQ(listIds(), QList<qint32>({1, 3, 9}));

    // A record deleted behind the list's back leaves it when a screen announces it.
    exec(QStringLiteral("DELETE FROM element_group WHERE element_group_id = 3"));
    emit screen->UpdateList(3);
    EXPECT_EQ(listIds(), QList<qint32>({1, 9}));
    EXPECT_TRUE(ui.boxes().isEmpty());
}

TEST_F(WindowManagerTest, AScreenOnItsOwnRecordsUpdatesButNeverGrowsTheWorkingList)
{
    gather({1});
    manager->OpenDetails(groups, groups, 5, WindowManager::SingleRecordView, RecordsetPtr());
    RecordingDetails *screen = lastScreen();
    ASSERT_NE(screen, nullptr);
    emit screen->UpdateList(5);
    EXPECT_EQ(listIds(), QList<qint32>({1}));

    exec(QStringLiteral("UPDATE element_group SET element_group_name = 'Seen Elsewhere' WHERE element_group_id = 1"));
    emit screen->UpdateList(1);
    EXPECT_EQ(listValue(1, QStringLiteral("Group_Name")), QStringLiteral("Seen Elsewhere"));
}

TEST_F(WindowManagerTest, AGroupScreenOnAnElementListNeverWritesGroupIdsIntoIt)
{
    const qint32 elements = FindViewIndex(views, QStringLiteral("ELE"));
    lists->refreshRecord(elements, 1, true);
    lists->refreshRecord(elements, 2, true);
    manager->OpenDetails(elements, groups, 2, QString(), RecordsetPtr());
    RecordingDetails *screen = lastScreen();
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
    RecordingDetails *first = lastScreen();
    manager->OpenDetails(groups, groups, 2, QString(), RecordsetPtr());
    RecordingDetails *second = lastScreen();
    ASSERT_NE(first, second);

    emit second->RemoveItem(2);
    settle();
    EXPECT_EQ(first->notifications.size(), 1);
    EXPECT_EQ(second->notifications.size(), 1) << "one notification per change, not one per route";
}

TEST_F(WindowManagerTest, QuitClosesTheScreenAfterAskingIt)
{
    manager->OpenDetails(groups, groups, 1, QString(), RecordsetPtr());
    QPointer<RecordingDetails> screen = lastScreen();
    ASSERT_TRUE(screen);
    RecordingDetails::log.clear();

    emit screen->Quit();
    EXPECT_TRUE(screen) << "closed inside the handler that raised Quit";
    settle();
    EXPECT_FALSE(screen);
    EXPECT_TRUE(manager->Screens().isEmpty());
    EXPECT_TRUE(area->subWindowList().isEmpty());
    EXPECT_EQ(RecordingDetails::log, QStringList({"CanClose", "Deactivate"}));
}

TEST_F(WindowManagerTest, AScreenThatRefusesToCloseStaysOpenWhicheverWayItIsClosed)
{
    manager->OpenDetails(groups, groups, 1, QString(), RecordsetPtr());
    QPointer<RecordingDetails> screen = lastScreen();
    ASSERT_TRUE(screen);
    RecordingDetails::allowClose = false;

    emit screen->Quit();
    settle();
    EXPECT_TRUE(screen);
    EXPECT_FALSE(manager->CloseScreen(screen));
    EXPECT_FALSE(area->subWindowList().constFirst()->close()); // the title bar's close button
    settle();
    EXPECT_FALSE(manager->CloseAll());
    EXPECT_TRUE(screen);
    EXPECT_EQ(RecordingDetails::log.count(QStringLiteral("CanClose")), 4);
    EXPECT_FALSE(RecordingDetails::log.contains(QStringLiteral("Deactivate")));

    RecordingDetails::allowClose = true;
    EXPECT_TRUE(manager->CloseAll());
    settle();
    EXPECT_FALSE(screen);
}

TEST_F(WindowManagerTest, CloseAllStopsAtTheFirstScreenThatRefuses)
{
    manager->OpenDetails(groups, groups, 1, QString(), RecordsetPtr());
    QPointer<RecordingDetails> older = lastScreen();
    manager->OpenDetails(groups, groups, 2, QString(), RecordsetPtr());
    QPointer<RecordingDetails> newer = lastScreen();
    RecordingDetails::allowClose = false;
    EXPECT_FALSE(manager->CloseAll());
    settle();
    EXPECT_TRUE(older);
    EXPECT_TRUE(newer);
    EXPECT_EQ(RecordingDetails::log.count(QStringLiteral("CanClose")), 1);
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

    ClassRegistry::instance().RegisterWidget<RecordingDetails>(DetailsClass);
    RecordingDetails::failInit = true;
    manager->NewDetails(groups, groups, QStringLiteral("Element Group..."));
    settle();
    ASSERT_EQ(ui.boxes().size(), 2);
    EXPECT_TRUE(ui.boxes().constLast().text.contains(QStringLiteral("The details could not start")));
    EXPECT_TRUE(area->subWindowList().isEmpty());
    EXPECT_TRUE(manager->Screens().isEmpty());
    EXPECT_FALSE(RecordingDetails::log.contains(QStringLiteral("NewData -1")));

    // The manager is none the worse for it.
    RecordingDetails::failInit = false;
    manager->OpenDetails(groups, groups, 1, QString(), RecordsetPtr());
    EXPECT_EQ(manager->Screens().size(), 1);
    EXPECT_EQ(ui.boxes().size(), 2);
}

TEST_F(WindowManagerTest, ABadViewNumberIsReportedNotThrown)
{
    ui.queueAnswer(Answer::OK);
    EXPECT_NO_THROW(manager->OpenDetails(0, 99, 1, QString(), RecordsetPtr()));
    EXPECT_EQ(ui.boxes().size(), 1);
    EXPECT_TRUE(manager->Screens().isEmpty());
}

TEST_F(WindowManagerTest, ViewsWithoutAnInstalledScreenShowTheRecordsReadOnly)
{
    // A group's members, as the element management command asks for them.
    const qint32 management = FindViewIndex(views, QStringLiteral("ELM"));
    manager->OpenDetails(groups, management, 1, QStringLiteral("ELEMENT MANAGEMENT..."), RecordsetPtr());
    auto *members = qobject_cast<RelatedRecordScreen *>(manager->ActiveScreen());
    ASSERT_NE(members, nullptr);
    EXPECT_EQ(members->rows()->RecordCount(), 6);
    ASSERT_NE(members->grid(), nullptr);
    EXPECT_FALSE(members->grid()->Editable());

    // One reference by its own id, as the references grid opens it.
    const qint32 references = FindViewIndex(views, QStringLiteral("REF"));
    manager->OpenDetails(references, references, 1, QString(), RecordsetPtr());
    auto *reference = qobject_cast<RelatedRecordScreen *>(manager->ActiveScreen());
    ASSERT_NE(reference, nullptr);
    EXPECT_EQ(reference->rows()->RecordCount(), 1);
    EXPECT_EQ(reference->grid(), nullptr);
    auto *code = reference->findChild<QLineEdit *>(QStringLiteral("txtREFERENCE_CODE"));
    ASSERT_NE(code, nullptr);
    EXPECT_TRUE(code->isReadOnly());

    // Nothing to show: the caller is told, no empty window opens.
    EXPECT_FALSE(manager->OpenRelated(QStringLiteral("EGP"), QStringLiteral("REF"), QString(), 88));
    EXPECT_FALSE(manager->OpenRelated(QStringLiteral("EGP"), QStringLiteral("XYZ"), QString(), 1));
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

#include "WindowManagerTest.moc"

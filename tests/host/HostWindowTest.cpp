#include "host/MainWindow.h"
#include "host/ReferenceAppManager.h"
#include "host/RelatedRecordScreen.h"
#include "search/SearchScreens.h"

#include "clients/ClientClasses.h"
#include "support/EngineDatabase.h"
#include "support/StandInScreen.h"

#include "contracts/ClassRegistry.h"
#include "contracts/HostWindow.h"
#include "contracts/Names.h"
#include "platform/FlexGrid.h"
#include "platform/ScriptedUiServices.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace talv;
using namespace talv::host;
using test::StandInScreen;

namespace {

const QString DetailsClass = QStringLiteral("TALV_ELGroup.ELGroupDetails");

// The main window on a SQLite sample database, `ecarter` logged in, the stand-in screen
// installed as the group details and a scripted user answering the message boxes.
class HostWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StandInScreen::reset();
        ClassRegistry::instance().RegisterWidget<StandInScreen>(DetailsClass);
        TALV_OPEN_ENGINE_DATABASE(sample, Engine::SQLite, test::EngineDatabase::WithSample);
        db = std::move(sample);
        session = std::make_unique<HostSession>(db->openAnother(), "ecarter");
        appManager = std::make_unique<ReferenceAppManager>(*session);
        window = std::make_unique<MainWindow>(*session, appManager->views());
        window->setAppManager(appManager.get());
        appManager->setWindowServices(window.get());
        window->show();
        groups = view("EGP");
    }

    void TearDown() override
    {
        StandInScreen::reset();
        window.reset();
        ClassRegistry::instance().Unregister(DetailsClass);
        ClassRegistry::instance().Unregister(names::SearchClass);
    }

    qint32 view(const char *code) { return FindViewIndex(appManager->views(), QString::fromLatin1(code)); }
    WindowManager &screens() { return window->windowManager(); }
    RecordsetPtr list(qint32 position) { return window->workingLists().list(position); }
    QList<QMdiSubWindow *> subWindows() const { return window->workArea()->subWindowList(); }

    // Opens the details of `id` on the group working list; the new stand-in screen.
    StandInScreen *open(qint32 id, const QString &caption = {}, RecordsetPtr own = {})
    {
        screens().OpenDetails(groups, groups, id, caption, own);
        return StandInScreen::last;
    }

    void gather(qint32 position, std::initializer_list<qint32> all)
    {
        for (const qint32 id : all)
            window->workingLists().refreshRecord(position, id, true);
    }

    // The IDs of a working list in list order.
    QList<qint32> ids(qint32 position)
    {
        QList<qint32> all;
        for (qsizetype row = 0; row < list(position)->RecordCount(); ++row)
            all.append(list(position)->ValueAt(row, 0).toInt());
        return all;
    }

    void exec(const QString &sql) { test::rowsOf(db->database().connection(), sql); }

    void trigger(const char *actionName)
    {
        auto *action = window->findChild<QAction *>(QString::fromLatin1(actionName));
        ASSERT_NE(action, nullptr) << actionName;
        action->trigger();
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
    std::unique_ptr<HostSession> session;
    std::unique_ptr<ReferenceAppManager> appManager;
    std::unique_ptr<MainWindow> window;
    qint32 groups = -1;
};

TEST_F(HostWindowTest, DetailsGetTheSharedWorkingListASingleRecordOrTheCallersList)
{
    gather(groups, {1, 2, 3});
    window->showView(view("ELE"));
    StandInScreen *screen = open(2);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(StandInScreen::log, QStringList({QStringLiteral("InitDetails %1").arg(groups), "LoadData 2"}));
    EXPECT_EQ(screen->list, list(groups)) << "the host's own list, not a copy";
    // While it starts, the screen learns the kind of list it was handed, not the view on show.
    EXPECT_EQ(screen->workingListTypeAtInit, groups);
    EXPECT_EQ(screens().WorkingListType(), view("ELE"));

    screens().NewDetails(groups, groups, "Element Group...");
    EXPECT_EQ(StandInScreen::log.last(), "NewData -1");
    EXPECT_EQ(StandInScreen::last->list, list(groups));

    StandInScreen *single = open(4, names::SingleRecordView);
    ASSERT_EQ(single->list->RecordCount(), 1);
    EXPECT_EQ(single->list->Value(QStringLiteral("ID")).toInt(), 4);
    emit single->UpdateList(4); // a screen on its own record never grows the working list
    auto own = std::make_shared<Recordset>(*list(groups));
    EXPECT_EQ(open(1, "Group 1", own)->list, own);
    EXPECT_EQ(ids(groups), QList<qint32>({1, 2, 3}));
    EXPECT_TRUE(ui.boxes().isEmpty());
}

TEST_F(HostWindowTest, ScreenEventsRereadAppendAndRemoveListRowsAndNotifyEveryScreenOnce)
{
    gather(groups, {1, 2, 3});
    StandInScreen *other = open(1);
    StandInScreen *screen = open(2);
    ASSERT_TRUE(other && screen && other != screen);
    RecordsetPtr rows = list(groups);
    rows->MoveFirst();
    rows->Find(QStringLiteral("ID = 3"));

    exec("UPDATE element_group SET element_group_name = 'Renamed Group' WHERE element_group_id = 2");
    emit screen->UpdateList(2);
    EXPECT_EQ(rows->ValueAt(1, rows->FieldIndex(QStringLiteral("Group_Name"))).toString(), "Renamed Group");
    EXPECT_EQ(rows->Value(QStringLiteral("ID")).toInt(), 3) << "the screen's place in the list moved";
    EXPECT_TRUE(screen->notifications.isEmpty()) << "notified while still inside its own handler";
    settle();
    EXPECT_EQ(screen->notifications.size(), 1);
    EXPECT_EQ(other->notifications.size(), 1);

    // A saved new record joins the list it was made on, once.
    emit screen->UpdateList(7);
    emit screen->NewItem(9);
    emit screen->NewItem(9);
    EXPECT_EQ(ids(groups), QList<qint32>({1, 2, 3, 7, 9}));
    emit screen->RemoveItem(2);
    emit screen->RemoveItem(42); // not in the list: nothing to do
    // A record deleted behind the list's back leaves it when a screen announces it.
    exec("DELETE FROM element_group WHERE element_group_id = 3");
    emit screen->UpdateList(3);
    EXPECT_EQ(ids(groups), QList<qint32>({1, 7, 9}));
    settle();
    EXPECT_EQ(other->notifications.size(), 2) << "one notification per round of changes";
    EXPECT_TRUE(ui.boxes().isEmpty());
}

TEST_F(HostWindowTest, AGroupScreenOnAnElementListNeverWritesGroupIdsIntoIt)
{
    const qint32 elements = view("ELE");
    gather(elements, {1, 2});
    screens().OpenDetails(elements, groups, 2, QString(), RecordsetPtr());
    ASSERT_NE(StandInScreen::last, nullptr);
    EXPECT_EQ(StandInScreen::last->list, list(elements));
    emit StandInScreen::last->UpdateList(5); // group 5 saved; element 5 is not in the list and must not join it
    emit StandInScreen::last->RemoveItem(1); // group 1 deleted; element 1 stays
    EXPECT_EQ(ids(elements), QList<qint32>({1, 2}));
}

TEST_F(HostWindowTest, EveryWayOfClosingAsksTheScreensAndARefusalKeepsThemOpen)
{
    QPointer<StandInScreen> screen = open(1);
    QPointer<StandInScreen> newer = open(2);
    ASSERT_TRUE(screen && newer && screen != newer);
    StandInScreen::allowClose = false;
    emit screen->Quit();
    settle();
    EXPECT_FALSE(screens().CloseScreen(screen));
    EXPECT_FALSE(subWindows().constFirst()->close()); // the title bar's close button
    EXPECT_FALSE(screens().CloseAll());               // stops at the first screen that refuses
    EXPECT_FALSE(window->close());
    settle();
    EXPECT_TRUE(screen && newer && window->isVisible());
    EXPECT_EQ(StandInScreen::log.count("CanClose"), 5);
    EXPECT_FALSE(StandInScreen::log.contains("Deactivate"));

    StandInScreen::allowClose = true;
    emit screen->Quit();
    EXPECT_TRUE(screen) << "closed inside the handler that raised Quit";
    settle();
    EXPECT_FALSE(screen);
    EXPECT_EQ(StandInScreen::log.mid(StandInScreen::log.size() - 2), QStringList({"CanClose", "Deactivate"}));
    EXPECT_TRUE(window->close());
    settle();
    EXPECT_FALSE(newer);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(HostWindowTest, ScreensThatCannotBeCreatedAreReportedAndLeaveNothingBehind)
{
    ClassRegistry::instance().Unregister(DetailsClass);
    for (int i = 0; i < 3; ++i)
        ui.queueAnswer(Answer::OK);
    open(1);
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_TRUE(ui.boxes().constFirst().text.contains(DetailsClass)) << ui.boxes().constFirst().text.toStdString();

    ClassRegistry::instance().RegisterWidget<StandInScreen>(DetailsClass);
    StandInScreen::failInit = true;
    screens().NewDetails(groups, groups, "Element Group...");
    settle();
    EXPECT_TRUE(ui.boxes().constLast().text.contains("The details could not start"));
    EXPECT_FALSE(StandInScreen::log.contains("NewData -1"));
    EXPECT_NO_THROW(screens().OpenDetails(0, 99, 1, QString(), RecordsetPtr())); // a bad view is reported
    EXPECT_EQ(ui.boxes().size(), 3);
    EXPECT_TRUE(subWindows().isEmpty());

    StandInScreen::failInit = false;
    open(1);
    EXPECT_EQ(screens().Screens().size(), 1) << "the manager is none the worse for it";
}

TEST_F(HostWindowTest, ViewsWithoutAnInstalledScreenShowTheRecordsReadOnly)
{
    // A group's members, as the element management command asks for them.
    screens().OpenDetails(groups, view("ELM"), 1, "ELEMENT MANAGEMENT...", RecordsetPtr());
    auto *members = qobject_cast<RelatedRecordScreen *>(screens().ActiveScreen());
    ASSERT_TRUE(members && members->grid());
    EXPECT_TRUE(members->rows()->RecordCount() == 6 && !members->grid()->Editable());

    // One reference by its own id, as the references grid opens it.
    screens().OpenDetails(view("REF"), view("REF"), 1, QString(), RecordsetPtr());
    auto *code = screens().ActiveScreen()->findChild<QLineEdit *>("txtREFERENCE_CODE");
    ASSERT_NE(code, nullptr);
    EXPECT_TRUE(code->isReadOnly());

    // A group's references, as the screens ask the application manager for them.
    qint32 group = 1;
    EXPECT_TRUE(appManager->OpenRelatedDetail("EGP", "REF", "References...", group));
    auto *references = qobject_cast<RelatedRecordScreen *>(screens().ActiveScreen());
    ASSERT_NE(references, nullptr);
    EXPECT_EQ(references->rows()->RecordCount(), 2);
    // Nothing to show: the caller is told, no empty window opens.
    EXPECT_FALSE(screens().OpenRelated("EGP", "REF", QString(), 88));
    EXPECT_FALSE(screens().OpenRelated("EGP", "XYZ", QString(), 1));
    EXPECT_EQ(subWindows().size(), 3);
    EXPECT_TRUE(screens().CloseAll()) << "closing a host screen asks nothing";
}

TEST_F(HostWindowTest, TheSearchMergesIntoTheGroupListAndTheGridFollowsAfterThePause)
{
    ClassRegistry::instance().RegisterWidget<StandInScreen>(names::SearchClass);
    trigger("mnuViewELE");
    trigger("mnuToolsFindElementGroup");
    ASSERT_TRUE(StandInScreen::last);
    StandInScreen &search = *StandInScreen::last;
    EXPECT_EQ(window->currentView(), groups);
    EXPECT_EQ(search.list, list(groups));

    HostWindow *host = findHostWindow(&search);
    ASSERT_NE(host, nullptr);
    host->SetMainGridRedraw(false);
    host->SetMainGridRedraw(false); // a merge that failed left its pause on; the next one pauses again
    EXPECT_FALSE(window->workingListGrid()->Redraw());
    search.list->AppendRowsFrom(*appManager->CallGetQueryRSXML("SELECT * FROM ELGroup_WL_VW WHERE ID = 3"));
    host->SetMainGridRedraw(true);
    EXPECT_TRUE(window->workingListGrid()->Redraw()) << "a pause is a switch, not a count";
    EXPECT_EQ(window->workingListGrid()->TextMatrix(1, 0), "3");
    auto *status = window->findChild<QLabel *>("lblStatusListSize");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text(), "Element Groups: 1 record");
}

TEST_F(HostWindowTest, TheListOpensTheRecordUnderTheCursorAndForgetsSelectedRows)
{
    window->workingLists().addAllRecords(groups);
    FlexGrid *grid = window->workingListGrid();
    grid->Select(2, 0);
    trigger("mnuViewOpenRecord");
    ASSERT_TRUE(StandInScreen::last);
    EXPECT_EQ(StandInScreen::last->loaded, 2);

    grid->Select(1, 0, 3, 0);
    trigger("mnuViewRemoveFromList");
    EXPECT_EQ(list(groups)->RecordCount(), 157);
    EXPECT_EQ(grid->TextMatrix(1, 0), "4");
}

TEST_F(HostWindowTest, ThePopupEditorWritesBackOnlyWhereTheGridAllowsEditing)
{
    FlexGrid grid;
    grid.SetCols(2);
    grid.SetRows(2);
    grid.SetEditable(true);
    grid.Select(1, 1);
    QSignalSpy afterEdit(&grid, &FlexGrid::AfterEdit);
    const auto type = [&](const QString &text, bool readOnly) {
        ui.queueDialog([=](QDialog &dialog) {
            auto *editor = dialog.findChild<QPlainTextEdit *>("txtCellText");
            ASSERT_NE(editor, nullptr);
            EXPECT_EQ(editor->isReadOnly(), readOnly);
            editor->setPlainText(text);
            dialog.accept();
        });
        appManager->PopupEdit(&grid);
    };
    type("first line\nsecond line", false);
    EXPECT_EQ(grid.TextMatrix(1, 1), "first line\nsecond line");
    // A screen that refuses the edit gets a read-only editor.
    QObject::connect(&grid, &FlexGrid::BeforeEdit, [](int, int, bool &cancel) { cancel = true; });
    type("ignored", true);
    EXPECT_EQ(grid.TextMatrix(1, 1), "first line\nsecond line");
    EXPECT_EQ(afterEdit.count(), 1);
}

// ... with the window active, so that keys go where a user's keys would.
class HostWindowKeysTest : public HostWindowTest
{
protected:
    void SetUp() override
    {
        HostWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        search::RegisterSearchScreens();
        clients::registerClientClasses();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // The search screen, opened from the Tools menu, with the focus in its group name.
    QWidget *openSearch()
    {
        trigger("mnuToolsFindElementGroup");
        QWidget *search = screens().ActiveScreen();
        EXPECT_NE(search, nullptr);
        if (search)
            search->findChild<QLineEdit *>("txtGroupName")->setFocus();
        return search;
    }
    QStringList mainMenuTitles() const
    {
        QStringList titles;
        for (const QAction *title : window->menuBar()->actions())
            titles << title->text();
        return titles;
    }
    QList<int> helpTopics() const
    {
        QList<int> topics;
        for (const auto &request : ui.helpRequests())
            topics << request.topicId;
        return topics;
    }
};

TEST_F(HostWindowKeysTest, F1OpensTheHelpOfTheFieldTheUserIsIn)
{
    ASSERT_NE(open(1), nullptr);
    // The stand-in names no field of its own: its screen's topic.
    QTest::keyClick(StandInScreen::last->field, Qt::Key_F1);
    window->workingListGrid()->setFocus();
    QTest::keyClick(window->workingListGrid(), Qt::Key_F1);
    EXPECT_EQ(helpTopics(), (QList<int>{200, 0}));
    EXPECT_EQ(ui.helpRequests().first().helpFile, appManager->HelpFile());

    // The search's own Help command, though its toolbar took the focus on the way.
    QWidget *search = openSearch();
    ASSERT_NE(search, nullptr);
    QTest::mouseClick(search->findChild<QToolButton *>("Help"), Qt::LeftButton);
    EXPECT_EQ(helpTopics().last(), 111);
    EXPECT_TRUE(ui.boxes().isEmpty());
}

TEST_F(HostWindowKeysTest, AltKeysInAScreenOpenItsOwnMenusAndPressItsOwnButtons)
{
    const QStringList titles{"&File", "&View", "&Tools", "&Window", "&Help"};
    ASSERT_EQ(mainMenuTitles(), titles);
    QWidget *search = openSearch();
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(mainMenuTitles(), (QStringList{"File", "&View", "&Tools", "Window", "Help"}));

    QLineEdit *name = search->findChild<QLineEdit *>("txtGroupName");
    const auto opened = [&](QKeyCombination keys) {
        QTest::keyClick(name, keys.key(), keys.keyboardModifiers());
        QStringList shown;
        for (QMenu *menu : window->findChildren<QMenu *>()) {
            if (menu->isVisible())
                shown << (search->isAncestorOf(menu->parentWidget()) ? "search:" : "main:") + menu->objectName();
            menu->hide();
        }
        name->setFocus();
        return shown;
    };
    EXPECT_EQ(opened(Qt::ALT | Qt::Key_F), QStringList{"search:mnuFile"});
    EXPECT_EQ(opened(Qt::ALT | Qt::Key_H), QStringList{"search:mnuHelp"});
    // Where the screen answers nothing, the main window's key still works.
    EXPECT_EQ(opened(Qt::ALT | Qt::Key_V), QStringList{"main:mnuView"});

    // "Ne&w..." opens a new record screen, and the search goes as New always does.
    QPointer<QWidget> closing = search;
    QTest::keyClick(name, Qt::Key_W, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return StandInScreen::log.contains("NewData -1"); }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return closing.isNull(); }, 2000));
    window->workingListGrid()->setFocus();
    EXPECT_EQ(mainMenuTitles(), titles);
}

TEST_F(HostWindowKeysTest, F9ShowsTheSystemControlEntryOfTheFieldTheUserIsIn)
{
    ASSERT_NE(open(1), nullptr);
    ui.queueAnswer(Answer::OK);
    QTest::keyClick(StandInScreen::last->field, Qt::Key_F9);
    ASSERT_EQ(ui.boxes().size(), 1);
    // The entry's wording is the application manager's; the window's part is to name the field.
    EXPECT_TRUE(ui.boxes().first().text.contains("Control: ctrGroupName")) << ui.boxes().first().text.toStdString();
}

TEST_F(HostWindowTest, TheWorkingListGivesItsSpareWidthToTheNameAndTheEmptyAreaSaysWhereToBegin)
{
    const QImage hinted = window->workArea()->grab().toImage();
    EXPECT_TRUE(window->workArea()->emptyHint().contains("Find Element Group... (Ctrl+F)"))
        << window->workArea()->emptyHint().toStdString();
    window->workArea()->setEmptyHint({});
    EXPECT_NE(window->workArea()->grab().toImage(), hinted);

    window->resize(2400, 800);
    window->findChild<QSplitter *>("splMain")->setSizes({1600, 800});
    gather(groups, {1, 2, 3});
    window->showView(view("ELE"));
    window->showView(groups);
    FlexGrid *grid = window->workingListGrid();
    ASSERT_EQ(grid->Cols(), 3);
    EXPECT_GT(grid->ColWidth(1), grid->ColWidth(2) * 2) << "the name, not the type, takes the room";
    EXPECT_GE(grid->ColWidth(0) + grid->ColWidth(1) + grid->ColWidth(2), grid->viewport()->width());
}

TEST_F(HostWindowTest, TheStatusBarTellsWhoeverCanChangeNothing)
{
    // "read-only" and why, or nothing for a user who may write.
    const auto access = [](HostSession &s) {
        ReferenceAppManager manager(s);
        const MainWindow w(s, manager.views());
        const auto *label = w.findChild<QLabel *>("lblStatusAccess");
        return label->isVisibleTo(&w) ? label->text() + " (" + label->toolTip() + ")" : QString();
    };
    EXPECT_EQ(access(*session), "");
    HostSession reader(db->openAnother(), "jbrandt");
    EXPECT_EQ(access(reader), "read-only (Your rights in this database allow reading only.)");
    ConnectionOptions file = db->options();
    file.readOnly = true;
    HostSession fileReader(Database::open(file), "ecarter");
    EXPECT_EQ(access(fileReader),
              "read-only (You may read this database file but not write to it, so it is open for reading only.)");
}

} // namespace

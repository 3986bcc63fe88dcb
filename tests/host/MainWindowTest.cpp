#include "host/MainWindow.h"
#include "host/HostSession.h"
#include "host/ReferenceAppManager.h"
#include "host/RelatedRecordScreen.h"

#include "support/EngineDatabase.h"
#include "support/StandInScreen.h"

#include "contracts/ClassRegistry.h"
#include "contracts/HostWindow.h"
#include "platform/FlexGrid.h"
#include "platform/ScriptedUiServices.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTextBrowser>

#include <gtest/gtest.h>

using namespace talv;
using namespace talv::host;

namespace {

const QString DetailsClass = "TALV_ELGroup.ELGroupDetails";

using test::StandInScreen;

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StandInScreen::reset();
        ClassRegistry::instance().RegisterWidget<StandInScreen>(DetailsClass);
        std::string whyNot;
        db = test::EngineDatabase::create(Engine::SQLite, test::EngineDatabase::WithSample, &whyNot);
        ASSERT_TRUE(db) << whyNot;
        session = std::make_unique<HostSession>(db->openAnother(), "ecarter");
        appManager = std::make_unique<ReferenceAppManager>(*session);
        window = std::make_unique<MainWindow>(*session, appManager->views());
        window->setAppManager(appManager.get());
        appManager->setWindowServices(window.get());
        window->show();
        groups = FindViewIndex(appManager->views(), "EGP");
    }

    void TearDown() override
    {
        StandInScreen::reset();
        window.reset();
        appManager.reset();
        ClassRegistry::instance().Unregister(DetailsClass);
        ClassRegistry::instance().Unregister(MainWindow::SearchClass);
    }

    void trigger(const char *actionName)
    {
        auto *action = window->findChild<QAction *>(QString::fromLatin1(actionName));
        ASSERT_NE(action, nullptr) << actionName;
        action->trigger();
    }

    QString label(const char *name) const
    {
        auto *found = window->findChild<QLabel *>(QString::fromLatin1(name));
        return found ? found->text() : QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
    }

    ScriptedUiServices ui;
    ScopedUiServices scopedUi{ui};
    std::unique_ptr<test::EngineDatabase> db;
    std::unique_ptr<HostSession> session;
    std::unique_ptr<ReferenceAppManager> appManager;
    std::unique_ptr<MainWindow> window;
    qint32 groups = -1;
};

TEST_F(MainWindowTest, TheStatusBarShowsDatabaseUserAndTheListOnShow)
{
    EXPECT_TRUE(label("lblStatusServer").contains(session->serverName()));
    EXPECT_TRUE(label("lblStatusUser").contains("ecarter"));
    EXPECT_TRUE(label("lblStatusListSize").contains("Element Groups: 0 record"));

    trigger("mnuViewAddAll");
    EXPECT_TRUE(label("lblStatusListSize").contains("160 records")) << label("lblStatusListSize").toStdString();
    EXPECT_EQ(window->workingListGrid()->Rows(), 161);
    EXPECT_EQ(label("lblWorkingList"), "Working list: 160 records");

    trigger("mnuViewREF");
    EXPECT_EQ(window->currentView(), FindViewIndex(appManager->views(), "REF"));
    EXPECT_TRUE(label("lblStatusListSize").contains("References: 0 record"));
    EXPECT_EQ(window->workingListGrid()->TextMatrix(0, 1), "Reference Code");
}

TEST_F(MainWindowTest, FindElementGroupSaysSoWhileTheSearchIsNotInstalled)
{
    ui.queueAnswer(Answer::OK);
    trigger("mnuToolsFindElementGroup");
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_TRUE(ui.boxes().constFirst().text.contains("not available"));
    EXPECT_TRUE(window->windowManager().Screens().isEmpty());
}

TEST_F(MainWindowTest, TheSearchMergesIntoTheGroupListAndTheGridFollowsAfterThePause)
{
    ClassRegistry::instance().RegisterWidget<StandInScreen>(MainWindow::SearchClass);
    trigger("mnuViewELE");
    trigger("mnuToolsFindElementGroup");
    ASSERT_TRUE(StandInScreen::last);
    StandInScreen &search = *StandInScreen::last;
    EXPECT_EQ(window->currentView(), groups);
    EXPECT_EQ(search.list, window->workingLists().list(groups));
    EXPECT_EQ(search.appManager, appManager.get());

    HostWindow *host = findHostWindow(&search);
    ASSERT_NE(host, nullptr);
    host->SetMainGridRedraw(false);
    EXPECT_FALSE(window->workingListGrid()->Redraw());
    search.list->AppendRowsFrom(*appManager->CallGetQueryRSXML("SELECT * FROM ELGroup_WL_VW WHERE ID = 3"));
    host->SetMainGridRedraw(true);
    EXPECT_TRUE(window->workingListGrid()->Redraw());
    EXPECT_EQ(window->workingListGrid()->Rows(), 2);
    EXPECT_EQ(window->workingListGrid()->TextMatrix(1, 0), "3");
    EXPECT_EQ(label("lblStatusListSize"), "Element Groups: 1 record");
    EXPECT_EQ(label("lblWorkingList"), "Working list: 1 record");
}

TEST_F(MainWindowTest, TheListOpensTheRecordUnderTheCursorAndForgetsSelectedRows)
{
    window->workingLists().addAllRecords(groups);
    FlexGrid *grid = window->workingListGrid();
    grid->Select(2, 0);
    trigger("mnuViewOpenRecord");
    ASSERT_TRUE(StandInScreen::last);
    EXPECT_EQ(StandInScreen::last->loaded, 2);
    EXPECT_EQ(StandInScreen::last->list, window->workingLists().list(groups));

    grid->Select(1, 0, 3, 0);
    trigger("mnuViewRemoveFromList");
    EXPECT_EQ(window->workingLists().list(groups)->RecordCount(), 157);
    EXPECT_EQ(grid->TextMatrix(1, 0), "4");
}

TEST_F(MainWindowTest, QuittingWaitsForEveryScreenToAgree)
{
    window->windowManager().OpenDetails(groups, groups, 1, QString(), RecordsetPtr());
    ASSERT_EQ(window->windowManager().Screens().size(), 1);
    StandInScreen::allowClose = false;
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowManager().Screens().size(), 1);

    StandInScreen::allowClose = true;
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, ThePopupEditorWritesBackOnlyWhereTheGridAllowsEditing)
{
    FlexGrid grid;
    grid.SetCols(2);
    grid.SetRows(2);
    grid.SetEditable(true);
    grid.SetTextMatrix(0, 1, "Comment");
    grid.SetTextMatrix(1, 1, "old");
    grid.Select(1, 1);
    QSignalSpy afterEdit(&grid, &FlexGrid::AfterEdit);

    ui.queueDialog([](QDialog &dialog) {
        auto *editor = dialog.findChild<QPlainTextEdit *>("txtCellText");
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->toPlainText(), "old");
        editor->setPlainText("first line\nsecond line");
        dialog.accept();
    });
    appManager->PopupEdit(&grid);
    EXPECT_EQ(grid.TextMatrix(1, 1), "first line\nsecond line");
    EXPECT_EQ(afterEdit.count(), 1);

    // Cancel leaves the cell alone.
    ui.queueDialog([](QDialog &dialog) {
        dialog.findChild<QPlainTextEdit *>("txtCellText")->setPlainText("dropped");
        dialog.reject();
    });
    appManager->PopupEdit(&grid);
    EXPECT_EQ(grid.TextMatrix(1, 1), "first line\nsecond line");

    // A screen that refuses the edit gets a read-only editor.
    QObject::connect(&grid, &FlexGrid::BeforeEdit, [](int, int, bool &cancel) { cancel = true; });
    ui.queueDialog([](QDialog &dialog) {
        auto *editor = dialog.findChild<QPlainTextEdit *>("txtCellText");
        EXPECT_TRUE(editor->isReadOnly());
        editor->setPlainText("ignored");
        dialog.accept();
    });
    appManager->PopupEdit(&grid);
    EXPECT_EQ(grid.TextMatrix(1, 1), "first line\nsecond line");
    EXPECT_EQ(afterEdit.count(), 1);
    EXPECT_EQ(ui.dialogsShown(), 3);
}

TEST_F(MainWindowTest, TheSystemControlEntryIsThatOfTheActiveField)
{
    StandInScreen screen;
    screen.setProperty("ActiveControl", QVariant::fromValue<QObject *>(screen.field));
    ui.queueAnswer(Answer::OK);
    appManager->DisplaySystemControlEntry(&screen);
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_TRUE(ui.boxes().constLast().text.contains("Element Group Name"));
    EXPECT_TRUE(ui.boxes().constLast().text.contains("Form: ELGroupDetails"));

    screen.field->setObjectName("txtNoSuchField");
    ui.queueAnswer(Answer::OK);
    appManager->DisplaySystemControlEntry(&screen);
    EXPECT_TRUE(ui.boxes().constLast().text.contains("no system control entry for txtNoSuchField"));
}

TEST_F(MainWindowTest, F1FromAScreenOpensOurHelpAtItsTopic)
{
    window->windowManager().OpenDetails(groups, groups, 1, QString(), RecordsetPtr());
    ASSERT_TRUE(StandInScreen::last);
    // The screens send F1 to their focused field; nobody there wants it, so it reaches the host.
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(StandInScreen::last->field, &f1);
    ASSERT_NE(window->helpWindow(), nullptr);
    EXPECT_TRUE(window->helpWindow()->isVisible());
    EXPECT_EQ(window->helpWindow()->shownTopic(), 200);
    EXPECT_EQ(window->helpWindow()->browser()->source().fragment(), "200");
    EXPECT_FALSE(window->helpWindow()->browser()->toPlainText().isEmpty());

    window->windowManager().CloseAll();
    trigger("mnuHelpContents");
    EXPECT_EQ(window->helpWindow()->shownTopic(), 0);
}

TEST_F(MainWindowTest, AboutAndRelatedRecordsComeThroughTheApplicationManager)
{
    ui.queueDialog([](QDialog &dialog) {
        EXPECT_TRUE(dialog.findChild<QLabel *>("lblAbout")->text().contains("ecarter"));
        dialog.accept();
    });
    appManager->ShowAbout();
    EXPECT_EQ(ui.dialogsShown(), 1);

    qint32 group = 1;
    EXPECT_TRUE(appManager->OpenRelatedDetail("EGP", "REF", "References...", group));
    auto *related = qobject_cast<RelatedRecordScreen *>(window->windowManager().ActiveScreen());
    ASSERT_NE(related, nullptr);
    EXPECT_EQ(related->rows()->RecordCount(), 2);
}

} // namespace

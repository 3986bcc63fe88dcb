// The search screen as the host and the user meet it, on the sample database (SQLite).
#include "SearchTestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QToolButton>

using namespace talv;
using namespace talv::search;
using test::click;

namespace {

const QString AllGroupsSql = BuildSearchSQL({});

class SearchScreenTest : public test::SearchScreenTest
{
protected:
    void SetUp() override
    {
        test::SearchScreenTest::SetUp();
        if (!screen)
            return;
        id = test::child<QLineEdit>(screen, "txtGroupID");
        name = test::child<QLineEdit>(screen, "txtGroupName");
        grid = test::child<FlexGrid>(screen, "fgResults");
        label = test::child<QLabel>(screen, "lblRecordsReturned");
        host->recorder.sqlSent.clear();
    }

    QAction *action(const char *objectName) { return test::child<QAction>(screen, objectName); }
    QComboBox *combo(const char *objectName) { return test::child<QComboBox>(screen, objectName); }
    void findNow() { click(screen, "cmdFindNow"); }
    static QStringList shownButtons(ELGroupSearch *s)
    {
        QStringList shown;
        for (const char *b : {"cmdOK", "cmdCancel", "cmdAddToList", "cmdReplaceList"})
            if (test::child<QPushButton>(s, b)->isVisibleTo(s))
                shown << QString::fromLatin1(b);
        return shown;
    }

    QLineEdit *id = nullptr, *name = nullptr;
    FlexGrid *grid = nullptr;
    QLabel *label = nullptr;
};

TEST_F(SearchScreenTest, EachModeStartsWithItsOwnButtonsAndList)
{
    EXPECT_EQ(shownButtons(screen), (QStringList{"cmdAddToList", "cmdReplaceList"}));
    EXPECT_EQ(LateBinding::property(screen, "mrsView").value<RecordsetPtr>(), host->lists.list(host->groupsView));
    ASSERT_EQ(combo("cboElementGroupType")->count(), 9);
    EXPECT_EQ(combo("cboElementGroupType")->itemText(1), "Conservation Priority"); // display order, not id order

    const RecordsetPtr callers = host->recorder.GetPrototypeRSForView("EGP");
    ELGroupSearch *modal = host->openModal({}, callers);
    EXPECT_EQ(shownButtons(modal), (QStringList{"cmdOK", "cmdCancel"}));
    EXPECT_EQ(host->modalRecordset, callers);
}

TEST_F(SearchScreenTest, NoCriteriaAsksTheHostBeforeSearchingForAll)
{
    host->ui.queueAnswer(Answer::No);
    findNow();
    EXPECT_EQ(host->recorder.messageIds, QStringList{"APP043"});
    EXPECT_TRUE(host->recorder.sqlSent.isEmpty());
    EXPECT_EQ(label->text(), "Records Returned:");

    host->ui.queueAnswer(Answer::Yes);
    test::findByName(screen, "   ");
    EXPECT_EQ(host->recorder.sqlSent, QStringList{AllGroupsSql});
    QSqlQuery count = host->query("SELECT COUNT(*) FROM element_group");
    ASSERT_TRUE(count.next());
    EXPECT_EQ(label->text(), "Records Returned: " + count.value(0).toString());
    EXPECT_EQ(grid->Rows() - 1, count.value(0).toInt());
    EXPECT_EQ(grid->Row(), 1);
}

TEST_F(SearchScreenTest, AnIdDecidesAloneAndOneWithLettersRunsNoQuery)
{
    id->setText(" 64 ");
    test::findByName(screen, "nothing like it");
    EXPECT_EQ(host->recorder.searches(), QStringList{BuildSearchSQL({" 64 ", {}, 0, {}})});
    EXPECT_EQ(test::gridRows(*grid), QStringList{"64|Alvar Plants of the Stora Alvaret, Öland|Geographic Assemblage"});
    EXPECT_EQ(label->text(), "Records Returned: 1");

    id->setText("abc");
    host->ui.queueAnswer(Answer::OK);
    findNow();
    EXPECT_EQ(host->recorder.messageIds, QStringList{"EGP009"});
    EXPECT_EQ(host->recorder.searches().size(), 1);
    EXPECT_EQ(id->selectedText(), "abc");
    EXPECT_EQ(label->text(), "Records Returned: Searching...");
    EXPECT_FALSE(grid->IsBound());
}

TEST_F(SearchScreenTest, NewSearchResetsCriteriaAndResults)
{
    ASSERT_GT(test::findByName(screen, "Alvar")->Rows(), 1);
    combo("cboGroupNameComparison")->setCurrentIndex(ExactMatch);
    combo("cboElementGroupType")->setCurrentIndex(3);
    host->recorder.sqlSent.clear();

    test::trigger(screen, "New");
    EXPECT_EQ(name->text(), QString());
    EXPECT_EQ(combo("cboGroupNameComparison")->currentIndex(), int(Contains));
    EXPECT_EQ(combo("cboElementGroupType")->currentIndex(), 0);
    EXPECT_EQ(grid->Rows(), 1);
    EXPECT_EQ(label->text(), "Records Returned:");
    EXPECT_EQ(host->recorder.sqlSent, (QStringList{GroupTypesSql, EmptyResultsSql}));
}

TEST_F(SearchScreenTest, ViewSqlShowsTheStatementToCopyWithoutSearching)
{
    const auto viewSql = [&](const QString &shown) {
        host->ui.queueDialog([&](QDialog &dialog) {
            auto *text = test::child<QPlainTextEdit>(&dialog, "txtSQL");
            EXPECT_EQ(text->toPlainText(), shown);
            EXPECT_TRUE(QFontInfo(text->font()).fixedPitch()); // a statement reads in columns
            click(&dialog, "cmdOK");
        });
        action("mnuOptionsViewSQL")->trigger();
    };
    name->setText("lady's");
    combo("cboGroupNameComparison")->setCurrentIndex(EndsWith);
    viewSql(BuildSearchSQL({{}, "lady's", EndsWith, {}}));
    name->clear();
    viewSql(AllGroupsSql);
    EXPECT_TRUE(host->recorder.messageIds.isEmpty()); // no "search for all?" here
}

TEST_F(SearchScreenTest, AFailedSearchIsReportedAndTheScreenStaysUsable)
{
    // The database's own words reach the user.
    host->query("ALTER TABLE d_element_group_type RENAME TO group_type_elsewhere");
    const QString said = host->boxFrom([&] { test::findByName(screen, "Alvar"); });
    EXPECT_TRUE(said.startsWith("Error: ") && said.contains("d_element_group_type")) << said.toStdString();
    EXPECT_EQ(host->ui.boxes().last().buttons, MsgButtons::OK);
    EXPECT_EQ(host->ui.boxes().last().icon, MsgIcon::Exclamation);
    host->query("ALTER TABLE group_type_elsewhere RENAME TO d_element_group_type");
    EXPECT_GT(test::findByName(screen, "Alvar")->Rows(), 1);
}

TEST_F(SearchScreenTest, TheToolbarKeysAreTheMenuCommandsShownAsIcons)
{
    const std::pair<const char *, const char *> keys[] = {
        {"New", "mnuFileNew"},   {"Open", "mnuFileOpenSearch"}, {"Save", "mnuFileSaveSearch"}, {"Cut", "mnuEditCut"},
        {"Copy", "mnuEditCopy"}, {"Paste", "mnuEditPaste"},     {"Help", "mnuHelpTALVHelp"},
    };
    for (const auto &[key, command] : keys) {
        SCOPED_TRACE(key);
        auto *button = test::child<QToolButton>(screen, key);
        EXPECT_EQ(button->defaultAction(), action(command));
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
    }
    EXPECT_EQ(test::child<QToolButton>(screen, "Open")->toolTip(), "Open Saved Search");

    // Separators are lines, not items captioned "-".
    for (const QMenu *menu : screen->findChildren<QMenu *>()) {
        for (const QAction *item : menu->actions())
            EXPECT_FALSE(item->text() == "-") << item->objectName().toStdString();
    }
}

// The screen as the user meets it in the host's work area, focus and all.
class SearchScreenInUseTest : public SearchScreenTest
{
protected:
    void SetUp() override
    {
        SearchScreenTest::SetUp();
        if (!screen)
            return;
        QApplication::setActiveWindow(&host->area);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host->area));
    }
    void clickKey(const char *key) { QTest::mouseClick(test::child<QToolButton>(screen, key), Qt::LeftButton); }
};

TEST_F(SearchScreenInUseTest, EditCommandsActOnTheTextTheUserSelectedBeforeTheToolbarOrMenuTookTheFocus)
{
    name->setFocus();
    name->setText("Alvar plants");
    name->setSelection(6, 6);
    clickKey("Cut");
    EXPECT_EQ(name->text(), "Alvar ");
    EXPECT_EQ(QApplication::clipboard()->text(), "plants");

    name->setSelection(0, 5);
    QMenu *edit = test::child<QMenu>(screen, "mnuEdit");
    edit->popup(screen->mapToGlobal(QPoint(10, 10)));
    QTest::mouseClick(edit, Qt::LeftButton, {}, edit->actionGeometry(action("mnuEditCopy")).center());
    EXPECT_EQ(QApplication::clipboard()->text(), "Alvar");

    id->setFocus();
    id->setText("12");
    id->selectAll();
    clickKey("Paste");
    EXPECT_EQ(id->text(), "Alvar");
    EXPECT_EQ(host->ui.keystrokes(), (QStringList{"^X", "^C", "^V"}));

    // From the results grid the commands have nothing to act on; Tab leaves the grid.
    id->clear();
    test::findByName(screen, "Alvar");
    grid->setFocus();
    clickKey("Copy");
    EXPECT_EQ(host->ui.keystrokes().size(), 3);
    EXPECT_EQ(QApplication::clipboard()->text(), "Alvar");
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_NE(qobject_cast<QPushButton *>(QApplication::focusWidget()), nullptr);
}

TEST_F(SearchScreenInUseTest, EveryFileCommandHasItsKeyAndANewSearchStartsInGroupId)
{
    name->setFocus();
    name->setText("Alvar");
    QTest::keyClick(name, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(name->text(), QString());
    EXPECT_EQ(QApplication::focusWidget(), id);

    for (const auto &[key, caption] : {std::pair{Qt::Key_S, "Save User Search"}, {Qt::Key_D, "Delete User Search"}}) {
        host->ui.queueDialog([caption = QString::fromLatin1(caption)](QDialog &dialog) {
            EXPECT_EQ(dialog.windowTitle(), caption);
            test::click(&dialog, "cmdCancel");
        });
        QTest::keyClick(id, key, Qt::ControlModifier | Qt::ShiftModifier);
    }
    EXPECT_EQ(host->ui.dialogsShown(), 2);
}

TEST_F(SearchScreenInUseTest, TheResultsFitTheGridWithoutAHorizontalScrollBar)
{
    QScrollBar *across = grid->horizontalScrollBar();
    test::trigger(screen, "New"); // the empty grid with the list's columns
    QApplication::processEvents();
    ASSERT_EQ(grid->Cols(), 3);
    EXPECT_FALSE(across->isVisible());
    host->ui.queueAnswer(Answer::Yes);
    test::findByName(screen, "");
    QApplication::processEvents(); // the rows bring a vertical scroll bar, which narrows the grid
    ASSERT_GT(grid->Rows(), 100);
    EXPECT_TRUE(grid->verticalScrollBar()->isVisible());
    EXPECT_FALSE(across->isVisible());
    // The name takes the room the id and the type leave.
    EXPECT_GT(grid->ColWidth(1), grid->ColWidth(0) + grid->ColWidth(2));
}

} // namespace

TEST(SearchScreens, AHostCreatesTheScreenByClassNameUntilTheLibraryRemovesIt)
{
    RegisterSearchScreens();
    RegisterSearchScreens(); // twice does no harm
    const std::unique_ptr<QObject> made(ClassRegistry::instance().Create(names::SearchClass.toUpper()));
    EXPECT_NE(qobject_cast<ELGroupSearch *>(made.get()), nullptr);

    UnregisterSearchScreens();
    try {
        delete ClassRegistry::instance().Create(names::SearchClass);
        ADD_FAILURE() << "the class should be gone";
    } catch (const Error &e) {
        EXPECT_EQ(e.number(), Error::ClassNotRegistered);
    }
    RegisterSearchScreens(); // the other tests open the screen by name
}

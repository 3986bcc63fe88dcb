// The search screen as the host and the user meet it, on the sample database (SQLite).
#include "SearchTestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlDatabase>

using namespace talv;
using namespace talv::search;

namespace {

const QString AllGroupsSql = BuildSearchSQL({});
const QString Headings = "ID|Group Name|Group Type";

class SearchScreenTest : public test::SearchHostTest
{
protected:
    void SetUp() override
    {
        SearchHostTest::SetUp();
        if (!host || HasFatalFailure())
            return;
        screen = host->openSearch();
        ASSERT_NE(screen, nullptr);
        id = test::child<QLineEdit>(screen, "txtGroupID");
        name = test::child<QLineEdit>(screen, "txtGroupName");
        grid = test::child<FlexGrid>(screen, "fgResults");
        label = test::child<QLabel>(screen, "lblRecordsReturned");
        host->recorder.sqlSent.clear();
    }

    QAction *action(const char *objectName) { return test::child<QAction>(screen, objectName); }
    void findNow(ELGroupSearch *on = nullptr) { test::child<QPushButton>(on ? on : screen, "cmdFindNow")->click(); }
    static QStringList shownButtons(ELGroupSearch *s)
    {
        QStringList shown;
        for (const char *b : {"cmdOK", "cmdCancel", "cmdAddToList", "cmdReplaceList"})
            if (test::child<QPushButton>(s, b)->isVisibleTo(s))
                shown << QString::fromLatin1(b);
        return shown;
    }

    ELGroupSearch *screen = nullptr;
    QLineEdit *id = nullptr, *name = nullptr;
    FlexGrid *grid = nullptr;
    QLabel *label = nullptr;
};

TEST_F(SearchScreenTest, EachModeStartsWithItsOwnButtonsCaptionAndList)
{
    EXPECT_EQ(screen->parentWidget()->windowTitle(), "Find Element Group");
    screen->resize(900, 900);
    EXPECT_EQ(screen->size(), QSize(650, 660)); // 9750 by 9900 twips, whatever the window does
    EXPECT_EQ(shownButtons(screen), (QStringList{"cmdAddToList", "cmdReplaceList"}));
    EXPECT_EQ(LateBinding::property(screen, "mrsView").value<RecordsetPtr>(), host->lists.list(host->groupsView));
    auto *types = test::child<QComboBox>(screen, "cboElementGroupType");
    ASSERT_EQ(types->count(), 9);
    EXPECT_EQ(types->itemText(0), QString());
    EXPECT_EQ(types->itemText(1), "Conservation Priority"); // display order, not id order

    const RecordsetPtr callers = host->recorder.GetPrototypeRSForView("EGP");
    ELGroupSearch *modal = host->openModal({}, callers);
    EXPECT_EQ(shownButtons(modal), (QStringList{"cmdOK", "cmdCancel"}));
    EXPECT_FALSE(test::child<QPushButton>(modal, "cmdOK")->isEnabled());
    EXPECT_EQ(host->modalWindow->windowTitle(), "Find Element Group");
    EXPECT_EQ(host->modalRecordset, callers);
}

TEST_F(SearchScreenTest, NoCriteriaAsksTheHostBeforeSearchingForAll)
{
    const int busyBefore = host->ui.busyCount();
    host->ui.queueAnswer(Answer::No);
    findNow();
    EXPECT_EQ(host->recorder.messageIds, QStringList{"APP043"});
    EXPECT_TRUE(host->recorder.sqlSent.isEmpty());
    EXPECT_EQ(label->text(), "Records Returned:");
    EXPECT_EQ(host->ui.busyCount(), busyBefore);

    host->ui.queueAnswer(Answer::Yes);
    name->setText("   ");
    findNow();
    EXPECT_EQ(host->recorder.sqlSent, QStringList{AllGroupsSql});
    QSqlQuery count = host->query("SELECT COUNT(*) FROM element_group");
    ASSERT_TRUE(count.next());
    EXPECT_EQ(label->text(), QStringLiteral("Records Returned: ") + count.value(0).toString());
    EXPECT_EQ(grid->Rows() - 1, count.value(0).toInt());
    EXPECT_EQ(test::gridRows(*grid, 0), QStringList{Headings});
    EXPECT_EQ(grid->Row(), 1);
}

TEST_F(SearchScreenTest, AnIdDecidesAloneAndOneWithLettersRunsNoQuery)
{
    id->setText(" 64 ");
    name->setText("nothing like it");
    findNow();
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

TEST_F(SearchScreenTest, NewSearchFromMenuOrExactToolbarKeyResetsCriteriaAndResults)
{
    name->setText("Alvar");
    findNow();
    ASSERT_GT(grid->Rows(), 1);
    test::child<QComboBox>(screen, "cboGroupNameComparison")->setCurrentIndex(ExactMatch);
    test::child<QComboBox>(screen, "cboElementGroupType")->setCurrentIndex(3);
    host->recorder.sqlSent.clear();

    QAction *newKey = action("New");
    newKey->setData("new");
    newKey->trigger();
    EXPECT_EQ(name->text(), "Alvar");
    EXPECT_TRUE(host->recorder.sqlSent.isEmpty());

    newKey->setData("New");
    newKey->trigger();
    EXPECT_EQ(name->text(), QString());
    EXPECT_EQ(test::child<QComboBox>(screen, "cboGroupNameComparison")->currentIndex(), int(Contains));
    EXPECT_EQ(test::child<QComboBox>(screen, "cboElementGroupType")->currentIndex(), 0);
    EXPECT_EQ(grid->Rows(), 1);
    EXPECT_EQ(test::gridRows(*grid, 0), QStringList{Headings});
    EXPECT_EQ(label->text(), "Records Returned:");
    EXPECT_EQ(host->recorder.sqlSent, (QStringList{GroupTypesSql, EmptyResultsSql}));
}

TEST_F(SearchScreenTest, CutCopyAndPasteReachOnlyATextBox)
{
    name->setText("Stora Alvaret, Öland");
    test::focusOn(name);
    name->selectAll();
    action("mnuEditCopy")->trigger();
    test::focusOn(id);
    action("Paste")->trigger();
    EXPECT_EQ(id->text(), "Stora Alvaret, Öland");

    const qsizetype strokes = host->ui.keystrokes().size();
    for (QWidget *other : {static_cast<QWidget *>(grid), test::child<QWidget>(screen, "cboElementGroupType")}) {
        test::focusOn(other);
        EXPECT_EQ(screen->ActiveControl(), other);
        for (const char *command : {"mnuEditCut", "Copy", "mnuEditPaste"})
            action(command)->trigger();
    }
    EXPECT_EQ(host->ui.keystrokes().size(), strokes);
}

TEST_F(SearchScreenTest, ViewSqlShowsTheStatementToCopyWithoutSearching)
{
    const auto viewSql = [&](const std::function<void(QDialog &, QPlainTextEdit &)> &check) {
        host->ui.queueDialog([&](QDialog &dialog) {
            check(dialog, *dialog.findChild<QPlainTextEdit *>("txtSQL"));
            test::child<QPushButton>(&dialog, "cmdOK")->click();
        });
        action("mnuOptionsViewSQL")->trigger();
    };
    name->setText("lady's");
    test::child<QComboBox>(screen, "cboGroupNameComparison")->setCurrentIndex(EndsWith);
    viewSql([&](QDialog &dialog, QPlainTextEdit &text) {
        EXPECT_EQ(dialog.windowTitle(), "View SQL");
        EXPECT_TRUE(text.isReadOnly());
        EXPECT_EQ(text.toPlainText(), BuildSearchSQL({{}, "lady's", EndsWith, {}}));
        test::focusOn(&text);
        text.selectAll();
        QApplication::clipboard()->clear();
        test::child<QAction>(&dialog, "mnuEditCopy")->trigger();
        EXPECT_EQ(QApplication::clipboard()->text(), text.toPlainText());
        // Ctrl+C typed in the locked text copies too, and is not sent round again for ever.
        QTest::keyClick(&text, Qt::Key_C, Qt::ControlModifier);
    });
    name->clear();
    viewSql([&](QDialog &, QPlainTextEdit &text) { EXPECT_EQ(text.toPlainText(), AllGroupsSql); });
    EXPECT_TRUE(host->recorder.messageIds.isEmpty()); // no "search for all?" here

    id->setText("12 b");
    host->ui.queueAnswer(Answer::OK);
    viewSql([&](QDialog &, QPlainTextEdit &text) { EXPECT_EQ(text.toPlainText(), QString()); });
    EXPECT_EQ(host->recorder.messageIds, QStringList{"EGP009"});
    EXPECT_TRUE(host->recorder.sqlSent.isEmpty());
}

TEST_F(SearchScreenTest, AFailedSearchIsReportedAndTheScreenStaysUsable)
{
    QSqlDatabase connection = host->session.connection();
    connection.close();
    name->setText("Alvar");
    host->ui.queueAnswer(Answer::OK);
    findNow();
    ASSERT_EQ(host->ui.boxes().size(), 1);
    EXPECT_TRUE(host->ui.boxes().first().text.startsWith("Error: "));
    EXPECT_EQ(host->ui.boxes().first().buttons, MsgButtons::OK);
    EXPECT_EQ(host->ui.boxes().first().icon, MsgIcon::Exclamation);

    ASSERT_TRUE(connection.open());
    findNow();
    EXPECT_GT(grid->Rows(), 1);
    // The database's own words reach the user.
    host->query("ALTER TABLE d_element_group_type RENAME TO group_type_elsewhere");
    host->ui.queueAnswer(Answer::OK);
    findNow();
    ASSERT_EQ(host->ui.boxes().size(), 2);
    EXPECT_TRUE(host->ui.boxes().last().text.startsWith("Error: "));
    EXPECT_TRUE(host->ui.boxes().last().text.contains("d_element_group_type"));
}

} // namespace

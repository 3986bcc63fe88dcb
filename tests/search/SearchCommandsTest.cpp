// What the user does with the found groups: gathers them into the working list, picks them in a
// modal search, opens and creates groups, on the sample database (SQLite).
#include "SearchTestSupport.h"

#include "support/StandInScreen.h"

#include "contracts/HostWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>

using namespace talv;
using namespace talv::search;

namespace {

const QString DetailsClass = "TALV_ELGroup.ELGroupDetails";

using test::StandInScreen;

QList<int> idsOf(Recordset &rs)
{
    QList<int> ids;
    for (qsizetype row = 0; row < rs.RecordCount(); ++row)
        ids << rs.ValueAt(row, rs.FieldIndex(QStringLiteral("ID"))).toInt();
    return ids;
}

QList<int> gridIds(const FlexGrid &grid, std::initializer_list<int> rows)
{
    QList<int> ids;
    for (int row : rows)
        ids << grid.TextMatrix(row, 0).toInt();
    return ids;
}

class SearchCommandsTest : public test::SearchHostTest
{
protected:
    void SetUp() override
    {
        SearchHostTest::SetUp();
        if (!host || HasFatalFailure())
            return;
        screen = host->openSearch();
        ASSERT_NE(screen, nullptr);
        list = host->lists.list(host->groupsView);
        // What reaches the host window, with the list's size at that moment.
        host->area.setRedrawHandler([this](bool redraw) { redraws << qMakePair(redraw, list->RecordCount()); });
    }
    void TearDown() override
    {
        ClassRegistry::instance().Unregister(DetailsClass);
        StandInScreen::reset();
        SearchHostTest::TearDown();
    }

    // Finds the groups whose name holds `text`; expects at least four.
    FlexGrid *find(ELGroupSearch *on, const QString &text)
    {
        test::child<QLineEdit>(on, "txtGroupName")->setText(text);
        click(on, "cmdFindNow");
        auto *grid = test::child<FlexGrid>(on, "fgResults");
        EXPECT_GE(grid->Rows(), 4);
        return grid;
    }
    static void click(ELGroupSearch *on, const char *button) { test::child<QPushButton>(on, button)->click(); }

    ELGroupSearch *screen = nullptr;
    RecordsetPtr list;
    QList<QPair<bool, qsizetype>> redraws;
};

TEST_F(SearchCommandsTest, AddToListMergesEachGroupOnceWhileTheHostGridIsPaused)
{
    FlexGrid *grid = find(screen, " of the ");
    grid->Select(1, 0, 2, 0);
    click(screen, "cmdAddToList");
    EXPECT_EQ(idsOf(*list), gridIds(*grid, {1, 2}));
    EXPECT_EQ(redraws, (QList<QPair<bool, qsizetype>>{{false, 0}, {true, 2}}));
    list->MoveFirst();
    EXPECT_EQ(list->Value(QStringLiteral("Group_Name")).toString(), grid->TextMatrix(1, 1));
    EXPECT_EQ(list->Value(QStringLiteral("Group_Type")).toString(), grid->TextMatrix(1, 2));

    // The same rows again, then an overlapping selection: no group is listed twice.
    click(screen, "cmdAddToList");
    grid->Select(2, 0, 3, 0);
    click(screen, "cmdAddToList");
    EXPECT_EQ(idsOf(*list), gridIds(*grid, {1, 2, 3}));
    EXPECT_FALSE(host->area.mainGridPaused());
    EXPECT_EQ(redraws.size(), 6);
    EXPECT_TRUE(host->ui.boxes().isEmpty());

    // A double click on a data row adds it; with the heading row current it does nothing.
    grid->Select(4, 0);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(3, 1)).center());
    EXPECT_EQ(idsOf(*list), gridIds(*grid, {1, 2, 3, 4}));
    grid->Select(0, 0);
    emit grid->DblClick();
    EXPECT_EQ(list->RecordCount(), 4);
}

TEST_F(SearchCommandsTest, ReplaceListEmptiesTheListFirstButNeedsASelection)
{
    list->AppendRowsFrom(*host->recorder.CallGetQueryRSXML("SELECT * FROM ELGroup_WL_VW WHERE ID IN (3, 4)"));
    FlexGrid *grid = find(screen, " of the ");
    grid->Select(3, 0);
    click(screen, "cmdReplaceList");
    EXPECT_EQ(idsOf(*list), gridIds(*grid, {3}));
    EXPECT_EQ(redraws, (QList<QPair<bool, qsizetype>>{{false, 2}, {true, 1}}));

    // Nothing selected: neither command touches the list (and the pause is still lifted).
    click(screen, "cmdDeselectAll");
    EXPECT_EQ(grid->SelectedRows(), 0);
    click(screen, "cmdReplaceList");
    click(screen, "cmdAddToList");
    EXPECT_EQ(idsOf(*list), gridIds(*grid, {3}));
    EXPECT_FALSE(host->area.mainGridPaused());

    click(screen, "cmdSelectAll");
    click(screen, "cmdReplaceList");
    EXPECT_EQ(list->RecordCount(), grid->Rows() - 1);
}

TEST_F(SearchCommandsTest, AMergeIntoAListOfAnotherLayoutIsReportedAndTheSearchGoesOn)
{
    // A list whose layout the results cannot fill: the failure reaches the user, not the host.
    auto foreign = std::make_shared<Recordset>();
    foreign->AppendField(QStringLiteral("ID"), FieldType::Integer);
    foreign->AppendField(QStringLiteral("Reference_Code"), FieldType::VarChar, 40);
    foreign->Open();
    screen->setProperty("mrsView", QVariant::fromValue<RecordsetPtr>(foreign));
    FlexGrid *grid = find(screen, " of the ");
    grid->Select(1, 0);
    host->ui.queueAnswer(Answer::OK);
    click(screen, "cmdAddToList");
    ASSERT_EQ(host->ui.boxes().size(), 1);
    EXPECT_TRUE(host->ui.boxes().constFirst().text.startsWith("Unable to add the groups to the list: "));
    EXPECT_EQ(host->ui.boxes().constFirst().icon, MsgIcon::Exclamation);
    // The pause is lifted only by a merge that completes.
    EXPECT_EQ(redraws, (QList<QPair<bool, qsizetype>>{{false, 0}}));

    screen->setProperty("mrsView", QVariant::fromValue(list));
    click(screen, "cmdAddToList");
    EXPECT_EQ(idsOf(*list), gridIds(*grid, {1}));
}

TEST_F(SearchCommandsTest, SelectAllAndSelectNoneDecideWhetherOkCanBePressed)
{
    ELGroupSearch *modal = host->openModal();
    auto *ok = test::child<QPushButton>(modal, "cmdOK");
    auto *grid = test::child<FlexGrid>(modal, "fgResults");
    click(modal, "cmdSelectAll"); // only the heading row: nothing to select
    EXPECT_EQ(grid->SelectedRows(), 0);
    EXPECT_FALSE(ok->isEnabled());

    find(modal, " of the ");
    EXPECT_EQ(grid->SelectedRows(), 0);
    EXPECT_TRUE(ok->isEnabled()); // a current data row is enough
    click(modal, "cmdSelectAll");
    EXPECT_EQ(grid->SelectedRows(), grid->Rows() - 1);
    click(modal, "cmdDeselectAll");
    EXPECT_EQ(grid->SelectedRows(), 0);
    EXPECT_EQ(grid->Row(), 0);
    EXPECT_FALSE(ok->isEnabled());
    grid->Select(2, 0);
    EXPECT_TRUE(ok->isEnabled());

    // Single selection keeps Select All to the current row.
    LateBinding::call(modal, "SetSingleSelect");
    click(modal, "cmdSelectAll");
    EXPECT_EQ(grid->SelectedRows(), 1);

    test::child<QLineEdit>(modal, "txtGroupName")->setText("no group is called this");
    click(modal, "cmdFindNow");
    EXPECT_EQ(test::child<QLabel>(modal, "lblRecordsReturned")->text(), "Records Returned: 0");
    EXPECT_FALSE(ok->isEnabled());
}

TEST_F(SearchCommandsTest, OkHandsTheCallerWhatItAskedForAndCancelLetsGoUntouched)
{
    const RecordsetPtr callers = host->recorder.GetPrototypeRSForView("EGP");
    callers->AppendRowsFrom(*host->recorder.CallGetQueryRSXML("SELECT * FROM ELGroup_WL_VW WHERE ID = 3"));
    ELGroupSearch *modal = host->openModal({}, callers);
    QSignalSpy quit(modal, &ELGroupSearch::Quit);
    FlexGrid *grid = find(modal, " of the ");
    // Without a collection or the flag, the selection reaches nobody.
    grid->Select(1, 0, 3, 0);
    LateBinding::call(modal, "SelectedItems");
    EXPECT_EQ(idsOf(*callers), QList<int>{3});

    auto ids = std::make_shared<QStringList>(QStringList{"stale"});
    LateBinding::call(modal, "SetSelectedItems", {QVariant::fromValue(ids)});
    LateBinding::call(modal, "UseSelectedRecordset", {true});
    // A current row but no selection: the ids are emptied, the caller's rows stay.
    find(modal, " of the ");
    LateBinding::call(modal, "SelectedItems");
    EXPECT_TRUE(ids->isEmpty());
    EXPECT_EQ(idsOf(*callers), QList<int>{3});
    EXPECT_EQ(quit.count(), 0);

    grid->Select(3, 0, 2, 0);
    click(modal, "cmdOK");
    EXPECT_EQ(*ids, (QStringList{grid->TextMatrix(2, 0), grid->TextMatrix(3, 0)}));
    EXPECT_EQ(idsOf(*callers), gridIds(*grid, {2, 3}));
    EXPECT_EQ(quit.count(), 1);

    // A double click confirms too: the clicked row becomes the pick.
    grid->Select(1, 0);
    emit grid->DblClick();
    EXPECT_EQ(*ids, QStringList{grid->TextMatrix(1, 0)});
    EXPECT_EQ(idsOf(*callers), gridIds(*grid, {1}));
    EXPECT_EQ(quit.count(), 2);

    host->modalRecordset.reset(); // the window's copy of the argument
    grid->Select(2, 0, 3, 0);
    click(modal, "cmdCancel");
    EXPECT_EQ(quit.count(), 3);
    EXPECT_EQ(LateBinding::property(modal, "mrsView").value<RecordsetPtr>(), nullptr);
    EXPECT_EQ(idsOf(*callers), gridIds(*grid, {1}));
    EXPECT_EQ(callers.use_count(), 1); // nothing holds on to the caller's set
    EXPECT_TRUE(host->ui.boxes().isEmpty());
}

TEST_F(SearchCommandsTest, WithoutTheRecordScreenDetailsAndNewTellTheUser)
{
    ASSERT_FALSE(ClassRegistry::instance().IsRegistered(DetailsClass));
    FlexGrid *grid = find(screen, " of the ");
    grid->Select(2, 0);
    host->ui.queueAnswer(Answer::OK);
    click(screen, "cmdDetails");
    ASSERT_EQ(host->ui.boxes().size(), 1);
    EXPECT_TRUE(host->ui.boxes().constFirst().text.startsWith("Unable to open"));
    EXPECT_TRUE(host->ui.boxes().constFirst().text.contains(DetailsClass, Qt::CaseInsensitive))
        << host->ui.boxes().constFirst().text.toStdString();
    // The search is still open and still works.
    EXPECT_EQ(host->manager->Screens(), QList<QWidget *>{screen});
    grid->Select(2, 0);
    click(screen, "cmdAddToList");
    EXPECT_EQ(idsOf(*list), gridIds(*grid, {2}));

    // In a modal search the details window cannot start: said once, and no window is shown.
    ELGroupSearch *modal = host->openModal();
    FlexGrid *modalGrid = find(modal, " of the ");
    modalGrid->Select(1, 0);
    for (const char *command : {"cmdDetails", "cmdNew"}) {
        host->ui.queueAnswer(Answer::OK);
        click(modal, command);
    }
    ASSERT_EQ(host->ui.boxes().size(), 3);
    EXPECT_EQ(host->ui.boxes().at(1).text,
              QStringLiteral("Unable to open the group's details: the group record screen (%1) could not be started")
                  .arg(DetailsClass));
    EXPECT_TRUE(host->ui.boxes().at(2).text.startsWith("Unable to create a new group: "));
    EXPECT_EQ(host->ui.dialogsShown(), 0);
    EXPECT_EQ(modalGrid->Rows(), grid->Rows());

    // New in the host window: the host says why, and the search closes as New always does.
    QPointer<ELGroupSearch> closing = screen;
    host->ui.queueAnswer(Answer::OK);
    click(screen, "cmdNew");
    ASSERT_EQ(host->ui.boxes().size(), 4);
    EXPECT_TRUE(host->ui.boxes().at(3).text.startsWith("Unable to "));
    EXPECT_TRUE(QTest::qWaitFor([&] { return closing.isNull(); }, 2000));
}

TEST_F(SearchCommandsTest, DetailsInTheHostOpenTheChosenGroupOnItsOwnRow)
{
    ClassRegistry::instance().RegisterWidget<StandInScreen>(DetailsClass);
    FlexGrid *grid = find(screen, " of the ");
    // Right after Find Now the first row is current though nobody selected it.
    click(screen, "cmdDetails");
    ASSERT_TRUE(StandInScreen::last);
    EXPECT_EQ(StandInScreen::last->loaded, grid->TextMatrix(1, 0).toInt());

    grid->Select(3, 0);
    click(screen, "cmdDetails");
    StandInScreen &opened = *StandInScreen::last;
    EXPECT_EQ(opened.loaded, grid->TextMatrix(3, 0).toInt());
    EXPECT_EQ(opened.view, host->groupsView);
    ASSERT_TRUE(opened.list);
    EXPECT_EQ(idsOf(*opened.list), gridIds(*grid, {3}));
    EXPECT_NE(opened.list, list); // a one-row set of its own, not the working list
    EXPECT_EQ(list->RecordCount(), 0);
    EXPECT_TRUE(host->ui.boxes().isEmpty());
}

TEST_F(SearchCommandsTest, ANewGroupSavedInTheModalWindowJoinsTheResultsAsTheCurrentLastRow)
{
    ClassRegistry::instance().RegisterWidget<StandInScreen>(DetailsClass);
    ELGroupSearch *modal = host->openModal();
    FlexGrid *grid = find(modal, " of the ");
    const QStringList before = test::gridRows(*grid);

    // The window gives no new record: the results stay as they were.
    StandInScreen::saveNew = [] { return 0; };
    host->ui.queueDialog([](QDialog &dialog) { EXPECT_EQ(dialog.windowTitle(), "Modal Details"); });
    host->recorder.sqlSent.clear();
    click(modal, "cmdNew");
    EXPECT_EQ(test::gridRows(*grid), before);
    EXPECT_TRUE(host->recorder.sqlSent.isEmpty());

    StandInScreen::saveNew = [this] {
        host->query(
            "INSERT INTO element_group (element_group_name, d_element_group_type_id, d_group_member_type_id, "
            "org_unit_id, universal_key, rec_create_user, rec_create_date, rec_last_mod_user, rec_last_mod_date) "
            "SELECT 'Quarry Pools of Gotland', d_element_group_type_id, d_group_member_type_id, org_unit_id, "
            "'quarry-pools', rec_create_user, rec_create_date, rec_last_mod_user, rec_last_mod_date "
            "FROM element_group WHERE element_group_id = 64");
        QSqlQuery id = host->query("SELECT MAX(element_group_id) FROM element_group");
        return id.next() ? id.value(0).toInt() : 0;
    };
    host->ui.queueDialog([](QDialog &) {});
    click(modal, "cmdNew");
    const QStringList after = test::gridRows(*grid);
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(after.mid(0, before.size()), before);
    EXPECT_TRUE(after.last().endsWith("|Quarry Pools of Gotland|Geographic Assemblage")) << after.last().toStdString();
    EXPECT_EQ(grid->Row(), grid->Rows() - 1);
    EXPECT_EQ(test::gridRows(*grid, 0), QStringList{"ID|Group Name|Group Type"});
    ASSERT_EQ(host->recorder.sqlSent.size(), 1);
    EXPECT_TRUE(
        host->recorder.sqlSent.constFirst().contains("as Group_Type  FROM element_group, d_element_group_type WHERE"));
    EXPECT_TRUE(host->ui.boxes().isEmpty());
}

} // namespace

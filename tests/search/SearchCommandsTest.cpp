// What the user does with the found groups: gathers them into the working list, picks them in a
// modal search, opens and creates groups, on the sample database (SQLite).
#include "SearchTestSupport.h"

#include "support/StandInScreen.h"

#include <QLabel>
#include <QPointer>
#include <QSignalSpy>

using namespace talv;
using namespace talv::search;
using test::click;
using test::StandInScreen;

namespace {

const QString DetailsClass = "TALV_ELGroup.ELGroupDetails";

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

class SearchCommandsTest : public test::SearchScreenTest
{
protected:
    void SetUp() override
    {
        SearchScreenTest::SetUp();
        if (!screen)
            return;
        list = host->lists.list(host->groupsView);
        // What reaches the host window, with the list's size at that moment.
        host->area.setRedrawHandler([this](bool redraw) { redraws << qMakePair(redraw, list->RecordCount()); });
    }
    void TearDown() override
    {
        ClassRegistry::instance().Unregister(DetailsClass);
        StandInScreen::reset();
        SearchScreenTest::TearDown();
    }

    // The groups whose name holds " of the " (at least four in the sample).
    static FlexGrid *find(ELGroupSearch *on)
    {
        FlexGrid *grid = test::findByName(on, " of the ");
        EXPECT_GE(grid->Rows(), 5);
        return grid;
    }

    RecordsetPtr list;
    QList<QPair<bool, qsizetype>> redraws;
};

TEST_F(SearchCommandsTest, AddToListMergesEachGroupOnceWhileTheHostGridIsPaused)
{
    FlexGrid *grid = find(screen);
    grid->Select(1, 0, 2, 0);
    click(screen, "cmdAddToList");
    EXPECT_EQ(idsOf(*list), gridIds(*grid, {1, 2}));
    EXPECT_EQ(redraws, (QList<QPair<bool, qsizetype>>{{false, 0}, {true, 2}}));
    EXPECT_EQ(list->Value(QStringLiteral("Group_Type")).toString(), grid->TextMatrix(1, 2));

    // The same rows again, then an overlapping selection: no group is listed twice.
    click(screen, "cmdAddToList");
    grid->Select(2, 0, 3, 0);
    click(screen, "cmdAddToList");
    EXPECT_EQ(idsOf(*list), gridIds(*grid, {1, 2, 3}));
    EXPECT_FALSE(host->area.mainGridPaused());
    EXPECT_EQ(redraws.size(), 6);

    // A double click on a data row adds it; with the heading row current it does nothing.
    grid->Select(4, 0);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(3, 1)).center());
    EXPECT_EQ(idsOf(*list), gridIds(*grid, {1, 2, 3, 4}));
    EXPECT_TRUE(host->ui.boxes().isEmpty());
}

TEST_F(SearchCommandsTest, ReplaceListEmptiesTheListFirstButNeedsASelection)
{
    list->AppendRowsFrom(*host->recorder.CallGetQueryRSXML("SELECT * FROM ELGroup_WL_VW WHERE ID IN (3, 4)"));
    FlexGrid *grid = find(screen);
    grid->Select(3, 0);
    click(screen, "cmdReplaceList");
    EXPECT_EQ(idsOf(*list), gridIds(*grid, {3}));
    EXPECT_EQ(redraws, (QList<QPair<bool, qsizetype>>{{false, 2}, {true, 1}}));

    // Nothing selected: neither command touches the list (and the pause is still lifted).
    click(screen, "cmdDeselectAll");
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
    auto foreign = std::make_shared<Recordset>();
    foreign->AppendField(QStringLiteral("ID"), FieldType::Integer);
    foreign->AppendField(QStringLiteral("Reference_Code"), FieldType::VarChar, 40);
    foreign->Open();
    screen->setProperty("mrsView", QVariant::fromValue<RecordsetPtr>(foreign));
    FlexGrid *grid = find(screen);
    grid->Select(1, 0);
    EXPECT_TRUE(
        host->boxFrom([&] { click(screen, "cmdAddToList"); }).startsWith("Unable to add the groups to the list: "));
    EXPECT_EQ(host->ui.boxes().constLast().icon, MsgIcon::Exclamation);
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
    find(modal);
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

    test::findByName(modal, "no group is called this");
    EXPECT_EQ(test::child<QLabel>(modal, "lblRecordsReturned")->text(), "Records Returned: 0");
    EXPECT_FALSE(ok->isEnabled());
}

TEST_F(SearchCommandsTest, OkHandsTheCallerWhatItAskedForAndCancelLetsGoUntouched)
{
    const RecordsetPtr callers = host->recorder.GetPrototypeRSForView("EGP");
    callers->AppendRowsFrom(*host->recorder.CallGetQueryRSXML("SELECT * FROM ELGroup_WL_VW WHERE ID = 3"));
    ELGroupSearch *modal = host->openModal({}, callers);
    QSignalSpy quit(modal, &ELGroupSearch::Quit);
    FlexGrid *grid = find(modal);
    auto ids = std::make_shared<QStringList>(QStringList{"stale"});
    LateBinding::call(modal, "SetSelectedItems", {QVariant::fromValue(ids)});
    LateBinding::call(modal, "UseSelectedRecordset", {true});
    // A current row but no selection: the ids are emptied, the caller's rows stay.
    find(modal);
    LateBinding::call(modal, "SelectedItems");
    EXPECT_TRUE(ids->isEmpty());
    EXPECT_EQ(idsOf(*callers), QList<int>{3});
    EXPECT_EQ(quit.count(), 0);

    grid->Select(3, 0, 2, 0);
    click(modal, "cmdOK");
    EXPECT_EQ(*ids, (QStringList{grid->TextMatrix(2, 0), grid->TextMatrix(3, 0)}));
    EXPECT_EQ(idsOf(*callers), gridIds(*grid, {2, 3}));
    EXPECT_EQ(quit.count(), 1);

    host->modalRecordset.reset(); // the window's copy of the argument
    grid->Select(2, 0, 3, 0);
    click(modal, "cmdCancel");
    EXPECT_EQ(quit.count(), 2);
    EXPECT_EQ(idsOf(*callers), gridIds(*grid, {2, 3}));
    EXPECT_EQ(callers.use_count(), 1); // nothing holds on to the caller's set
    EXPECT_TRUE(host->ui.boxes().isEmpty());
}

TEST_F(SearchCommandsTest, WithoutTheRecordScreenDetailsAndNewTellTheUser)
{
    ASSERT_FALSE(ClassRegistry::instance().IsRegistered(DetailsClass));
    find(screen)->Select(2, 0);
    const QString said = host->boxFrom([&] { click(screen, "cmdDetails"); });
    EXPECT_TRUE(said.startsWith("Unable to open") && said.contains(DetailsClass, Qt::CaseInsensitive))
        << said.toStdString();
    EXPECT_EQ(host->manager->Screens(), QList<QWidget *>{screen}); // the search stays open

    // In a modal search no window is shown either.
    ELGroupSearch *modal = host->openModal();
    find(modal)->Select(1, 0);
    EXPECT_EQ(host->boxFrom([&] { click(modal, "cmdDetails"); }),
              "Unable to open the group's details: the group record screen (" + DetailsClass +
                  ") could not be started");
    EXPECT_TRUE(host->boxFrom([&] { click(modal, "cmdNew"); }).startsWith("Unable to create a new group: "));
    EXPECT_EQ(host->ui.dialogsShown(), 0);

    // New in the host window: the host says why, and the search the user is on stays with its
    // results, although New closes it once the record screen is open.
    QPointer<ELGroupSearch> staying = screen;
    const QStringList found = test::gridRows(*test::child<FlexGrid>(screen, "fgResults"));
    EXPECT_TRUE(host->boxFrom([&] { click(screen, "cmdNew"); }).startsWith("Unable to create a new record: "));
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(staying.isNull());
    EXPECT_EQ(test::gridRows(*test::child<FlexGrid>(screen, "fgResults")), found);

    ClassRegistry::instance().RegisterWidget<StandInScreen>(DetailsClass);
    click(screen, "cmdNew");
    EXPECT_EQ(StandInScreen::log, (QStringList{"InitDetails " + QString::number(host->groupsView), "NewData -1"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return staying.isNull(); }, 2000));
}

TEST_F(SearchCommandsTest, DetailsInTheHostOpenTheChosenGroupOnItsOwnRow)
{
    ClassRegistry::instance().RegisterWidget<StandInScreen>(DetailsClass);
    FlexGrid *grid = find(screen);
    grid->Select(3, 0);
    click(screen, "cmdDetails");
    StandInScreen &opened = *StandInScreen::last;
    EXPECT_EQ(opened.loaded, grid->TextMatrix(3, 0).toInt());
    EXPECT_EQ(opened.view, host->groupsView);
    EXPECT_EQ(idsOf(*opened.list), gridIds(*grid, {3}));
    EXPECT_EQ(list->RecordCount(), 0); // a one-row set of its own, not the working list
    EXPECT_TRUE(host->ui.boxes().isEmpty());
}

TEST_F(SearchCommandsTest, ANewGroupSavedInTheModalWindowJoinsTheResultsAsTheCurrentLastRow)
{
    ClassRegistry::instance().RegisterWidget<StandInScreen>(DetailsClass);
    ELGroupSearch *modal = host->openModal();
    FlexGrid *grid = find(modal);
    const QStringList before = test::gridRows(*grid);

    // A group the search did not find comes back as the new one.
    QSqlQuery other = host->query("SELECT element_group_id, element_group_name FROM element_group "
                                  "WHERE element_group_name NOT LIKE '% of the %' ORDER BY element_group_id");
    ASSERT_TRUE(other.next());
    const int id = other.value(0).toInt();
    StandInScreen::saveNew = [id] { return id; };
    host->ui.queueDialog([](QDialog &) {});
    host->recorder.sqlSent.clear();
    click(modal, "cmdNew");
    const QStringList after = test::gridRows(*grid);
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(after.mid(0, before.size()), before);
    EXPECT_TRUE(after.last().startsWith(QStringLiteral("%1|%2|").arg(id).arg(other.value(1).toString())));
    EXPECT_EQ(grid->Row(), grid->Rows() - 1);
    ASSERT_EQ(host->recorder.sqlSent.size(), 1);
    EXPECT_TRUE(
        host->recorder.sqlSent.constFirst().contains("as Group_Type  FROM element_group, d_element_group_type WHERE"));
    EXPECT_TRUE(host->ui.boxes().isEmpty());
}

} // namespace

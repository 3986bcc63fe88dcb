#include "platform/FlexGrid.h"
#include "platform/FlexGridModel.h"
#include "platform/ScriptedUiServices.h"
#include "recordset/RS_Functions.h"
#include "support/RecordsetBuilder.h"

#include <gtest/gtest.h>

#include <QItemSelectionModel>

using namespace talv;
using talv::test::column;
using talv::test::makeRecordset;

namespace {

// The search's local result set: ID typed, the rest text.
RecordsetPtr results()
{
    return makeRecordset({{"ID", FieldType::Integer},
                          {"Group_Name", FieldType::VarChar},
                          {"Group_Type", FieldType::VarChar},
                          {"Member_Count", FieldType::VarChar}},
                         {{10, "Bog Plants", "Habitat", "12"},
                          {20, "Alpine Meadows", "Habitat", "9"},
                          {30, "Cave Fauna", "Assemblage", "3"},
                          {40, "Dune Grasses", "Habitat", "7"}});
}

// The host's working list: its own field order and spelling, and no Member_Count.
RecordsetPtr workingList(std::initializer_list<std::initializer_list<QVariant>> rows = {})
{
    return makeRecordset(
        {{"group_type", FieldType::VarChar}, {"Id", FieldType::Integer}, {"GROUP_NAME", FieldType::VarChar}}, rows);
}

QVariantList ids(Recordset &rs)
{
    return column(rs, QStringLiteral("ID"));
}

// Adds whole grid rows to the selection, as Ctrl+clicks do.
void selectRows(FlexGrid &grid, std::initializer_list<int> rows)
{
    grid.SetSelMode(FlexGrid::SelectMode::ListBox);
    for (int row : rows)
        grid.selectionModel()->select(grid.GridModel()->index(row - grid.FixedRows(), 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

// An unbound grid holding these ids in column 0, every row selected.
void fillIds(FlexGrid &grid, const QStringList &idTexts)
{
    grid.SetCols(1);
    grid.SetRows(1);
    for (const QString &id : idTexts)
        grid.AddItem(id);
    grid.SetSelMode(FlexGrid::SelectMode::ListBox);
    grid.SelectAllRows();
}

} // namespace

TEST(WorkingList, AddAppendsMissingSelectedRowsByTheListsFieldNamesAndReopensOnTheFirstRow)
{
    auto source = results();
    FlexGrid grid;
    grid.BindToRecordset(source);
    auto list = workingList({{"Assemblage", 50, "Reef Fish"}, {"Habitat", 30, "Renamed in the list"}});
    selectRows(grid, {4, 1, 3});

    list->MoveLast();
    RS_Functions::AddSelectedToList(grid, *source, *list);
    EXPECT_EQ(list->AbsolutePosition(), 1);
    EXPECT_FALSE(list->Fields("ID").Optimize());
    EXPECT_FALSE(source->Fields("ID").Optimize());
    EXPECT_EQ(ids(*list), (QVariantList{50, 30, 10, 40})) << "grid row order; a listed row is not added again";
    EXPECT_EQ(column(*list, "Group_Name"),
              (QVariantList{"Reef Fish", "Renamed in the list", "Bog Plants", "Dune Grasses"}));

    // The same selection again adds nothing but still reopens the list.
    list->MoveLast();
    RS_Functions::AddSelectedToList(grid, *source, *list);
    EXPECT_EQ(list->AbsolutePosition(), 1);
    EXPECT_EQ(list->RecordCount(), 4);

    // Ids the source lacks are skipped.
    FlexGrid typed;
    fillIds(typed, {"99", "20"});
    RS_Functions::AddSelectedToList(typed, *source, *list);
    EXPECT_EQ(ids(*list), (QVariantList{50, 30, 10, 40, 20}));
}

TEST(WorkingList, AddWithoutSelectionOrSourceRowsTouchesNothing)
{
    auto source = results();
    auto emptySource = makeRecordset({{"ID", FieldType::Integer}});
    FlexGrid unselected;
    unselected.BindToRecordset(source);
    FlexGrid selected;
    fillIds(selected, {"10"});
    auto list = workingList({{"Habitat", 1, "One"}, {"Habitat", 2, "Two"}});
    list->MoveLast();

    RS_Functions::AddSelectedToList(unselected, *source, *list);
    RS_Functions::AddSelectedToList(selected, *emptySource, *list);
    RS_Functions::ReplaceListWithSelected(unselected, *source, *list);
    EXPECT_EQ(list->AbsolutePosition(), 2) << "not reopened";
    EXPECT_FALSE(list->Fields("ID").Optimize());
    EXPECT_EQ(ids(*list), (QVariantList{1, 2}));
}

TEST(WorkingList, AListFieldTheSourceLacksEndsTheAddAndALaterAddStillWorks)
{
    auto list = makeRecordset({{"ID", FieldType::Integer}, {"Status", FieldType::VarChar}}, {{5, "Active"}});
    auto source = results();
    FlexGrid grid;
    fillIds(grid, {"10", "20"});
    try {
        RS_Functions::AddSelectedToList(grid, *source, *list);
        ADD_FAILURE() << "the missing field must reach the caller";
    } catch (const Error &e) {
        EXPECT_EQ(e.number(), Error::FieldNotFound);
    }
    EXPECT_EQ(column(*list, "Status"), (QVariantList{"Active", QVariant()})) << "the row begun stays as it got";

    auto fuller =
        makeRecordset({{"ID", FieldType::Integer}, {"Status", FieldType::VarChar}}, {{20, "Draft"}, {10, "Draft"}});
    RS_Functions::AddSelectedToList(grid, *fuller, *list);
    EXPECT_EQ(list->AbsolutePosition(), 1);
    EXPECT_EQ(ids(*list), (QVariantList{5, 10, 20}));
}

TEST(WorkingList, ReplaceEmptiesTheListFirstAndClearKeepsAnOpenUnfilteredLayout)
{
    auto source = results();
    FlexGrid grid;
    grid.BindToRecordset(source);
    auto list = workingList({{"Habitat", 20, "Alpine Meadows"}, {"Habitat", 77, "Not selected"}});
    selectRows(grid, {4, 2});
    RS_Functions::ReplaceListWithSelected(grid, *source, *list);
    EXPECT_EQ(list->AbsolutePosition(), 1);
    EXPECT_EQ(ids(*list), (QVariantList{20, 40}));

    list->SetFilter("ID = 40");
    RS_Functions::ClearRecordset(*list);
    EXPECT_EQ(list->State(), Recordset::StateOpen);
    EXPECT_EQ(list->RecordCount(), 0);
    EXPECT_EQ(list->Filter(), QString());
    RS_Functions::ClearRecordset(*list); // again, with no rows: the layout stays usable
    list->AddNew({"Habitat", 3, "Three"});
    EXPECT_EQ(ids(*list), (QVariantList{3}));
}

TEST(WorkingList, CurrentRowBecomesAOneRowCloneUnlessTheGridHasNoDataRow)
{
    auto source =
        makeRecordset({{"ID", FieldType::BigInt}, {"Member_Count", FieldType::Integer}}, {{10, 12}, {20, 9}, {30, 3}});
    FlexGrid grid;
    grid.BindToRecordset(source);
    grid.SetRow(2);
    const RecordsetPtr old = workingList({{"Kept", 1, "Kept"}});
    RecordsetPtr result = old;

    auto emptySource = makeRecordset({{"ID", FieldType::BigInt}, {"Member_Count", FieldType::Integer}});
    FlexGrid headingOnly;
    headingOnly.BindToRecordset(emptySource);
    RS_Functions::MakeCurrentRowRecordset(headingOnly, *source, result);
    RS_Functions::MakeCurrentRowRecordset(grid, *emptySource, result);
    EXPECT_EQ(result, old);

    RS_Functions::MakeCurrentRowRecordset(grid, *source, result);
    ASSERT_NE(result, old);
    EXPECT_EQ(result->AbsolutePosition(), 1);
    EXPECT_EQ(result->Value("Member_Count"), QVariant("9")) << "the clone layout holds text";
    EXPECT_EQ(result->FieldTypeAt(0), FieldType::BigInt);
    EXPECT_EQ(result->RecordCount(), 1);
    EXPECT_FALSE(source->Fields("ID").Optimize());
}

TEST(WorkingList, MergeOverwritesAListedIdAppendsANewOneAndReportsItsOwnErrors)
{
    ScriptedUiServices ui;
    ScopedUiServices scope(ui);
    auto list = workingList({{"Habitat", 10, "Bog Plants"}, {"Habitat", 20, "Alpine Meadows"}});
    auto record = results();
    record->MoveNext();
    record->SetValue("Group_Name", "Alpine Meadows (revised)");
    RS_Functions::MergeRecord(*record, *list);
    EXPECT_EQ(record->AbsolutePosition(), 2);
    record->MoveLast();
    RS_Functions::MergeRecord(*record, *list);
    EXPECT_EQ(column(*list, "Group_Name"), (QVariantList{"Bog Plants", "Alpine Meadows (revised)", "Dune Grasses"}));

    auto empty = workingList();
    RS_Functions::MergeRecord(*empty, *list);
    record->Close();
    RS_Functions::MergeRecord(*record, *list);
    EXPECT_EQ(list->RecordCount(), 3);
    EXPECT_TRUE(ui.boxes().isEmpty());

    auto withStatus = makeRecordset({{"ID", FieldType::Integer}, {"Status", FieldType::VarChar}});
    auto fresh = results();
    ui.queueAnswer(Answer::OK);
    RS_Functions::MergeRecord(*fresh, *withStatus);
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_EQ(ui.boxes()[0].title, "Application Error");
    EXPECT_EQ(ui.boxes()[0].icon, MsgIcon::Information);
    EXPECT_TRUE(ui.boxes()[0].text.startsWith("An error occurred while merging records.\r\n\r\n#3265: "));
    EXPECT_TRUE(ui.boxes()[0].text.contains("Status"));
    EXPECT_EQ(ids(*withStatus), (QVariantList{10})) << "the row stays as far as it got";
}

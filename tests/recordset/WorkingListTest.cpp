#include "platform/FlexGrid.h"
#include "platform/FlexGridModel.h"
#include "platform/ScriptedUiServices.h"
#include "recordset/RS_Functions.h"
#include "support/RecordsetBuilder.h"

#include <gtest/gtest.h>

#include <QItemSelectionModel>

#include <functional>

using namespace talv;
using talv::test::column;
using talv::test::makeRecordset;

namespace {

// The search screen's local result set: ID typed, everything else text.
RecordsetPtr results()
{
    return makeRecordset({{"ID", FieldType::Integer, 4},
                          {"Group_Name", FieldType::VarChar, 120},
                          {"Group_Type", FieldType::VarChar, 60},
                          {"Member_Count", FieldType::VarChar, 10}},
                         {{10, "Bog Plants", "Habitat", "12"},
                          {20, "Alpine Meadows", "Habitat", "9"},
                          {30, "Cave Fauna", "Assemblage", "3"},
                          {40, "Dune Grasses", "Habitat", "7"}});
}

// The host's working list: its own field order and spelling, and no Member_Count.
RecordsetPtr workingList(std::initializer_list<std::initializer_list<QVariant>> rows = {})
{
    return makeRecordset({{"group_type", FieldType::VarChar, 60},
                          {"Id", FieldType::Integer, 4},
                          {"GROUP_NAME", FieldType::VarChar, 120}},
                         rows);
}

QVariantList ids(Recordset &rs)
{
    return column(rs, QStringLiteral("ID"));
}

// Adds whole grid rows to the selection, as Ctrl+clicks would.
void selectRows(FlexGrid &grid, std::initializer_list<int> rows)
{
    grid.SetSelMode(FlexGrid::SelectMode::ListBox);
    for (int row : rows) {
        const QModelIndex index = grid.GridModel()->index(row - grid.FixedRows(), 0);
        grid.selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

// An unbound grid whose column 0 holds the given ids, all rows selected.
void fillIds(FlexGrid &grid, const QStringList &idTexts)
{
    grid.SetCols(2);
    grid.SetRows(1);
    grid.SetTextMatrix(0, 0, QStringLiteral("ID"));
    for (const QString &id : idTexts)
        grid.AddItem(id + QStringLiteral("\tname"));
    grid.SetSelMode(FlexGrid::SelectMode::ListBox);
    grid.SelectAllRows();
}

QString descriptionOf(const std::function<void()> &failing)
{
    try {
        failing();
    } catch (const Error &e) {
        return e.description();
    }
    return {};
}

} // namespace

// --- Add to List

TEST(WorkingList_Add, AppendsTheSelectedRowsByTheListsOwnFieldNamesAndReopensOnTheFirstRow)
{
    auto source = results();
    FlexGrid grid;
    grid.BindToRecordset(source);
    auto list = workingList({{"Assemblage", 50, "Reef Fish"}});
    selectRows(grid, {3, 1});

    RS_Functions::AddSelectedToList(grid, *source, *list);

    EXPECT_EQ(ids(*list), (QVariantList{50, 10, 30})) << "grid row order, not click order";
    list->MoveFirst();
    list->Move(2);
    EXPECT_EQ(list->Value("group_type").toString(), "Assemblage");
    EXPECT_EQ(list->Value("GROUP_NAME").toString(), "Cave Fauna");
    EXPECT_EQ(list->FieldCount(), 3) << "fields of the source that the list lacks are not carried over";

    list->MoveLast();
    RS_Functions::AddSelectedToList(grid, *source, *list);
    EXPECT_EQ(list->State(), Recordset::StateOpen);
    EXPECT_EQ(list->AbsolutePosition(), 1);
    EXPECT_FALSE(list->Fields("ID").Optimize());
    EXPECT_FALSE(source->Fields("ID").Optimize());
}

TEST(WorkingList_Add, AddingTheSameRowsAgainNeverDuplicatesButStillReopensTheList)
{
    auto source = results();
    FlexGrid grid;
    grid.BindToRecordset(source);
    auto list = workingList();
    grid.SetSelMode(FlexGrid::SelectMode::ListBox);
    grid.Select(1, 0, 2, 0);

    RS_Functions::AddSelectedToList(grid, *source, *list);
    list->MoveFirst();
    list->SetValue("GROUP_NAME", "Renamed in the list");
    list->MoveLast();
    RS_Functions::AddSelectedToList(grid, *source, *list);

    EXPECT_EQ(ids(*list), (QVariantList{10, 20}));
    list->MoveFirst();
    EXPECT_EQ(list->Value("GROUP_NAME").toString(), "Renamed in the list") << "a row already listed is not updated";

    list->MoveLast();
    RS_Functions::AddSelectedToList(grid, *source, *list);
    EXPECT_EQ(list->AbsolutePosition(), 1);
    EXPECT_EQ(list->RecordCount(), 2);
}

TEST(WorkingList_Add, SkipsSelectedIdsThatTheSourceLacks)
{
    auto source = results();
    FlexGrid grid;
    fillIds(grid, {"20", "99", "40"});
    auto list = workingList();

    RS_Functions::AddSelectedToList(grid, *source, *list);
    EXPECT_EQ(ids(*list), (QVariantList{20, 40}));
}

TEST(WorkingList_Add, WithoutSelectionOrSourceRowsNothingIsTouched)
{
    auto source = results();
    FlexGrid grid;
    grid.BindToRecordset(source);
    auto list = workingList({{"Habitat", 1, "One"}, {"Habitat", 2, "Two"}});
    list->MoveLast();

    RS_Functions::AddSelectedToList(grid, *source, *list);
    EXPECT_EQ(list->AbsolutePosition(), 2) << "not reopened";
    EXPECT_FALSE(list->Fields("ID").Optimize());

    auto emptySource = makeRecordset(
        {{"ID", FieldType::Integer}, {"Group_Name", FieldType::VarChar}, {"Group_Type", FieldType::VarChar}});
    FlexGrid selected;
    fillIds(selected, {"10"});
    RS_Functions::AddSelectedToList(selected, *emptySource, *list);
    EXPECT_EQ(list->AbsolutePosition(), 2);
    EXPECT_EQ(list->RecordCount(), 2);
}

TEST(WorkingList_Add, AListFieldTheSourceLacksEndsTheAddAndALaterAddStillWorks)
{
    auto list =
        makeRecordset({{"ID", FieldType::Integer}, {"Status", FieldType::VarChar}, {"Group_Name", FieldType::VarChar}},
                      {{5, "Active", "Listed before"}});
    auto source = results();
    FlexGrid grid;
    fillIds(grid, {"10", "20"});

    try {
        RS_Functions::AddSelectedToList(grid, *source, *list);
        FAIL() << "the missing field must reach the caller";
    } catch (const Error &e) {
        EXPECT_EQ(e.number(), Error::FieldNotFound);
    }
    // The row being appended stays with the values set before the failing field.
    EXPECT_EQ(ids(*list), (QVariantList{5, 10}));
    EXPECT_EQ(column(*list, "Status"), (QVariantList{"Active", QVariant()}));

    auto fuller =
        makeRecordset({{"ID", FieldType::Integer}, {"Status", FieldType::VarChar}, {"Group_Name", FieldType::VarChar}},
                      {{20, "Draft", "Alpine Meadows"}, {10, "Draft", "Bog Plants"}});
    RS_Functions::AddSelectedToList(grid, *fuller, *list);
    EXPECT_EQ(list->AbsolutePosition(), 1);
    EXPECT_EQ(ids(*list), (QVariantList{5, 10, 20}));
    EXPECT_FALSE(list->Fields("ID").Optimize());
}

// --- Replace List

TEST(WorkingList_Replace, AnEmptySelectionKeepsTheListAndASelectionReplacesIt)
{
    auto source = results();
    FlexGrid grid;
    grid.BindToRecordset(source);
    auto list = workingList({{"Habitat", 20, "Alpine Meadows"}, {"Habitat", 77, "Not selected"}});
    list->MoveLast();

    RS_Functions::ReplaceListWithSelected(grid, *source, *list);
    EXPECT_EQ(ids(*list), (QVariantList{20, 77}));

    selectRows(grid, {4, 2});
    RS_Functions::ReplaceListWithSelected(grid, *source, *list);
    EXPECT_EQ(list->AbsolutePosition(), 1);
    EXPECT_EQ(ids(*list), (QVariantList{20, 40}));
    EXPECT_EQ(list->Filter(), QString());
}

// --- Clear

TEST(WorkingList_Clear, LeavesAnOpenEmptyUnfilteredSetWithTheSameFields)
{
    auto list = workingList({{"Habitat", 1, "One"}, {"Habitat", 2, "Two"}});
    list->SetFilter("ID = 2");
    RS_Functions::ClearRecordset(*list);
    EXPECT_EQ(list->State(), Recordset::StateOpen);
    EXPECT_EQ(list->RecordCount(), 0);
    EXPECT_EQ(list->Filter(), QString());
    ASSERT_EQ(list->FieldCount(), 3);
    EXPECT_EQ(list->FieldName(0), "group_type");
    EXPECT_EQ(list->FieldTypeAt(1), FieldType::Integer);

    list->AddNew({"Habitat", 3, "Three"});
    EXPECT_EQ(ids(*list), (QVariantList{3})) << "the cleared set takes rows again";

    auto empty = workingList();
    RS_Functions::ClearRecordset(*empty);
    EXPECT_EQ(empty->State(), Recordset::StateOpen);
    EXPECT_EQ(empty->RecordCount(), 0);
}

// --- Current row for a details screen

TEST(WorkingList_CurrentRow, MakesAOneRowSetInTheCloneLayoutWithoutMovingTheGrid)
{
    auto source =
        makeRecordset({{"ID", FieldType::BigInt}, {"Member_Count", FieldType::Integer}}, {{10, 12}, {20, 9}, {30, 3}});
    FlexGrid grid;
    grid.BindToRecordset(source);
    grid.SetRow(2);
    RecordsetPtr result = workingList({{"Old", 1, "Old"}});
    const RecordsetPtr before = result;

    RS_Functions::MakeCurrentRowRecordset(grid, *source, result);
    ASSERT_NE(result, before);
    EXPECT_EQ(before->RecordCount(), 1) << "the caller's old set is released, not emptied";
    EXPECT_EQ(result->FieldTypeAt(0), FieldType::BigInt);
    EXPECT_EQ(result->FieldTypeAt(1), FieldType::VarChar);
    EXPECT_EQ(result->AbsolutePosition(), 1) << "the new row stays current";
    EXPECT_EQ(result->Value("Member_Count"), QVariant(QStringLiteral("9")));
    EXPECT_EQ(result->RecordCount(), 1);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_FALSE(source->Fields("ID").Optimize());
}

TEST(WorkingList_CurrentRow, AGridWithoutDataRowsOrAnEmptySourceLeavesTheResultAlone)
{
    auto emptySource = makeRecordset({{"ID", FieldType::Integer}});
    FlexGrid headingOnly;
    headingOnly.BindToRecordset(emptySource);
    ASSERT_EQ(headingOnly.Rows(), 1);
    auto source = results();
    RecordsetPtr result = workingList({{"Kept", 1, "Kept"}});
    const RecordsetPtr before = result;

    RS_Functions::MakeCurrentRowRecordset(headingOnly, *source, result);
    EXPECT_EQ(result, before);

    FlexGrid grid;
    fillIds(grid, {"10"});
    grid.SetRow(1);
    RS_Functions::MakeCurrentRowRecordset(grid, *emptySource, result);
    EXPECT_EQ(result, before);
    EXPECT_EQ(ids(*result), (QVariantList{1}));

    // An id the source lacks still replaces the result, with an empty set.
    fillIds(grid, {"99"});
    grid.SetRow(1);
    RS_Functions::MakeCurrentRowRecordset(grid, *source, result);
    ASSERT_NE(result, before);
    EXPECT_EQ(result->RecordCount(), 0);
    EXPECT_EQ(result->FieldCount(), source->FieldCount());
}

// --- Merge of a single record

TEST(WorkingList_Merge, ANewIdIsAppendedAndAListedIdOverwritten)
{
    ScriptedUiServices ui;
    ScopedUiServices scope(ui);
    auto list = workingList({{"Habitat", 10, "Bog Plants"}, {"Habitat", 20, "Alpine Meadows"}});
    auto record = results();
    record->MoveNext(); // id 20: the record set's current row is the record
    record->SetValue("Group_Name", "Alpine Meadows (revised)");

    RS_Functions::MergeRecord(*record, *list);
    EXPECT_EQ(ids(*list), (QVariantList{10, 20}));
    EXPECT_EQ(column(*list, "Group_Name"), (QVariantList{"Bog Plants", "Alpine Meadows (revised)"}));
    EXPECT_EQ(record->AbsolutePosition(), 2);

    record->MoveLast();
    RS_Functions::MergeRecord(*record, *list);
    EXPECT_EQ(ids(*list), (QVariantList{10, 20, 40}));

    auto empty = workingList();
    RS_Functions::MergeRecord(*record, *empty);
    EXPECT_EQ(ids(*empty), (QVariantList{40}));
    EXPECT_TRUE(ui.boxes().isEmpty());
}

TEST(WorkingList_Merge, AClosedOrEmptyRecordSetChangesNothing)
{
    ScriptedUiServices ui;
    ScopedUiServices scope(ui);
    auto list = workingList({{"Habitat", 10, "Bog Plants"}});
    auto record = results();
    record->Close();
    RS_Functions::MergeRecord(*record, *list);
    auto empty = workingList();
    RS_Functions::MergeRecord(*empty, *list);
    EXPECT_EQ(ids(*list), (QVariantList{10}));
    EXPECT_TRUE(ui.boxes().isEmpty());
}

TEST(WorkingList_Merge, AFailureIsReportedInItsOwnBoxAndTheListKeepsWhatGotThere)
{
    ScriptedUiServices ui;
    ScopedUiServices scope(ui);
    ui.queueAnswer(Answer::OK);
    auto list = makeRecordset({{"ID", FieldType::Integer}, {"Status", FieldType::VarChar}}, {{10, "Active"}});
    auto record = results();
    record->MoveLast();
    const QString description = descriptionOf([&] { record->Value("Status"); });
    ASSERT_FALSE(description.isEmpty());

    EXPECT_NO_THROW(RS_Functions::MergeRecord(*record, *list));
    ASSERT_EQ(ui.boxes().size(), 1);
    const ScriptedUiServices::Box &box = ui.boxes().first();
    EXPECT_EQ(box.title, "Application Error");
    EXPECT_EQ(box.icon, MsgIcon::Information);
    EXPECT_EQ(box.buttons, MsgButtons::OK);
    EXPECT_EQ(box.text, "An error occurred while merging records.\r\n\r\n#3265: " + description);
    EXPECT_EQ(ids(*list), (QVariantList{10, 40}));
    EXPECT_TRUE(ui.failures().isEmpty());
}

#include "recordset/Misc_Functions.h"
#include "platform/FlexGrid.h"
#include "support/QueryOnlyAppManager.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace talv;

TEST(Misc_Functions, FormatGridCaptionsRewritesOnlyTheHeadingRow)
{
    FlexGrid grid;
    const QStringList headings = {
        "ELEMENT_GROUP_NAME", "element_group_id", "ID", "Group Name", "group  type", "A__B", "", " id_of THE _x_ "};
    const QStringList expected = {
        "Element Group Name", "Element Group ID", "ID", "Group Name", "Group  Type", "A  B", "", "ID Of The  X"};
    grid.SetCols(static_cast<int>(headings.size()));
    grid.SetRows(2);
    for (int c = 0; c < headings.size(); ++c) {
        grid.SetTextMatrix(0, c, headings[c]);
        grid.SetTextMatrix(1, c, QStringLiteral("element_group_id"));
        grid.SetColWidth(c, 40 + c);
    }
    Misc_Functions::FormatGridCaptions(grid);
    for (int c = 0; c < headings.size(); ++c) {
        EXPECT_EQ(grid.TextMatrix(0, c), expected[c]) << "heading \"" << headings[c].toStdString() << "\"";
        EXPECT_EQ(grid.TextMatrix(1, c), "element_group_id");
        EXPECT_EQ(grid.ColWidth(c), 40 + c);
    }
    // A heading that already is a caption comes out unchanged.
    Misc_Functions::FormatGridCaptions(grid);
    EXPECT_EQ(grid.TextMatrix(0, 0), "Element Group Name");
}

TEST(Misc_Functions, RecordExistsAsksTheHostDatabase)
{
    test::TestDatabase database;
    database.exec("CREATE TABLE element_group (element_group_id INTEGER, element_group_name TEXT)");
    database.exec("INSERT INTO element_group VALUES (7, 'Bog Plants'), (7, 'Twin'), (-3, 'Negative')");
    test::QueryOnlyAppManager host(database.db());

    EXPECT_TRUE(Misc_Functions::RecordExists("element_group", "element_group_id", 7, host));
    EXPECT_TRUE(Misc_Functions::RecordExists("element_group", "element_group_id", -3, host));
    EXPECT_FALSE(Misc_Functions::RecordExists("element_group", "element_group_id", 8, host));
    EXPECT_EQ(host.sqlSent.value(1), "Select * from element_group where element_group_id = -3");
    EXPECT_THROW(Misc_Functions::RecordExists("no_such_table", "id", 1, host), Error);
}

// The search statement from criteria alone.
#include "search/SearchSql.h"

#include "platform/Error.h"

#include <gtest/gtest.h>

using namespace talv::search;

namespace {

QString filtered(const QString &where)
{
    return QStringLiteral(
               "SELECT UNIQUE element_group.element_group_id as ID, element_group.element_group_name as Group_Name, "
               "d_element_group_type.element_group_type_desc as Group_Type FROM element_group, d_element_group_type "
               "WHERE element_group.d_element_group_type_id = d_element_group_type.d_element_group_type_id AND(") +
           where + QStringLiteral(") order by element_group_id");
}

} // namespace

TEST(SearchSqlTest, EachComparisonQuotesThenUpperCasesTheTypedName)
{
    const QString f = "F";
    EXPECT_EQ(NameCriterion(f, " 50% o_k ", Contains), "UPPER(F) LIKE '% 50% O_K %'");
    EXPECT_EQ(NameCriterion(f, "'", ExactMatch), "UPPER(F) = ''''");
    EXPECT_EQ(NameCriterion(f, "öland's", BeginsWith), "UPPER(F) LIKE 'ÖLAND''S%'");
    EXPECT_EQ(NameCriterion(f, "étang", EndsWith), "UPPER(F) LIKE '%ÉTANG'");
    EXPECT_EQ(NameCriterion(f, "a_v*r%", Wildcard), "UPPER(F) LIKE 'A_V*R%'");
    EXPECT_THROW(NameCriterion(f, "x", 5), talv::Error);
}

TEST(SearchSqlTest, StatementsForIdNameAndTypeCombinations)
{
    EXPECT_EQ(BuildSearchSQL({{}, "o'neil", BeginsWith, "T1"}),
              filtered("UPPER(element_group.element_group_name) LIKE 'O''NEIL%' AND "
                       "d_element_group_type.element_group_type_desc = 'T1'"));
    // A type alone, or with a name of blanks, has no leading AND.
    EXPECT_EQ(BuildSearchSQL({{}, "   ", Contains, "T1"}),
              filtered("d_element_group_type.element_group_type_desc = 'T1'"));
    // An id decides alone and goes in as typed, blanks and all.
    EXPECT_EQ(BuildSearchSQL({" 12 ", "x", Contains, "T1"}), filtered("element_group.element_group_id =  12 "));
    EXPECT_EQ(BuildSearchSQL({" ", " ", Contains, {}}),
              "SELECT UNIQUE element_group.element_group_id as ID, element_group.element_group_name as "
              "Group_Name, d_element_group_type.element_group_type_desc as Group_Type FROM element_group, "
              "d_element_group_type WHERE element_group.d_element_group_type_id = "
              "d_element_group_type.d_element_group_type_id ORDER BY element_group_id");
    EXPECT_EQ(BuildSearchSQL({"abc", "x", Contains, {}}), QString());
    EXPECT_FALSE(CriteriaEntered({" ", "  ", ExactMatch, " "}));
}

TEST(SearchSqlTest, OnlyNumbersPassAsIds)
{
    for (const char *ok : {"12", " 12 ", "+7", "-3", "1.5", "\t40"})
        EXPECT_TRUE(IsNumericGroupId(QString::fromUtf8(ok))) << ok;
    for (const char *bad : {"abc", "12a", "1 2", "12;", "0x1F", "--1", "1e5", "١٢"})
        EXPECT_FALSE(IsNumericGroupId(QString::fromUtf8(bad))) << bad;
}

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
    const QString f = QStringLiteral("F");
    EXPECT_EQ(NameCriterion(f, QStringLiteral(" 50% o_k "), Contains), QStringLiteral("UPPER(F) LIKE '% 50% O_K %'"));
    EXPECT_EQ(NameCriterion(f, QStringLiteral("'"), ExactMatch), QStringLiteral("UPPER(F) = ''''"));
    EXPECT_EQ(NameCriterion(f, QStringLiteral("öland's"), BeginsWith), QStringLiteral("UPPER(F) LIKE 'ÖLAND''S%'"));
    EXPECT_EQ(NameCriterion(f, QStringLiteral("étang"), EndsWith), QStringLiteral("UPPER(F) LIKE '%ÉTANG'"));
    EXPECT_EQ(NameCriterion(f, QStringLiteral("a_v*r%"), Wildcard), QStringLiteral("UPPER(F) LIKE 'A_V*R%'"));
    EXPECT_THROW(NameCriterion(f, QStringLiteral("x"), 5), talv::Error);
}

TEST(SearchSqlTest, StatementsForIdNameAndTypeCombinations)
{
    EXPECT_EQ(BuildSearchSQL({{}, QStringLiteral("o'neil"), BeginsWith, QStringLiteral("T1")}),
              filtered(QStringLiteral("UPPER(element_group.element_group_name) LIKE 'O''NEIL%' AND "
                                      "d_element_group_type.element_group_type_desc = 'T1'")));
    // A type alone, or with a name of blanks, has no leading AND.
    EXPECT_EQ(BuildSearchSQL({{}, QStringLiteral("   "), Contains, QStringLiteral("T1")}),
              filtered(QStringLiteral("d_element_group_type.element_group_type_desc = 'T1'")));
    // An id decides alone and goes in as typed, blanks and all.
    EXPECT_EQ(BuildSearchSQL({QStringLiteral(" 12 "), QStringLiteral("x"), Contains, QStringLiteral("T1")}),
              filtered(QStringLiteral("element_group.element_group_id =  12 ")));
    EXPECT_EQ(
        BuildSearchSQL({QStringLiteral(" "), QStringLiteral(" "), Contains, {}}),
        QStringLiteral("SELECT UNIQUE element_group.element_group_id as ID, element_group.element_group_name as "
                       "Group_Name, d_element_group_type.element_group_type_desc as Group_Type FROM element_group, "
                       "d_element_group_type WHERE element_group.d_element_group_type_id = "
                       "d_element_group_type.d_element_group_type_id ORDER BY element_group_id"));
    EXPECT_EQ(BuildSearchSQL({QStringLiteral("abc"), QStringLiteral("x"), Contains, {}}), QString());
    EXPECT_FALSE(CriteriaEntered({QStringLiteral(" "), QStringLiteral("  "), ExactMatch, QStringLiteral(" ")}));
}

TEST(SearchSqlTest, OnlyNumbersPassAsIds)
{
    for (const char *ok : {"12", " 12 ", "+7", "-3", "1.5", "\t40"})
        EXPECT_TRUE(IsNumericGroupId(QString::fromUtf8(ok))) << ok;
    for (const char *bad : {"abc", "12a", "1 2", "12;", "0x1F", "--1", "1e5", "١٢"})
        EXPECT_FALSE(IsNumericGroupId(QString::fromUtf8(bad))) << bad;
}

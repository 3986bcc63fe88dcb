// The search statement from criteria alone.
#include "search/SearchSql.h"

#include "platform/Error.h"

#include <gtest/gtest.h>

using namespace talv::search;

namespace {

const QString Columns = QStringLiteral(
    "SELECT UNIQUE element_group.element_group_id as ID, element_group.element_group_name as Group_Name, "
    "d_element_group_type.element_group_type_desc as Group_Type ");

QString filtered(const QString &where)
{
    return Columns
           + QStringLiteral("FROM element_group, d_element_group_type WHERE element_group.d_element_group_type_id = "
                            "d_element_group_type.d_element_group_type_id AND(")
           + where + QStringLiteral(") order by element_group_id");
}

const QString AllGroups =
    Columns
    + QStringLiteral("FROM element_group, d_element_group_type WHERE element_group.d_element_group_type_id = "
                     "d_element_group_type.d_element_group_type_id ORDER BY element_group_id");

} // namespace

TEST(NameCriterionTest, EachComparisonGivesItsClause)
{
    const QString f = QStringLiteral("element_group.element_group_name");
    const QString name = QStringLiteral("Alvar");
    EXPECT_EQ(NameCriterion(f, name, Contains), QStringLiteral("UPPER(element_group.element_group_name) LIKE '%ALVAR%'"));
    EXPECT_EQ(NameCriterion(f, name, ExactMatch), QStringLiteral("UPPER(element_group.element_group_name) = 'ALVAR'"));
    EXPECT_EQ(NameCriterion(f, name, BeginsWith), QStringLiteral("UPPER(element_group.element_group_name) LIKE 'ALVAR%'"));
    EXPECT_EQ(NameCriterion(f, name, EndsWith), QStringLiteral("UPPER(element_group.element_group_name) LIKE '%ALVAR'"));
    EXPECT_EQ(NameCriterion(f, QStringLiteral("a_v*r%"), Wildcard),
              QStringLiteral("UPPER(element_group.element_group_name) LIKE 'A_V*R%'"));
    EXPECT_THROW(NameCriterion(f, name, 5), talv::Error);
    EXPECT_THROW(NameCriterion(f, name, -1), talv::Error);
    EXPECT_EQ(NameComparisonItems(), (QStringList{QStringLiteral("Contains"), QStringLiteral("Exact Match"),
                                                  QStringLiteral("Begins with"), QStringLiteral("Ends with"),
                                                  QStringLiteral("Wildcard")}));
}

TEST(NameCriterionTest, FreeTextIsQuotedThenUpperCasedAndOtherwiseLeftAlone)
{
    const QString f = QStringLiteral("F");
    // A lone apostrophe is doubled inside the quotes.
    EXPECT_EQ(NameCriterion(f, QStringLiteral("'"), ExactMatch), QStringLiteral("UPPER(F) = ''''"));
    // Blanks are kept, not trimmed; percent signs and underscores stay the user's wildcards.
    EXPECT_EQ(NameCriterion(f, QStringLiteral(" 50% o_k "), Contains), QStringLiteral("UPPER(F) LIKE '% 50% O_K %'"));
    // Letters outside ASCII are upper-cased like the others.
    EXPECT_EQ(NameCriterion(f, QStringLiteral("stora alvaret, öland"), BeginsWith),
              QStringLiteral("UPPER(F) LIKE 'STORA ALVARET, ÖLAND%'"));
    EXPECT_EQ(DoubleQuotes(QStringLiteral("Ram's-head Lady's")), QStringLiteral("Ram''s-head Lady''s"));
    EXPECT_EQ(DoubleQuotes(QStringLiteral("''")), QStringLiteral("''''"));
}

TEST(BuildSearchSqlTest, StatementsForIdNameAndTypeCombinations)
{
    // The example of the name o'neil beginning a name, with a type.
    EXPECT_EQ(BuildSearchSQL({{}, QStringLiteral("o'neil"), BeginsWith, QStringLiteral("T1")}),
              filtered(QStringLiteral("UPPER(element_group.element_group_name) LIKE 'O''NEIL%' AND "
                                      "d_element_group_type.element_group_type_desc = 'T1'")));
    // A type alone has no leading AND.
    EXPECT_EQ(BuildSearchSQL({{}, {}, Contains, QStringLiteral("Management Unit")}),
              filtered(QStringLiteral("d_element_group_type.element_group_type_desc = 'Management Unit'")));
    // A name made of blanks counts as none.
    EXPECT_EQ(BuildSearchSQL({{}, QStringLiteral("   "), Contains, QStringLiteral("T1")}),
              filtered(QStringLiteral("d_element_group_type.element_group_type_desc = 'T1'")));
    // An id decides alone and goes in as typed, blanks and all.
    EXPECT_EQ(BuildSearchSQL({QStringLiteral(" 12 "), QStringLiteral("x"), Contains, QStringLiteral("T1")}),
              filtered(QStringLiteral("element_group.element_group_id =  12 ")));
    EXPECT_EQ(BuildSearchSQL({}), AllGroups);
    EXPECT_EQ(BuildSearchSQL({QStringLiteral("  "), QStringLiteral(" "), Contains, {}}), AllGroups);
    EXPECT_EQ(BuildSearchSQL({QStringLiteral("abc"), QStringLiteral("x"), Contains, {}}), QString());
}

TEST(BuildSearchSqlTest, OnlyNumbersPassAsIds)
{
    for (const char *ok : {"12", " 12 ", "+7", "-3", "1.5", "\t40"})
        EXPECT_TRUE(IsNumericGroupId(QString::fromUtf8(ok))) << ok;
    for (const char *bad : {"abc", "12a", "1 2", "12;", "0x1F", "--1", "", "1e5", "١٢"})
        EXPECT_FALSE(IsNumericGroupId(QString::fromUtf8(bad))) << bad;
}

TEST(BuildSearchSqlTest, CriteriaEnteredIgnoresBlanks)
{
    EXPECT_FALSE(CriteriaEntered({QStringLiteral(" "), QStringLiteral("  "), ExactMatch, QStringLiteral(" ")}));
    EXPECT_TRUE(CriteriaEntered({{}, {}, Contains, QStringLiteral("T1")}));
    EXPECT_TRUE(CriteriaEntered({QStringLiteral("x"), {}, Contains, {}}));
}

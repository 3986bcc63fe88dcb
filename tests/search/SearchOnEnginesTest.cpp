// Searching by name on SQLite and PostgreSQL alike: quotes, wildcards, letters beyond ASCII.
#include "SearchTestSupport.h"

using namespace talv;
using namespace talv::search;

namespace {

// What LIKE finds among upper-cased names, worked out here rather than by the database: "%" any
// text, "_" any one character, everything else itself.
bool likeMatches(const QString &name, const QString &pattern)
{
    QString regex;
    for (const QChar c : pattern)
        regex += c == u'%' ? QStringLiteral(".*") : c == u'_' ? QStringLiteral(".") : QRegularExpression::escape(c);
    return QRegularExpression(QRegularExpression::anchoredPattern(regex)).match(name.toUpper()).hasMatch();
}

using SearchOnEngines = test::OnBothEngines<test::SearchScreenTest>;

TEST_P(SearchOnEngines, NamesWithQuotesWildcardsAndAccentsFindTheirGroups)
{
    // Every group as "id|name|type", read beside the screen, in id order.
    QStringList groups;
    QSqlQuery q =
        host->query("SELECT g.element_group_id, g.element_group_name, t.element_group_type_desc FROM element_group g "
                    "JOIN d_element_group_type t ON t.d_element_group_type_id = g.d_element_group_type_id "
                    "ORDER BY g.element_group_id");
    while (q.next())
        groups << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()}.join(u'|');

    struct Case {
        const char *typed;
        int comparison;
        const char *like; // the pattern the typed text stands for
        int atLeast;      // rows the sample data is known to hold, so that an empty answer cannot pass
    };
    const Case cases[] = {
        {"lady's-slippers", Contains, "%LADY'S-SLIPPERS%", 3},
        {"öland", EndsWith, "%ÖLAND", 2},
        {"Alvar Plants of the Stora Alvaret, Öland", ExactMatch, "ALVAR PLANTS OF THE STORA ALVARET, ÖLAND", 1},
        {"camargue étangs", Contains, "%CAMARGUE ÉTANGS%", 1},
        {"gaspé", Contains, "%GASPÉ%", 2},   // stored with a small é: the database must upper-case it too
        {"lady_s", Contains, "%LADY_S%", 3}, // the underscore stands for the apostrophe
        {"%of the%", Wildcard, "%OF THE%", 5},
        {"'", BeginsWith, "'%", 0},
    };
    for (const Case &c : cases) {
        QStringList want;
        for (const QString &g : groups)
            if (likeMatches(g.section(u'|', 1, 1), QString::fromUtf8(c.like)))
                want << g;
        EXPECT_GE(want.size(), c.atLeast) << c.typed;
        test::enterCriteria(screen, {}, {}, c.comparison);
        EXPECT_EQ(test::gridRows(*test::findByName(screen, QString::fromUtf8(c.typed))), want) << c.typed;
    }
    test::enterCriteria(screen, {}, {}, Contains, "Habitat Association");
    FlexGrid *grid = test::findByName(screen, {});
    EXPECT_EQ(test::gridRows(*grid), groups.filter("|Habitat Association"));
    // Captions read alike though PostgreSQL answers the fields in lower case.
    EXPECT_EQ(test::gridRows(*grid, true), QStringList{"ID|Group Name|Group Type"});
    EXPECT_TRUE(host->ui.boxes().isEmpty());
}

TALV_ON_BOTH_ENGINES(SearchOnEngines);

} // namespace

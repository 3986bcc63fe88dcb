// Searches by name on SQLite and PostgreSQL alike: quotes, wildcards and letters beyond ASCII.
#include "SearchTestSupport.h"

#include <QComboBox>
#include <QPushButton>
#include <QRegularExpression>

using namespace talv;
using namespace talv::search;

namespace {

struct Group {
    QString id;
    QString name;
    QString type;
};

// What LIKE on upper-cased names should find, worked out here rather than by the database:
// "%" any text, "_" any one character, everything else itself.
bool likeMatches(const QString &text, const QString &pattern)
{
    QString regex;
    for (const QChar c : pattern)
        regex += c == u'%' ? QStringLiteral(".*") : c == u'_' ? QStringLiteral(".") : QRegularExpression::escape(c);
    return QRegularExpression(QRegularExpression::anchoredPattern(regex), QRegularExpression::DotMatchesEverythingOption)
        .match(text)
        .hasMatch();
}

QString likePattern(const QString &typed, int comparison)
{
    const QString v = typed.toUpper();
    switch (comparison) {
    case Contains:
        return u'%' + v + u'%';
    case BeginsWith:
        return v + u'%';
    case EndsWith:
        return u'%' + v;
    default:
        return v;
    }
}

class SearchOnEngines : public ::testing::TestWithParam<talv::host::Engine>
{
protected:
    void SetUp() override
    {
        std::string whyNot;
        host = test::SearchHost::start(GetParam(), &whyNot);
        if (!host)
            GTEST_SKIP() << whyNot;
        screen = host->openSearch();
        ASSERT_NE(screen, nullptr);
        QSqlQuery q = host->query(QStringLiteral(
            "SELECT g.element_group_id, g.element_group_name, t.element_group_type_desc FROM element_group g "
            "JOIN d_element_group_type t ON t.d_element_group_type_id = g.d_element_group_type_id"));
        while (q.next())
            groups.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString()});
    }

    void TearDown() override
    {
        if (!host)
            return;
        EXPECT_TRUE(host->ui.failures().isEmpty()) << host->ui.failures().join(u'\n').toStdString();
        EXPECT_TRUE(host->ui.boxes().isEmpty());
    }

    // The ids the grid shows after searching for `typed` with `comparison` and `type`.
    QStringList search(const QString &typed, int comparison, const QString &type = {})
    {
        test::child<QLineEdit>(screen, QStringLiteral("txtGroupName"))->setText(typed);
        test::child<QComboBox>(screen, QStringLiteral("cboGroupNameComparison"))->setCurrentIndex(comparison);
        test::child<QComboBox>(screen, QStringLiteral("cboElementGroupType"))->setCurrentText(type);
        test::child<QPushButton>(screen, QStringLiteral("cmdFindNow"))->click();
        const auto *grid = test::child<FlexGrid>(screen, QStringLiteral("fgResults"));
        QStringList ids;
        for (int r = 1; r < grid->Rows(); ++r)
            ids << grid->TextMatrix(r, 0);
        return ids;
    }

    QStringList expected(const QString &typed, int comparison, const QString &type = {}) const
    {
        QList<qint64> ids;
        for (const Group &g : groups)
            if (likeMatches(g.name.toUpper(), likePattern(typed, comparison)) && (type.isEmpty() || g.type == type))
                ids << g.id.toLongLong();
        std::sort(ids.begin(), ids.end());
        QStringList out;
        for (qint64 id : ids)
            out << QString::number(id);
        return out;
    }

    std::unique_ptr<test::SearchHost> host;
    ELGroupSearch *screen = nullptr;
    QList<Group> groups;
};

TEST_P(SearchOnEngines, NamesWithQuotesWildcardsAndAccentsFindTheirGroups)
{
    struct Case {
        const char *typed;
        int comparison;
        const char *type;
        int atLeast; // rows the sample data is known to hold, so an empty answer cannot pass
    };
    const Case cases[] = {
        {"lady's-slippers", Contains, "", 3},
        {"öland", EndsWith, "", 2},
        {"Alvar Plants of the Stora Alvaret, Öland", ExactMatch, "", 1},
        {"camargue étangs", Contains, "", 1},
        {"lady_s", Contains, "", 3}, // the underscore stands for the apostrophe
        {"%of the%", Wildcard, "", 5},
        {"'", Contains, "", 3},
        {"alpine", BeginsWith, "", 1},
        {"of", Contains, "Habitat Association", 1},
    };
    for (const Case &c : cases) {
        const QString typed = QString::fromUtf8(c.typed);
        const QString type = QString::fromUtf8(c.type);
        const QStringList want = expected(typed, c.comparison, type);
        EXPECT_GE(want.size(), c.atLeast) << c.typed;
        EXPECT_EQ(search(typed, c.comparison, type), want) << c.typed;
    }
}

TEST_P(SearchOnEngines, ResultsAreCaptionedAlikeOnBothEngines)
{
    search(QStringLiteral("alvar"), Contains);
    const auto *grid = test::child<FlexGrid>(screen, QStringLiteral("fgResults"));
    EXPECT_EQ(test::gridHeadings(*grid),
              (QStringList{QStringLiteral("ID"), QStringLiteral("Group Name"), QStringLiteral("Group Type")}));
    // Ids keep their numeric order, the rows their names and types.
    const QStringList rows = test::gridRows(*grid);
    ASSERT_FALSE(rows.isEmpty());
    for (const QString &row : rows) {
        const QStringList cells = row.split(u'|');
        const auto g = std::find_if(groups.cbegin(), groups.cend(), [&](const Group &x) { return x.id == cells[0]; });
        ASSERT_NE(g, groups.cend());
        EXPECT_EQ(cells, (QStringList{g->id, g->name, g->type}));
    }
}

TALV_ON_BOTH_ENGINES(SearchOnEngines);

} // namespace

#include "SiblingSearchSql.h"

#include "platform/Error.h"
#include "search/SearchSql.h"

#include <QRegularExpression>

namespace talv::clients {

namespace {

QString containsClause(const QString &column, const QString &text)
{
    // Both sides upper-cased, so that the engines' letter-case rules for LIKE do not matter.
    return QStringLiteral("UPPER(%1) LIKE '%%2%' ESCAPE '\\'").arg(column, LikeLiteral(text.toUpper()));
}

QString clauseFor(const SearchCriterion &criterion, const QString &value)
{
    switch (criterion.match) {
    case CriterionMatch::Number: {
        bool whole = false;
        const qint64 number = value.trimmed().toLongLong(&whole);
        if (!whole)
            throw Error(Error::InvalidArgument,
                        QStringLiteral("The %1 must be a whole number.").arg(criterion.caption));
        return QStringLiteral("%1 = %2").arg(criterion.column).arg(number);
    }
    case CriterionMatch::Contains:
        return containsClause(criterion.column, value.trimmed());
    case CriterionMatch::AllWords: {
        static const QRegularExpression blanks(QStringLiteral("\\s+"));
        QStringList clauses;
        for (const QString &word : value.split(blanks, Qt::SkipEmptyParts))
            clauses << containsClause(criterion.column, word);
        return clauses.join(QStringLiteral(" AND "));
    }
    }
    return {};
}

} // namespace

QString LikeLiteral(const QString &value)
{
    QString escaped;
    escaped.reserve(value.size() + 8);
    for (const QChar c : value) {
        if (c == u'\\' || c == u'%' || c == u'_')
            escaped += u'\\';
        escaped += c;
    }
    return search::DoubleQuotes(escaped);
}

QString KindFromExtraText(const QString &extraText, const QStringList &kinds)
{
    const QString kind = extraText.section(u',', -1).trimmed();
    return kinds.contains(kind) ? kind : QString();
}

QString BuildSiblingSearchSql(const SearchStatement &statement, const QStringList &values, const QString &kind)
{
    QStringList clauses;
    for (qsizetype i = 0; i < statement.criteria.size() && i < values.size(); ++i) {
        if (!values[i].trimmed().isEmpty())
            clauses << clauseFor(statement.criteria[i], values[i]);
    }
    if (!kind.isEmpty() && !statement.kindColumn.isEmpty())
        clauses << QStringLiteral("%1 = '%2'").arg(statement.kindColumn, search::DoubleQuotes(kind));

    QString sql = QStringLiteral("SELECT * FROM ") + statement.listView;
    if (!clauses.isEmpty())
        sql += QStringLiteral(" WHERE ") + clauses.join(QStringLiteral(" AND "));
    if (!statement.orderBy.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + statement.orderBy;
    return sql;
}

} // namespace talv::clients

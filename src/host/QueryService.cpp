#include "QueryService.h"

#include "PostgresQuery.h"
#include "SqliteReader.h"
#include "platform/Error.h"

#include <QRegularExpression>
#include <QSqlDriver>

namespace talv::host {

QString QueryService::AdaptDialect(const QString &sql)
{
    static const QRegularExpression selectUnique(QStringLiteral("^(\\s*SELECT\\s+)UNIQUE\\b"),
                                                 QRegularExpression::CaseInsensitiveOption);
    QString adapted = sql;
    const auto match = selectUnique.match(adapted);
    if (match.hasMatch())
        adapted.replace(match.capturedStart(0), match.capturedLength(0),
                        match.captured(1) + QStringLiteral("DISTINCT"));
    return adapted;
}

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

// The end (one past the closing quote) of the quoted text or name that starts at `start`; a
// doubled quote stays inside, and so does an escaped one where backslashes escape.
qsizetype endOfQuoted(const QString &sql, qsizetype start, QChar quote, bool backslashEscapes)
{
    qsizetype i = start + 1;
    while (i < sql.size()) {
        if (backslashEscapes && sql[i] == u'\\') {
            i += 2;
        } else if (sql[i] == quote) {
            if (i + 1 < sql.size() && sql[i + 1] == quote)
                i += 2;
            else
                return i + 1;
        } else {
            ++i;
        }
    }
    return sql.size();
}

// The end of the comment or dollar-quoted text that starts at `start`, or `start` when none does.
qsizetype endOfCommentOrDollarQuote(const QString &sql, qsizetype start)
{
    const QStringView rest = QStringView(sql).mid(start);
    if (rest.startsWith(u"--")) {
        const qsizetype newline = sql.indexOf(u'\n', start);
        return newline < 0 ? sql.size() : newline + 1;
    }
    if (rest.startsWith(u"/*")) {
        // PostgreSQL's block comments nest.
        int depth = 0;
        for (qsizetype i = start; i + 1 < sql.size(); ++i) {
            if (sql[i] == u'/' && sql[i + 1] == u'*') {
                ++depth;
                ++i;
            } else if (sql[i] == u'*' && sql[i + 1] == u'/') {
                ++i;
                if (--depth == 0)
                    return i + 1;
            }
        }
        return sql.size();
    }
    if (sql[start] != u'$')
        return start;
    static const QRegularExpression dollarTag(QStringLiteral("\\$([A-Za-z_][A-Za-z0-9_]*)?\\$"));
    const auto tag =
        dollarTag.match(sql, start, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
    if (tag.hasMatch()) {
        const qsizetype close = sql.indexOf(tag.captured(0), tag.capturedEnd(0));
        return close < 0 ? sql.size() : close + tag.capturedLength(0);
    }
    return start;
}

bool nextWordIs(const QString &sql, qsizetype from, QLatin1StringView word)
{
    while (from < sql.size() && sql[from].isSpace())
        ++from;
    const qsizetype end = from + word.size();
    return QStringView(sql).mid(from, word.size()).compare(word, Qt::CaseInsensitive) == 0 &&
           (end >= sql.size() || !isWordChar(sql[end]));
}

} // namespace

QString QueryService::AdaptLikeEscapes(const QString &sql)
{
    QString out;
    out.reserve(sql.size() + 16);
    bool afterLike = false; // the last thing outside texts and comments was LIKE or ILIKE
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        const qsizetype skipped = endOfCommentOrDollarQuote(sql, i);
        if (skipped > i) {
            out += QStringView(sql).mid(i, skipped - i);
            if (c == u'$')
                afterLike = false;
            i = skipped;
        } else if (c == u'\'' || c == u'"') {
            const qsizetype end = endOfQuoted(sql, i, c, false);
            out += QStringView(sql).mid(i, end - i);
            i = end;
            if (c == u'\'' && afterLike && !nextWordIs(sql, i, QLatin1StringView("ESCAPE")))
                out += QStringLiteral(" ESCAPE ''");
            afterLike = false;
        } else if (isWordChar(c) && !c.isDigit()) {
            qsizetype end = i;
            while (end < sql.size() && isWordChar(sql[end]))
                ++end;
            const QStringView word = QStringView(sql).mid(i, end - i);
            if (word.compare(u"E", Qt::CaseInsensitive) == 0 && end < sql.size() && sql[end] == u'\'') {
                // E'...' holds its own backslash escapes: the caller meant them.
                end = endOfQuoted(sql, end, u'\'', true);
                afterLike = false;
            } else {
                afterLike =
                    word.compare(u"LIKE", Qt::CaseInsensitive) == 0 || word.compare(u"ILIKE", Qt::CaseInsensitive) == 0;
            }
            out += QStringView(sql).mid(i, end - i);
            i = end;
        } else {
            if (!c.isSpace())
                afterLike = false;
            out += c;
            ++i;
        }
    }
    return out;
}

RecordsetPtr QueryService::Run(const QString &statement) const
{
    if (!m_db.isOpen())
        throw Error(Error::Database, QStringLiteral("The connection to the database is closed."));
    // The screens' texts are run as they are: they carry no parameters to bind.
    if (m_db.driver() && m_db.driver()->dbmsType() == QSqlDriver::SQLite)
        return readSqlite(m_db, AdaptDialect(statement));
    return readPostgres(m_db, AdaptLikeEscapes(AdaptDialect(statement)));
}

} // namespace talv::host

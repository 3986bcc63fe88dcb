#include "QueryService.h"

#include "BoundSql.h"
#include "SqliteReader.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

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

// PostgreSQL's simple protocol runs every statement of a text; the service runs exactly one, on
// either engine, so a text with a second statement behind a ";" is refused before it runs.
void requireSingleStatement(const QString &text)
{
    QChar quote;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u';') {
            for (qsizetype j = i + 1; j < text.size(); ++j)
                if (!text[j].isSpace() && text[j] != u';')
                    throw Error(Error::Database, QStringLiteral("Only one statement can be run at a time."));
            return;
        }
    }
}

} // namespace

RecordsetPtr QueryService::Run(const QString &statement) const
{
    if (!m_db.isOpen())
        throw Error(Error::Database, QStringLiteral("The connection to the database is closed."));
    requireSingleStatement(statement);
    // The screens' texts are run as they are: they carry no parameters to bind.
    if (m_db.driver() && m_db.driver()->dbmsType() == QSqlDriver::SQLite)
        return readSqlite(m_db, AdaptDialect(statement));
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(AdaptDialect(statement))) {
        const QString message = query.lastError().text().trimmed();
        throw Error(Error::Database,
                    message.isEmpty() ? QStringLiteral("The database refused the statement.") : message);
    }
    return sql::toRecordset(query);
}

} // namespace talv::host

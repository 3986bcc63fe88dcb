#include "QueryService.h"

#include "BoundSql.h"

#include <QRegularExpression>
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
        adapted.replace(match.capturedStart(0), match.capturedLength(0), match.captured(1) + QStringLiteral("DISTINCT"));
    return adapted;
}

RecordsetPtr QueryService::Run(const QString &statement) const
{
    // The screens' texts are run as they are: they carry no parameters to bind.
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(AdaptDialect(statement)))
        throw Error(Error::Database, query.lastError().text());
    return sql::toRecordset(query);
}

} // namespace talv::host

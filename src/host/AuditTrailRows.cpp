#include "AuditTrailRows.h"

#include "BoundSql.h"

namespace talv::host {

RecordsetPtr auditTrailRows(const QSqlDatabase &db, const QString &tableName, qint32 recordId,
                            const QString &columnName)
{
    QString statement = QStringLiteral(
        "SELECT ID, CHANGE_DATE, USER_NAME, TABLE_NAME, ACTION, COLUMN_NAME, OLD_VALUE, COMMENTS, PRIMARY_KEY, "
        "ORG_UNIT_ID, RECORD_ID, AUDIT_LOG_COLUMN_ID FROM AUDIT_TRAIL_VW WHERE RECORD_TABLE = ? AND RECORD_ID = ?");
    QVariantList values{tableName.trimmed().toUpper(), recordId};
    if (!columnName.trimmed().isEmpty()) {
        statement += QStringLiteral(" AND COLUMN_NAME = ?");
        values.append(columnName.trimmed().toLower());
    }
    statement += QStringLiteral(" ORDER BY CHANGE_DATE, ID, AUDIT_LOG_COLUMN_ID");
    return sql::recordset(db, statement, values);
}

} // namespace talv::host

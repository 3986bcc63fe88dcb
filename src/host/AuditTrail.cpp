#include "AuditTrail.h"

#include "BoundSql.h"
#include "platform/Error.h"

#include <QSqlField>
#include <QSqlRecord>

namespace talv::host {

namespace {

QList<AuditTrail::ColumnChange> valuesOf(const QSqlRecord &row, const QStringList &skip, bool asOld)
{
    QList<AuditTrail::ColumnChange> out;
    for (int i = 0; i < row.count(); ++i) {
        const QString column = row.fieldName(i).toLower();
        if (row.isNull(i) || skip.contains(column, Qt::CaseInsensitive))
            continue;
        const QVariant text = sql::auditText(row.value(i));
        out.append(asOld ? AuditTrail::ColumnChange{column, text, {}} : AuditTrail::ColumnChange{column, {}, text});
    }
    return out;
}

} // namespace

AuditTrail::AuditTrail(QSqlDatabase db, IdSource nextId) : m_db(std::move(db)), m_nextId(std::move(nextId))
{}

void AuditTrail::write(const Entry &entry, const QString &userName, qint32 orgUnitId) const
{
    const qint64 logId = m_nextId(QStringLiteral("audit_log_seq"));
    sql::exec(m_db,
              QStringLiteral("INSERT INTO audit_log (audit_log_id, record_table, record_id, table_name, primary_key, "
                             "action, user_name, change_date, org_unit_id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
              {logId, entry.recordTable.toUpper(), entry.recordId, entry.tableName.toUpper(), entry.primaryKey,
               QString(entry.action), userName, sql::now(), orgUnitId > 0 ? QVariant(orgUnitId) : QVariant()});
    for (const ColumnChange &change : entry.columns) {
        const QVariant nullText(QMetaType(QMetaType::QString));
        sql::exec(m_db,
                  QStringLiteral("INSERT INTO audit_log_column (audit_log_column_id, audit_log_id, column_name, "
                                 "old_value, new_value) VALUES (?, ?, ?, ?, ?)"),
                  {m_nextId(QStringLiteral("audit_log_column_seq")), logId, change.column.toLower(),
                   change.oldValue.isNull() ? nullText : change.oldValue,
                   change.newValue.isNull() ? nullText : change.newValue});
    }
}

RecordsetPtr AuditTrail::rows(const QString &tableName, qint32 recordId, const QString &columnName) const
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
    return sql::recordset(m_db, statement, values);
}

QList<AuditTrail::ColumnChange> AuditTrail::deletedValues(const QSqlRecord &row, const QStringList &skip)
{
    return valuesOf(row, skip, true);
}

QList<AuditTrail::ColumnChange> AuditTrail::insertedValues(const QSqlRecord &row, const QStringList &skip)
{
    return valuesOf(row, skip, false);
}

} // namespace talv::host

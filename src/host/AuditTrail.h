#pragma once

#include "platform/Recordset.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include <functional>

namespace talv::host {

// The audit trail: writes one audit_log row per written row with one audit_log_column row per
// column, and reads the trail of a record for the audit viewer. Writes join the caller's
// transaction.
class AuditTrail
{
public:
    struct ColumnChange {
        QString column;    // lower case, as the trail stores it
        QVariant oldValue; // null for an insert
        QVariant newValue; // null for a delete
    };
    struct Entry {
        QString recordTable; // the record whose trail this is, e.g. ELEMENT_GROUP
        qint32 recordId = 0;
        QString tableName;  // the row actually written
        QString primaryKey; // "12" or "12,340" for a two-column key
        QChar action;       // 'I', 'U' or 'D'
        QList<ColumnChange> columns;
    };
    using IdSource = std::function<qint64(const QString &sequence)>;

    AuditTrail(QSqlDatabase db, IdSource nextId);

    // Files `entry` under the user and org unit; raises talv::Error (Database) on failure.
    void write(const Entry &entry, const QString &userName, qint32 orgUnitId) const;

    // The audit rows of a record (and of one column when `columnName` is not empty), oldest first,
    // in the viewer's twelve columns: ID, CHANGE_DATE, USER_NAME, TABLE_NAME, ACTION, COLUMN_NAME,
    // OLD_VALUE, COMMENTS, PRIMARY_KEY, ORG_UNIT_ID, RECORD_ID, AUDIT_LOG_COLUMN_ID.
    RecordsetPtr rows(const QString &tableName, qint32 recordId, const QString &columnName) const;

    // Column changes for every non-null value of a row, as a delete (old values) or an insert
    // (new values) records them; `skip` names columns left out (the keys, named in primaryKey).
    static QList<ColumnChange> deletedValues(const QSqlRecord &row, const QStringList &skip = {});
    static QList<ColumnChange> insertedValues(const QSqlRecord &row, const QStringList &skip = {});

private:
    QSqlDatabase m_db;
    IdSource m_nextId;
};

} // namespace talv::host

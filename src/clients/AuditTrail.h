#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace talv::clients {

// The writer of the audit trail: one audit_log row per written row with one audit_log_column row
// per column, in the caller's transaction, so a change and its trail commit or vanish together.
// The business clients' saves and the host's own group writes both file through it.
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
    // Who writes: the trail names them and their organisation unit.
    struct Author {
        QString userName;
        qint32 orgUnitId = 0;
    };
    using IdSource = std::function<qint64(const QString &sequence)>;

    AuditTrail(QSqlDatabase db, IdSource nextId);

    // Files `entry` under the author; raises talv::Error (InvalidArgument without a user name,
    // Database on failure).
    void write(const Entry &entry, const Author &author) const;

    // Column changes for every non-null value of a row, as a delete (old values) or an insert
    // (new values) records them; `skip` names columns left out.
    static QList<ColumnChange> deletedValues(const QSqlRecord &row, const QStringList &skip = {});
    static QList<ColumnChange> insertedValues(const QSqlRecord &row, const QStringList &skip = {});

private:
    QSqlDatabase m_db;
    IdSource m_nextId;
};

// A value as the audit trail stores it: dates as "YYYY-MM-DD HH:MM:SS", null stays a null text.
QVariant auditText(const QVariant &value);

// The current time in the text form both engines accept for their date columns.
QString auditNow();

} // namespace talv::clients

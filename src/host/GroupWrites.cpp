#include "GroupWrites.h"

#include "BoundSql.h"
#include "platform/Error.h"

#include <QHash>
#include <QSet>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlRecord>

namespace talv::host {

namespace {

const QString kGroupTable = QStringLiteral("ELEMENT_GROUP");

// A child table of a group: the membership or the citation list, one mechanism for both.
struct ChildTable {
    QString table;     // lower case, as in the schema
    QString keyColumn; // the second key column beside element_group_id
};

const ChildTable kMembers{QStringLiteral("element_group_membership"), QStringLiteral("element_global_id")};
const ChildTable kCitations{QStringLiteral("element_group_reference"), QStringLiteral("reference_id")};

void requireAuthor(const Author &author)
{
    // Checked before anything is written, although the trail's writer would refuse too.
    if (author.userName.trimmed().isEmpty())
        throw Error(Error::InvalidArgument, QStringLiteral("No user name was given for the audit trail."));
}

// The groups' rows, read for writing: on PostgreSQL they stay locked until the transaction ends,
// so another writer of the same groups waits and then sees what this one did (on SQLite the
// transaction's write lock does it). Locked in id order, so two writers never wait for each other.
QHash<qint32, QSqlRecord> lockGroups(const QSqlDatabase &db, const QList<qint32> &groupIds)
{
    QStringList marks;
    QVariantList values;
    for (const qint32 id : groupIds) {
        marks.append(QStringLiteral("?"));
        values.append(id);
    }
    const bool postgres = db.driver() && db.driver()->dbmsType() == QSqlDriver::PostgreSQL;
    QSqlQuery q =
        sql::exec(db,
                  QStringLiteral("SELECT * FROM element_group WHERE element_group_id IN (%1) "
                                 "ORDER BY element_group_id%2")
                      .arg(marks.join(QStringLiteral(", ")), postgres ? QStringLiteral(" FOR UPDATE") : QString()),
                  values);
    QHash<qint32, QSqlRecord> rows;
    while (q.next())
        rows.insert(q.value(QStringLiteral("element_group_id")).toInt(), q.record());
    return rows;
}

// A write that found fewer rows than it had read: another writer got there first.
void requireRows(int written, qsizetype expected, qint32 groupId)
{
    if (written != expected)
        throw Error(Error::Database, QStringLiteral("Element group %1 was changed by another user at the same "
                                                    "moment; nothing was changed. Try again.")
                                         .arg(groupId));
}

QList<QSqlRecord> childRows(const QSqlDatabase &db, const ChildTable &child, qint32 groupId)
{
    QSqlQuery q = sql::exec(db,
                            QStringLiteral("SELECT * FROM %1 WHERE element_group_id = ? ORDER BY display_order, %2")
                                .arg(child.table, child.keyColumn),
                            {groupId});
    QList<QSqlRecord> rows;
    while (q.next())
        rows.append(q.record());
    return rows;
}

QString childKey(qint32 groupId, const QVariant &otherKey)
{
    return QStringLiteral("%1,%2").arg(groupId).arg(otherKey.toLongLong());
}

void deleteChildren(const QSqlDatabase &db, const AuditTrail &audit, const ChildTable &child, qint32 groupId,
                    const Author &author)
{
    const QList<QSqlRecord> rows = childRows(db, child, groupId);
    requireRows(sql::exec(db, QStringLiteral("DELETE FROM %1 WHERE element_group_id = ?").arg(child.table), {groupId})
                    .numRowsAffected(),
                rows.size(), groupId);
    for (const QSqlRecord &row : rows) {
        audit.write({kGroupTable, groupId, child.table, childKey(groupId, row.value(child.keyColumn)), u'D',
                     AuditTrail::deletedValues(row)},
                    author);
    }
}

// Appends the source's children that the target lacks; answers how many were added.
int appendMissingChildren(const QSqlDatabase &db, const AuditTrail &audit, const ChildTable &child, qint32 sourceId,
                          qint32 targetId, const Author &author, const QString &stamp)
{
    const QList<QSqlRecord> existing = childRows(db, child, targetId);
    QSet<qint64> present;
    qint64 lastOrder = 0;
    for (const QSqlRecord &row : existing) {
        present.insert(row.value(child.keyColumn).toLongLong());
        lastOrder = std::max(lastOrder, row.value(QStringLiteral("display_order")).toLongLong());
    }
    int added = 0;
    for (const QSqlRecord &row : childRows(db, child, sourceId)) {
        const qint64 key = row.value(child.keyColumn).toLongLong();
        if (present.contains(key))
            continue;
        const qint64 order = ++lastOrder;
        requireRows(sql::exec(db,
                              QStringLiteral(
                                  "INSERT INTO %1 (element_group_id, %2, display_order, rec_create_user, "
                                  "rec_create_date, rec_last_mod_user, rec_last_mod_date) VALUES (?, ?, ?, ?, ?, ?, ?)")
                                  .arg(child.table, child.keyColumn),
                              {targetId, key, order, author.userName, stamp, author.userName, stamp})
                        .numRowsAffected(),
                    1, targetId);
        const QList<AuditTrail::ColumnChange> values{
            {QStringLiteral("element_group_id"), {}, QString::number(targetId)},
            {child.keyColumn, {}, QString::number(key)},
            {QStringLiteral("display_order"), {}, QString::number(order)},
            {QStringLiteral("rec_create_user"), {}, author.userName},
            {QStringLiteral("rec_create_date"), {}, stamp},
        };
        audit.write({kGroupTable, targetId, child.table, childKey(targetId, key), u'I', values}, author);
        present.insert(key);
        ++added;
    }
    return added;
}

} // namespace

void deleteElementGroup(const QSqlDatabase &db, const AuditTrail &audit, qint32 groupId, const Author &author)
{
    requireAuthor(author);
    sql::Transaction transaction(db);
    const QHash<qint32, QSqlRecord> locked = lockGroups(db, {groupId});
    if (!locked.contains(groupId))
        throw Error(Error::Database,
                    QStringLiteral("Element group %1 does not exist. Another user may have deleted it.").arg(groupId));

    // Children go first and one by one into the trail, rather than silently by the cascade.
    deleteChildren(db, audit, kMembers, groupId, author);
    deleteChildren(db, audit, kCitations, groupId, author);
    requireRows(sql::exec(db, QStringLiteral("DELETE FROM element_group WHERE element_group_id = ?"), {groupId})
                    .numRowsAffected(),
                1, groupId);
    audit.write({kGroupTable, groupId, kGroupTable, QString::number(groupId), u'D',
                 AuditTrail::deletedValues(locked.value(groupId))},
                author);
    transaction.commit();
}

QStringList copiedGroupColumns()
{
    return {QStringLiteral("d_group_member_type_id"),
            QStringLiteral("element_group_desc"),
            QStringLiteral("range_com"),
            QStringLiteral("habitat_com"),
            QStringLiteral("ecology_com"),
            QStringLiteral("threat_com"),
            QStringLiteral("status_com"),
            QStringLiteral("trend_com")};
}

void copyElementGroup(const QSqlDatabase &db, const AuditTrail &audit, qint32 sourceId, qint32 targetId,
                      const Author &author)
{
    requireAuthor(author);
    if (sourceId == targetId)
        throw Error(Error::InvalidArgument, QStringLiteral("An element group cannot be copied onto itself."));
    sql::Transaction transaction(db);
    // Both stay locked: the source's content and the target's lists cannot change under the copy.
    const QHash<qint32, QSqlRecord> groups = lockGroups(db, {sourceId, targetId});
    const auto source = groups.constFind(sourceId);
    if (source == groups.cend())
        throw Error(Error::Database, QStringLiteral("The element group %1 to copy from does not exist. Another user "
                                                    "may have deleted it.")
                                         .arg(sourceId));
    const auto target = groups.constFind(targetId);
    if (target == groups.cend())
        throw Error(Error::Database, QStringLiteral("The element group %1 to copy into does not exist. Another user "
                                                    "may have deleted it.")
                                         .arg(targetId));

    const QString stamp = clients::auditNow();
    QList<AuditTrail::ColumnChange> changes;
    for (const QString &column : copiedGroupColumns()) {
        const QVariant from = clients::auditText(source->value(column));
        const QVariant to = clients::auditText(target->value(column));
        if (from.isNull() != to.isNull() || from.toString() != to.toString())
            changes.append({column, to, from});
    }
    if (!changes.isEmpty()) {
        QStringList assignments;
        QVariantList values;
        for (const AuditTrail::ColumnChange &change : changes) {
            assignments.append(change.column + QStringLiteral(" = ?"));
            values.append(source->value(change.column));
        }
        values << author.userName << stamp << targetId;
        requireRows(
            sql::exec(db,
                      QStringLiteral("UPDATE element_group SET %1, rec_last_mod_user = ?, rec_last_mod_date = ? "
                                     "WHERE element_group_id = ?")
                          .arg(assignments.join(QStringLiteral(", "))),
                      values)
                .numRowsAffected(),
            1, targetId);
        audit.write({kGroupTable, targetId, kGroupTable, QString::number(targetId), u'U', changes}, author);
    }
    const int added = appendMissingChildren(db, audit, kMembers, sourceId, targetId, author, stamp) +
                      appendMissingChildren(db, audit, kCitations, sourceId, targetId, author, stamp);
    if (changes.isEmpty() && added > 0) {
        requireRows(sql::exec(db,
                              QStringLiteral("UPDATE element_group SET rec_last_mod_user = ?, rec_last_mod_date = ? "
                                             "WHERE element_group_id = ?"),
                              {author.userName, stamp, targetId})
                        .numRowsAffected(),
                    1, targetId);
    }
    transaction.commit();
}

} // namespace talv::host

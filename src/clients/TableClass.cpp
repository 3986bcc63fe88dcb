#include "TableClass.h"

#include "AuditTrail.h"
#include "BusinessComponent.h"
#include "KeptStatements.h"
#include "PropertyValue.h"
#include "SaveTransaction.h"
#include "platform/Error.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace talv::clients {

TableClass::TableClass(Definition definition) : m_definition(std::move(definition))
{
    if (m_definition.columns.size() != m_definition.properties.size() || identity().isEmpty())
        throw Error(Error::InvalidArgument,
                    QStringLiteral("Class %1 needs one column per property and a key").arg(m_definition.className));
    if (!m_definition.ownerColumn.isEmpty()) {
        for (qsizetype i = 0; i < m_definition.columns.size(); ++i)
            if (m_definition.columns.at(i).column == m_definition.ownerColumn)
                m_ownerIndex = int(i);
        if (m_ownerIndex < 0)
            throw Error(Error::InvalidArgument, QStringLiteral("Class %1 writes no owner column %2")
                                                    .arg(m_definition.className, m_definition.ownerColumn));
    }
}

bool TableClass::requireOwnRow(SaveTransaction &tx, const BusinessComponent &component, Write write) const
{
    if (m_ownerIndex < 0)
        return true;
    const ServerUser &user = tx.server().user;
    if (user.id <= 0)
        throw Error(Error::InvalidArgument,
                    QStringLiteral("Nobody is logged in on this server, so no %1 record can be written.")
                        .arg(m_definition.className));
    const auto notTheirs = [&] {
        return Error(Error::InvalidArgument,
                     QStringLiteral("The %1 record belongs to another user; %2 may change only their own.")
                         .arg(m_definition.className, user.name));
    };
    if (write != Write::Insert) {
        const KeptQuery q = tx.exec(QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                                        .arg(m_definition.ownerColumn, m_definition.table, identityCondition(true)),
                                    storedIdentity(component));
        if (!q->next())
            return false;
        if (q->value(0).toLongLong() != user.id)
            throw notTheirs();
    }
    // The row as it will be written must stay theirs too.
    const QVariant owner = component.value(m_ownerIndex);
    if (write != Write::Remove && (owner.isNull() || owner.toLongLong() != user.id))
        throw notTheirs();
    return true;
}

QList<int> TableClass::identity() const
{
    const int key = keyIndex();
    if (key >= 0)
        return {key};
    QList<int> parts;
    for (int i = 0; i < m_definition.properties.size(); ++i) {
        if (m_definition.properties.at(i).flags & PropertyInfo::RowKey)
            parts.append(i);
    }
    return parts;
}

QString TableClass::identityCondition(bool written) const
{
    QStringList conditions;
    for (const int index : identity()) {
        const Column &column = m_definition.columns.at(index);
        conditions.append((written ? column.column : column.select) + QStringLiteral(" = ?"));
    }
    return conditions.join(QStringLiteral(" AND "));
}

QVariantList TableClass::storedIdentity(const BusinessComponent &component) const
{
    QVariantList values;
    for (const int index : identity())
        values.append(toColumnValue(component.storedValue(index), m_definition.properties.at(index)));
    return values;
}

QList<QVariantList> TableClass::query(const ServerConnection &server, const QString &where, const QVariantList &values,
                                      const QString &orderBy) const
{
    QStringList selects;
    for (const Column &column : m_definition.columns)
        selects.append(column.select);
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(selects.join(QStringLiteral(", ")), m_definition.from);
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    if (!orderBy.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + orderBy;

    QList<QVariantList> rows =
        server.readRows ? server.readRows(sql, values) : readRows(server.database(), sql, values);
    const qsizetype count = m_definition.properties.size();
    for (QVariantList &row : rows) {
        row.resize(count);
        for (qsizetype i = 0; i < count; ++i)
            row[i] = fromColumnValue(row.at(i), m_definition.properties.at(i));
    }
    return rows;
}

std::optional<QVariantList> TableClass::loadByKey(const ServerConnection &server, const QVariant &key) const
{
    const int index = keyIndex();
    if (key.isNull() || index < 0)
        return std::nullopt;
    const QList<QVariantList> rows =
        query(server, m_definition.columns.at(index).select + QStringLiteral(" = ?"), {key.toLongLong()});
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

std::optional<QVariantList> TableClass::reload(const ServerConnection &server, const BusinessComponent &component) const
{
    const QVariantList key = storedIdentity(component);
    for (const QVariant &part : key) {
        if (part.isNull())
            return std::nullopt;
    }
    const QList<QVariantList> rows = query(server, identityCondition(false), key);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

void TableClass::prepareWrite(SaveTransaction &, BusinessComponent &, bool) const
{}

QVariantList TableClass::currentValues(const BusinessComponent &component)
{
    QVariantList values;
    for (int i = 0; i < component.businessClass().properties().size(); ++i)
        values.append(component.value(i));
    return values;
}

QVariantList TableClass::storedValues(const BusinessComponent &component)
{
    QVariantList values;
    for (int i = 0; i < component.businessClass().properties().size(); ++i)
        values.append(component.storedValue(i));
    return values;
}

void TableClass::fileAudit(SaveTransaction &tx, QChar action, const QVariantList &before,
                           const QVariantList &after) const
{
    if (m_definition.auditRecordTable.isEmpty())
        return;
    const QVariantList &row = after.isEmpty() ? before : after;
    QList<AuditTrail::ColumnChange> changes;
    for (int i = 0; i < m_definition.properties.size(); ++i) {
        const QString column = m_definition.columns.at(i).column.toLower();
        if (column.isEmpty() || m_definition.unauditedColumns.contains(column, Qt::CaseInsensitive))
            continue;
        const QVariant oldText = before.isEmpty() ? QVariant() : auditText(before.at(i));
        const QVariant newText = after.isEmpty() ? QVariant() : auditText(after.at(i));
        if (oldText.isNull() && newText.isNull())
            continue;
        if (oldText.isNull() == newText.isNull() && oldText.toString() == newText.toString())
            continue;
        changes.append({column, oldText, newText});
    }
    if (changes.isEmpty() && action == u'U')
        return;
    QStringList key;
    for (const int index : identity())
        key.append(row.at(index).toString());
    const ServerConnection &server = tx.server();
    const AuditTrail trail(server.database(), [&tx](const QString &sequence) { return tx.nextId(sequence); });
    trail.write({m_definition.auditRecordTable, qint32(row.at(m_definition.auditRecordIdProperty).toLongLong()),
                 m_definition.table, key.join(QLatin1Char(',')), action, changes},
                {server.user.name, server.user.orgUnitId});
}

void TableClass::insert(SaveTransaction &tx, BusinessComponent &component) const
{
    requireOwnRow(tx, component, Write::Insert);
    prepareWrite(tx, component, true);
    const int key = keyIndex();
    if (key >= 0 && component.value(key).isNull())
        component.setValue(key, tx.nextId(m_definition.sequence));

    QStringList columns;
    QVariantList values;
    QStringList marks;
    for (int i = 0; i < m_definition.properties.size(); ++i) {
        const QString &column = m_definition.columns.at(i).column;
        if (column.isEmpty())
            continue;
        columns.append(column);
        values.append(toColumnValue(component.value(i), m_definition.properties.at(i)));
        marks.append(QStringLiteral("?"));
    }
    tx.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(m_definition.table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
            values);
    fileAudit(tx, u'I', {}, currentValues(component));
}

QString TableClass::RowUpdate::sql() const
{
    QString text = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                       .arg(table, assignments.join(QStringLiteral(", ")), conditions.join(QStringLiteral(" AND ")));
    if (!returning.isEmpty())
        text += QStringLiteral(" RETURNING ") + returning;
    return text;
}

QVariantList TableClass::RowUpdate::values() const
{
    return assignmentValues + conditionValues;
}

TableClass::RowUpdate TableClass::rowUpdate(const BusinessComponent &component) const
{
    RowUpdate update;
    update.table = m_definition.table;
    const QList<int> key = identity();
    for (int i = 0; i < m_definition.properties.size(); ++i) {
        const QString &column = m_definition.columns.at(i).column;
        if (column.isEmpty() || key.contains(i))
            continue;
        update.assignments.append(column + QStringLiteral(" = ?"));
        update.assignmentValues.append(toColumnValue(component.value(i), m_definition.properties.at(i)));
    }
    update.conditions.append(identityCondition(true));
    update.conditionValues = storedIdentity(component);
    return update;
}

void TableClass::update(SaveTransaction &tx, BusinessComponent &component) const
{
    requireOwnRow(tx, component, Write::Update);
    prepareWrite(tx, component, false);
    const RowUpdate statement = rowUpdate(component);
    const qsizetype updated = tx.exec(statement.sql(), statement.values())->numRowsAffected();
    // Another user deleted it meanwhile: the change has nowhere to go.
    if (updated == 0)
        throw Error(Error::Database, QStringLiteral("The %1 record %2 is no longer stored; it was not saved.")
                                         .arg(m_definition.className, storedIdentity(component).value(0).toString()));
    fileAudit(tx, u'U', storedValues(component), currentValues(component));
}

void TableClass::remove(SaveTransaction &tx, const BusinessComponent &component) const
{
    // A row another user deleted already is as good as deleted here.
    if (!requireOwnRow(tx, component, Write::Remove))
        return;
    const qsizetype deleted =
        tx.exec(QStringLiteral("DELETE FROM %1 WHERE %2").arg(m_definition.table, identityCondition(true)),
                storedIdentity(component))
            ->numRowsAffected();
    if (deleted > 0)
        fileAudit(tx, u'D', storedValues(component), {});
}

} // namespace talv::clients

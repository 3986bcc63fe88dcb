#include "TableClass.h"

#include "BusinessComponent.h"
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

    QSqlQuery q = execBound(server.database(), sql, values, true);
    QList<QVariantList> rows;
    const int count = int(m_definition.properties.size());
    while (q.next()) {
        QVariantList row;
        row.reserve(count);
        for (int i = 0; i < count; ++i)
            row.append(fromColumnValue(q.value(i), m_definition.properties.at(i)));
        rows.append(row);
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

void TableClass::insert(SaveTransaction &tx, BusinessComponent &component) const
{
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
    prepareWrite(tx, component, false);
    const RowUpdate statement = rowUpdate(component);
    const QSqlQuery q = tx.exec(statement.sql(), statement.values());
    // Another user deleted it meanwhile: the change has nowhere to go.
    if (q.numRowsAffected() == 0)
        throw Error(Error::Database, QStringLiteral("The %1 record %2 is no longer stored; it was not saved.")
                                         .arg(m_definition.className, storedIdentity(component).value(0).toString()));
}

void TableClass::remove(SaveTransaction &tx, const BusinessComponent &component) const
{
    // A row another user deleted already is as good as deleted here.
    tx.exec(QStringLiteral("DELETE FROM %1 WHERE %2").arg(m_definition.table, identityCondition(true)),
            storedIdentity(component));
}

} // namespace talv::clients

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
    if (m_definition.columns.size() != m_definition.properties.size() || keyIndex() < 0)
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
        QSqlQuery q = tx.exec(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                                  .arg(m_definition.ownerColumn, m_definition.table, keyColumn()),
                              {component.key()});
        if (!q.next())
            return false;
        if (q.value(0).toLongLong() != user.id)
            throw notTheirs();
    }
    // The row as it will be written must stay theirs too.
    const QVariant owner = component.value(m_ownerIndex);
    if (write != Write::Remove && (owner.isNull() || owner.toLongLong() != user.id))
        throw notTheirs();
    return true;
}

const QString &TableClass::keyColumn() const
{
    return m_definition.columns.at(keyIndex()).column;
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
    if (key.isNull())
        return std::nullopt;
    const QList<QVariantList> rows =
        query(server, m_definition.columns.at(keyIndex()).select + QStringLiteral(" = ?"), {key.toLongLong()});
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

void TableClass::prepareWrite(SaveTransaction &, BusinessComponent &, bool) const
{}

QVariantList TableClass::writtenValues(const BusinessComponent &component, QStringList *columns) const
{
    QVariantList values;
    const int key = keyIndex();
    for (int i = 0; i < m_definition.properties.size(); ++i) {
        const QString &column = m_definition.columns.at(i).column;
        if (i == key || column.isEmpty())
            continue;
        columns->append(column);
        values.append(toColumnValue(component.value(i), m_definition.properties.at(i)));
    }
    return values;
}

void TableClass::insert(SaveTransaction &tx, BusinessComponent &component) const
{
    requireOwnRow(tx, component, Write::Insert);
    prepareWrite(tx, component, true);
    const int key = keyIndex();
    if (component.value(key).isNull())
        component.setValue(key, tx.nextId(m_definition.sequence));

    QStringList columns{keyColumn()};
    QVariantList values{component.value(key)};
    values += writtenValues(component, &columns);
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks.append(QStringLiteral("?"));
    tx.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(m_definition.table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
            values);
}

void TableClass::update(SaveTransaction &tx, BusinessComponent &component) const
{
    requireOwnRow(tx, component, Write::Update);
    prepareWrite(tx, component, false);
    QStringList columns;
    QVariantList values = writtenValues(component, &columns);
    QStringList assignments;
    for (const QString &column : std::as_const(columns))
        assignments.append(column + QStringLiteral(" = ?"));
    values.append(component.key());
    const QSqlQuery q = tx.exec(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                                    .arg(m_definition.table, assignments.join(QStringLiteral(", ")), keyColumn()),
                                values);
    // Another user deleted it meanwhile: the change has nowhere to go.
    if (q.numRowsAffected() == 0)
        throw Error(Error::Database, QStringLiteral("The %1 record %2 is no longer stored; it was not saved.")
                                         .arg(m_definition.className, component.key().toString()));
}

void TableClass::remove(SaveTransaction &tx, const BusinessComponent &component) const
{
    // A row another user deleted already is as good as deleted here.
    if (!requireOwnRow(tx, component, Write::Remove))
        return;
    tx.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(m_definition.table, keyColumn()), {component.key()});
}

} // namespace talv::clients

#pragma once

#include "BusinessClass.h"

#include <QStringList>

namespace talv::clients {

// A business class whose components are rows of one table. A row is identified either by one id
// column taken from a sequence (the Key property) or by several columns set when it is created
// (RowKey properties: a member's group and element). Reading by key, inserting, updating and
// deleting are done here, every value bound; a subclass names its criteria and may prepare a
// component before it is written.
//
// A table whose rows belong to a user (an owner column) is written only for the session's user
// (ServerConnection::user): a new row must name them, and a stored row is changed or deleted only
// when it is already theirs.
class TableClass : public BusinessClass
{
public:
    // How a property is read and written: `select` is its expression in loads (it may come from a
    // joined table), `column` its column in the written table, empty when it is not written.
    struct Column {
        QString select;
        QString column;
    };
    struct Definition {
        QString className;
        QString table;    // the written table
        QString from;     // FROM clause of loads, with its joins
        QString sequence; // id sequence of new rows; empty for a class keyed by RowKey columns
        QList<PropertyInfo> properties;
        QList<Column> columns; // one per property
        QString ownerColumn;   // the written column naming the row's user; empty when rows have none
        // The record whose audit trail the written rows join (ELEMENT_GROUP for a group and its
        // children) and the property holding that record's id; empty when rows are not audited.
        QString auditRecordTable;
        int auditRecordIdProperty = -1;
        // Written columns left out of the trail: the modification stamps, which the trail's own
        // who and when already say.
        QStringList unauditedColumns;
    };

    explicit TableClass(Definition definition);

    QString name() const override { return m_definition.className; }
    const QList<PropertyInfo> &properties() const override { return m_definition.properties; }
    const Definition &definition() const { return m_definition; }

    std::optional<QVariantList> loadByKey(const ServerConnection &server, const QVariant &key) const override;
    std::optional<QVariantList> reload(const ServerConnection &server,
                                       const BusinessComponent &component) const override;
    void insert(SaveTransaction &tx, BusinessComponent &component) const override;
    void update(SaveTransaction &tx, BusinessComponent &component) const override;
    void remove(SaveTransaction &tx, const BusinessComponent &component) const override;

protected:
    // The UPDATE of one component, to which a subclass may add assignments, conditions and a
    // RETURNING list before running it.
    struct RowUpdate {
        QString table;
        QStringList assignments; // "column = ?"
        QVariantList assignmentValues;
        QStringList conditions; // "column = ?", joined with AND
        QVariantList conditionValues;
        QString returning;

        QString sql() const;
        QVariantList values() const;
    };
    // Sets every written column that is not part of the key; finds the row by its stored key.
    RowUpdate rowUpdate(const BusinessComponent &component) const;

    // Rows of the load SELECT filtered by `where` (with `?` for each of `values`).
    QList<QVariantList> query(const ServerConnection &server, const QString &where, const QVariantList &values,
                              const QString &orderBy = {}) const;
    // Runs before the component's insert or update, inside the transaction: fill derived values
    // (a foreign key from a name, modification dates).
    virtual void prepareWrite(SaveTransaction &tx, BusinessComponent &component, bool inserting) const;
    // Files the write of one row in the audit trail when the class is audited: `before` and
    // `after` hold one value per property (empty for an insert's before and a delete's after).
    // An update that changed no audited column files nothing.
    void fileAudit(SaveTransaction &tx, QChar action, const QVariantList &before, const QVariantList &after) const;
    static QVariantList currentValues(const BusinessComponent &component);
    static QVariantList storedValues(const BusinessComponent &component);

private:
    enum class Write { Insert, Update, Remove };
    // Raises when the component's row is not the session user's to write (see above). Answers
    // false when the stored row is gone already.
    bool requireOwnRow(SaveTransaction &tx, const BusinessComponent &component, Write write) const;
    // The properties that identify a row: the Key, or the RowKey properties.
    QList<int> identity() const;
    // "t.a = ? AND t.b = ?" over the load's select expressions or the written columns.
    QString identityCondition(bool written) const;
    QVariantList storedIdentity(const BusinessComponent &component) const;

    int m_ownerIndex = -1;
    Definition m_definition;
};

} // namespace talv::clients

#pragma once

#include "BusinessClass.h"
#include "contracts/Component.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>

namespace talv::clients {

class ClientCollection;
class SaveTransaction;

// A component of any business class: one value per property of its class, the values as last
// stored (for IsChanged and Refresh), and the server it is written to. Components are held by a
// ClientCollection, or created on their own by class name and then bound with Open.
//
// Operations a screen calls by name (LateBinding) on a component it created itself:
//   Open(server name, server type)  binds it to a server; false when no such server is open
//   Init(as new record)             empties it; true prepares a new record, false one to be loaded
//   LoadByID(id)                    reads the stored record with that key; false when none
//   Save()                          writes it (and its child lists) in one transaction
//   LastError()                     the database's message after a false answer
class BusinessComponent : public Component
{
    Q_OBJECT
public:
    BusinessComponent(BusinessClassPtr businessClass, QObject *parent = nullptr);
    ~BusinessComponent() override;

    QVariant property(const QString &name) const override;
    void setProperty(const QString &name, const QVariant &value) override;
    bool IsNew() const override { return m_new; }
    bool IsChanged() const override;
    void Refresh() override;

    Q_INVOKABLE bool Open(const QString &serverName, qint32 serverType);
    Q_INVOKABLE void Init(bool asNewRecord);
    Q_INVOKABLE bool LoadByID(qlonglong id);
    Q_INVOKABLE bool Save();
    Q_INVOKABLE QString LastError() const { return m_lastError; }

    const BusinessClass &businessClass() const { return *m_class; }

    // By property position; setValue converts to the property's type or raises TypeMismatch.
    QVariant value(int index) const;
    void setValue(int index, const QVariant &value);
    // The value as last loaded or saved (null for a new component): what identifies the stored row.
    QVariant storedValue(int index) const;
    // The key property's value (null for a new component).
    QVariant key() const;

    void bindServer(const QString &serverName, qint32 serverType);
    const QString &serverName() const { return m_serverName; }
    qint32 serverType() const { return m_serverType; }
    // Raises Error(Database) when the component is bound to no open server.
    ServerConnection server() const;

    // The framework's side: loaded values (one per property, as the property holds it), and the
    // write of one component inside a transaction.
    void setStored(const QVariantList &values);
    // Inserts or updates the component if it needs it, then writes its child lists. What the
    // write changes in memory is put back if the transaction rolls back, and becomes the stored
    // state when it commits. `prepareNew` runs on a new component just before its insert.
    // `asNew`: the caller has deleted the stored row, so the component is inserted as it is.
    void write(SaveTransaction &tx, const std::function<void(BusinessComponent &)> &prepareNew = {},
               bool asNew = false);
    // Child lists written together with this component (a category's options ...).
    virtual QList<ClientCollection *> children();

    // The collection that holds (and owns) the component, if any; set by the collection.
    ClientCollection *holder() const { return m_holder; }
    void setHolder(ClientCollection *collection) { m_holder = collection; }

protected:
    // The stored state was replaced (loaded, refreshed): a subclass drops what it derived from it.
    virtual void storedStateReplaced() {}
    // Whether a stored component has anything to write; a parent whose children changed may say
    // yes although its own values did not.
    virtual bool needsUpdate() const { return IsChanged(); }
    // Writes the child lists after the component itself.
    virtual void writeChildren(SaveTransaction &tx);
    // Drops unsaved changes: back to the values of the last load or save.
    void revertChanges() { m_values = m_stored; }

private:
    struct Snapshot {
        QVariantList values;
        QVariantList stored;
        bool isNew;
    };
    int requireProperty(const QString &name) const;
    QVariantList emptyValues() const;

    BusinessClassPtr m_class;
    QVariantList m_values;
    QVariantList m_stored;
    bool m_new = true;
    QString m_serverName;
    qint32 m_serverType = SQLiteServer;
    QString m_lastError;
    ClientCollection *m_holder = nullptr;
};

} // namespace talv::clients

#pragma once

#include "BusinessClass.h"
#include "BusinessComponent.h"
#include "contracts/ComponentCollection.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace talv::clients {

class SaveTransaction;

// The client framework's ComponentCollection ("ClientFramework.ComponentCollection"): the
// components of one registered business class on one server.
//
// OpenClass, LoadWhere and SaveAll answer false on failure and keep the reason in LastError()
// (also reachable by name: the invokable LastError and the Qt property "LastError"). The other
// operations raise talv::Error on misuse: a position or key that is not held, a component of
// another class, a criterion that does not parse or names no property.
//
// FindIndex and FindFirst take recordset criterion text on the class's properties ("UserId = 2",
// "OptionName = 'O''Hara'", "OptionName LIKE 'ohio*'"); text compares without regard to case, as
// a recordset's Find does. LoadWhere("Empty", ...) loads nothing for every class. A component removed with RemoveAt
// that is stored is deleted at the next SaveAll; a new one is simply dropped. SaveAll writes deletions first, then each
// held component in order (insert or update, then its child lists), all in one transaction; when anything fails the
// database and the components stay as they were.
//
// The collection alone owns its components (they have no Qt parent): a component is destroyed when
// it is removed and new, when its deletion is saved, at ClearAll and with the collection. A caller
// that keeps one beyond the next such call holds a QPointer.
class ClientCollection : public ComponentCollection
{
    Q_OBJECT
    Q_PROPERTY(QString LastError READ LastError)
public:
    explicit ClientCollection(QObject *parent = nullptr);
    ~ClientCollection() override;

    bool OpenClass(const QString &className, const QString &serverName, qint32 serverType) override;
    bool LoadWhere(const QString &criterionName, const QVariant &criterionValue, qint32 first, qint32 second,
                   qint32 third) override;
    qint32 Count() const override;
    Component *Item(qint32 index) const override;
    Component *Item(const QString &key) const override;
    qint32 FindIndex(const QString &criterion) const override;
    Component *FindFirst(const QString &criterion) const override;
    void AddNew(qint32 first, qint32 second, const QVariant &omitted) override;
    Component *AddComponent(Component *component, const QString &key) override;
    void RemoveAt(qint32 index) override;
    bool SaveAll() override;
    void ClearAll() override;

    Q_INVOKABLE QString LastError() const override { return m_lastError; }
    bool AnyChanged() const override;
    void RefreshAll() override;

    // For a component that owns a child list: binds the list without a registry lookup.
    void bind(BusinessClassPtr businessClass, const QString &serverName, qint32 serverType);
    // Fills the list with stored rows, replacing what it held; each becomes a component on first use.
    void setStoredRows(const QList<QVariantList> &rows);
    // Called for every component that joins the list and again before a new one is written, so a
    // child takes its parent's key and name even when the parent got its key in the same save.
    void setAdoption(std::function<void(BusinessComponent &)> adopt);

    enum class WriteMode {
        Changes,   // what was added, changed and removed since the last load or save
        Everything // the caller deleted every stored row: each held component is inserted
    };
    // Writes inside `tx` (SaveAll, or the save of a parent component).
    void write(SaveTransaction &tx, WriteMode mode = WriteMode::Changes);
    // Anything added, changed or removed since the last load or save.
    bool hasPendingChanges() const;

private:
    // A loaded row becomes a component when one is first asked for: a group of a thousand members
    // is opened, shown and saved without making a thousand objects nobody touches.
    struct Entry {
        mutable std::unique_ptr<BusinessComponent> component; // null until made from `stored`
        QString key;
        mutable QVariantList stored; // the loaded row, handed to the component when it is made
    };

    void requireClass() const;
    qsizetype requirePosition(qint32 index) const;
    BusinessComponent *requireAcceptable(Component *component, const char *operation);
    BusinessComponent *adopt(BusinessComponent *component) const;
    BusinessComponent *componentAt(size_t position) const;
    qsizetype findPosition(const QString &criterion) const;
    void releaseAll();

    BusinessClassPtr m_class;
    QString m_serverName;
    qint32 m_serverType = SQLiteServer;
    std::vector<Entry> m_entries;
    std::vector<std::unique_ptr<BusinessComponent>> m_removed; // stored components awaiting their delete
    std::function<void(BusinessComponent &)> m_adopt;
    QString m_lastError;
};

} // namespace talv::clients

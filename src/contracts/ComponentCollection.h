#pragma once

#include "Component.h"

#include <QObject>
#include <QString>
#include <QVariant>

namespace talv {

// A collection of the components of one business class, bound to its server. Call OpenClass,
// then LoadWhere, then the rest. Positions are 1-based. Flags answer true on success; other
// failures raise talv::Error.
class ComponentCollection : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    virtual bool OpenClass(const QString &className, const QString &serverName, qint32 serverType) = 0;
    // `criterionValue` is a text or a QVariantList/QStringList of values. The three numbers are
    // passed through to the business class (-1, -1, -1 usually; 0, 0, 0 with "Empty").
    virtual bool LoadWhere(const QString &criterionName, const QVariant &criterionValue, qint32 first, qint32 second,
                           qint32 third) = 0;

    virtual qint32 Count() const = 0;
    // A position from 1 to Count(), or the key a component was added under; anything else raises
    // talv::Error (InvalidArgument). The collection keeps ownership.
    virtual Component *Item(qint32 index) const = 0;
    virtual Component *Item(const QString &key) const = 0;

    // `criterion` is a recordset-style criterion on a component property ("ReferenceID = 12").
    // The position of the first match, or a number below 1 when none matches.
    virtual qint32 FindIndex(const QString &criterion) const = 0;
    // The first match, or nullptr.
    virtual Component *FindFirst(const QString &criterion) const = 0;

    // Appends a new, empty component (reached through Count and Item). The arguments are passed
    // through to the business class: 0, 0 and an empty value.
    virtual void AddNew(qint32 first, qint32 second, const QVariant &omitted) = 0;
    // Takes ownership of `component` and holds it under `key`; answers the component as held.
    virtual Component *AddComponent(Component *component, const QString &key) = 0;
    virtual void RemoveAt(qint32 index) = 0;
    // Writes every new, changed and removed component.
    virtual bool SaveAll() = 0;
    // Releases every component without writing.
    virtual void ClearAll() = 0;
    // Why the last OpenClass, LoadWhere or SaveAll answered false (the database's own message).
    virtual QString LastError() const = 0;

    // Whether any held component is new or changed. A collection may answer without making the
    // components it has not handed out yet (those are as loaded).
    virtual bool AnyChanged() const
    {
        for (qint32 i = 1; i <= Count(); ++i) {
            const Component *component = Item(i);
            if (component->IsNew() || component->IsChanged())
                return true;
        }
        return false;
    }
    // Refresh on every held component; likewise a collection need not make the ones not handed out.
    virtual void RefreshAll()
    {
        for (qint32 i = 1; i <= Count(); ++i)
            Item(i)->Refresh();
    }
};

} // namespace talv

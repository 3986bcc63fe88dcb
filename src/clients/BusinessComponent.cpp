#include "BusinessComponent.h"

#include "ClientCollection.h"
#include "PropertyValue.h"
#include "SaveTransaction.h"
#include "platform/Error.h"

namespace talv::clients {

BusinessComponent::BusinessComponent(BusinessClassPtr businessClass, QObject *parent)
    : Component(parent), m_class(std::move(businessClass))
{
    m_values = emptyValues();
    m_stored = m_values;
}

BusinessComponent::~BusinessComponent() = default;

QVariantList BusinessComponent::emptyValues() const
{
    QVariantList empty;
    empty.resize(m_class->properties().size());
    return empty;
}

int BusinessComponent::requireProperty(const QString &name) const
{
    const int index = m_class->propertyIndex(name);
    if (index < 0)
        throw Error(Error::MemberNotFound,
                    QStringLiteral("Class %1 has no property \"%2\".").arg(m_class->name(), name));
    return index;
}

QVariant BusinessComponent::property(const QString &name) const
{
    return m_values.at(requireProperty(name));
}

void BusinessComponent::setProperty(const QString &name, const QVariant &value)
{
    const int index = requireProperty(name);
    const PropertyInfo &info = m_class->properties().at(index);
    if (info.flags & (PropertyInfo::ReadOnly | PropertyInfo::Key))
        throw Error(Error::IllegalOperation,
                    QStringLiteral("Property %1 of class %2 is read-only.").arg(info.name, m_class->name()));
    if ((info.flags & PropertyInfo::RowKey) && !m_new)
        throw Error(Error::IllegalOperation,
                    QStringLiteral("Property %1 of a stored %2 record cannot change; remove the record and add "
                                   "another instead.")
                        .arg(info.name, m_class->name()));
    setValue(index, value);
}

QVariant BusinessComponent::value(int index) const
{
    return m_values.at(index);
}

void BusinessComponent::setValue(int index, const QVariant &value)
{
    m_values[index] = toPropertyValue(value, m_class->properties().at(index));
}

QVariant BusinessComponent::storedValue(int index) const
{
    return m_stored.at(index);
}

QVariant BusinessComponent::key() const
{
    const int index = m_class->keyIndex();
    return index < 0 ? QVariant() : m_values.at(index);
}

bool BusinessComponent::IsChanged() const
{
    return m_values != m_stored;
}

void BusinessComponent::Refresh()
{
    if (m_new) {
        m_values = m_stored;
        return;
    }
    const std::optional<QVariantList> row = m_class->reload(server(), *this);
    if (!row)
        throw Error(Error::Database,
                    QStringLiteral("The %1 record %2 is no longer stored.").arg(m_class->name(), key().toString()));
    setStored(*row);
}

bool BusinessComponent::Open(const QString &serverName, qint32 serverType)
{
    try {
        ServerDirectory::Find(serverName);
    } catch (const Error &e) {
        m_lastError = e.description();
        return false;
    }
    bindServer(serverName, serverType);
    return true;
}

void BusinessComponent::Init(bool asNewRecord)
{
    m_values = emptyValues();
    m_stored = m_values;
    m_new = asNewRecord;
    storedStateReplaced();
}

bool BusinessComponent::LoadByID(qlonglong id)
{
    try {
        const std::optional<QVariantList> row = m_class->loadByKey(server(), id);
        if (!row)
            return false;
        setStored(*row);
        return true;
    } catch (const Error &e) {
        m_lastError = e.description();
        return false;
    }
}

bool BusinessComponent::Save()
{
    try {
        return saveInOneTransaction(
            server(), [this](SaveTransaction &tx) { write(tx); }, m_lastError);
    } catch (const Error &e) { // no server to save to
        m_lastError = e.description();
        return false;
    }
}

void BusinessComponent::bindServer(const QString &serverName, qint32 serverType)
{
    m_serverName = serverName;
    m_serverType = serverType;
}

ServerConnection BusinessComponent::server() const
{
    if (m_serverName.isEmpty())
        throw Error(Error::Database,
                    QStringLiteral("The %1 component is bound to no server; call Open first.").arg(m_class->name()));
    return ServerDirectory::Find(m_serverName);
}

void BusinessComponent::setStored(const QVariantList &values)
{
    if (values.size() != m_class->properties().size())
        throw Error(Error::InvalidArgument, QStringLiteral("A stored %1 record needs %2 values, not %3.")
                                                .arg(m_class->name())
                                                .arg(m_class->properties().size())
                                                .arg(values.size()));
    m_values = values;
    m_stored = values;
    m_new = false;
    storedStateReplaced();
}

QList<ClientCollection *> BusinessComponent::children()
{
    return {};
}

void BusinessComponent::writeChildren(SaveTransaction &tx)
{
    for (ClientCollection *child : children())
        child->write(tx);
}

void BusinessComponent::write(SaveTransaction &tx, const std::function<void(BusinessComponent &)> &prepareNew,
                              bool asNew)
{
    const QList<ClientCollection *> lists = children();
    const bool writesItself = m_new || asNew || needsUpdate();
    // An untouched row without lists has nothing to write and nothing to undo: a group of a
    // thousand members would otherwise register two thousand actions on every save.
    if (!writesItself && lists.isEmpty())
        return;
    const Snapshot before{m_values, m_stored, m_new};
    tx.onRollback([this, before] {
        m_values = before.values;
        m_stored = before.stored;
        m_new = before.isNew;
    });
    if (m_new || asNew) {
        if (prepareNew)
            prepareNew(*this);
        m_class->insert(tx, *this);
    } else if (needsUpdate()) {
        m_class->update(tx, *this);
    }
    writeChildren(tx);
    tx.onCommit([this] {
        m_stored = m_values;
        m_new = false;
    });
}

} // namespace talv::clients

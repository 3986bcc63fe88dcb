#include "ClientCollection.h"

#include "BusinessComponent.h"
#include "SaveTransaction.h"
#include "platform/Error.h"
#include "platform/RecordsetCriterion.h"

#include <algorithm>
#include <utility>

namespace talv::clients {

namespace {

const QString EmptyCriterion = QStringLiteral("Empty");

} // namespace

ClientCollection::ClientCollection(QObject *parent) : ComponentCollection(parent)
{}

ClientCollection::~ClientCollection()
{
    releaseAll();
}

bool ClientCollection::OpenClass(const QString &className, const QString &serverName, qint32 serverType)
{
    m_lastError.clear();
    BusinessClassPtr businessClass = BusinessClasses::Find(className);
    if (!businessClass) {
        m_lastError = QStringLiteral("There is no business class named \"%1\".").arg(className);
        return false;
    }
    try {
        ServerDirectory::Find(serverName);
    } catch (const Error &e) {
        m_lastError = e.description();
        return false;
    }
    bind(std::move(businessClass), serverName, serverType);
    return true;
}

void ClientCollection::bind(BusinessClassPtr businessClass, const QString &serverName, qint32 serverType)
{
    releaseAll();
    m_class = std::move(businessClass);
    m_serverName = serverName;
    m_serverType = serverType;
}

bool ClientCollection::LoadWhere(const QString &criterionName, const QVariant &criterionValue, qint32 first,
                                 qint32 second, qint32 third)
{
    m_lastError.clear();
    try {
        requireClass();
        if (criterionName.compare(EmptyCriterion, Qt::CaseInsensitive) == 0) {
            releaseAll();
            return true;
        }
        const LoadRequest request{criterionName, criterionValue, first, second, third};
        setStoredRows(m_class->load(ServerDirectory::Find(m_serverName), request));
        return true;
    } catch (const Error &e) {
        m_lastError = e.description();
        return false;
    }
}

void ClientCollection::setStoredRows(const QList<QVariantList> &rows)
{
    releaseAll();
    m_entries.reserve(size_t(rows.size()));
    for (const QVariantList &row : rows)
        m_entries.push_back({nullptr, {}, row});
}

BusinessComponent *ClientCollection::componentAt(size_t position) const
{
    const Entry &entry = m_entries[position];
    if (!entry.component) {
        std::unique_ptr<BusinessComponent> made(adopt(m_class->create(nullptr)));
        made->setStored(std::exchange(entry.stored, {}));
        entry.component = std::move(made);
    }
    return entry.component.get();
}

BusinessComponent *ClientCollection::adopt(BusinessComponent *component) const
{
    component->setParent(nullptr);
    // Holding is not a change of the collection's contents: a component made on first use is
    // held from the start.
    component->setHolder(const_cast<ClientCollection *>(this));
    component->bindServer(m_serverName, m_serverType);
    return component;
}

void ClientCollection::setAdoption(std::function<void(BusinessComponent &)> adopt)
{
    m_adopt = std::move(adopt);
}

qint32 ClientCollection::Count() const
{
    return qint32(m_entries.size());
}

qsizetype ClientCollection::requirePosition(qint32 index) const
{
    if (index < 1 || size_t(index) > m_entries.size())
        throw Error(Error::InvalidArgument,
                    QStringLiteral("There is no item %1 in a collection of %2.").arg(index).arg(m_entries.size()));
    return index - 1;
}

Component *ClientCollection::Item(qint32 index) const
{
    return componentAt(size_t(requirePosition(index)));
}

Component *ClientCollection::Item(const QString &key) const
{
    const auto it = std::find_if(m_entries.cbegin(), m_entries.cend(),
                                 [&key](const Entry &entry) { return !entry.key.isEmpty() && entry.key == key; });
    if (it == m_entries.cend())
        throw Error(Error::InvalidArgument, QStringLiteral("No item is held under the key \"%1\".").arg(key));
    return componentAt(size_t(it - m_entries.cbegin()));
}

qsizetype ClientCollection::findPosition(const QString &criterion) const
{
    requireClass();
    const BusinessClass &businessClass = *m_class;
    const auto lookup = [&](QStringView view) -> std::optional<internal::Criterion::FieldInfo> {
        const QString name = view.toString();
        const int index = businessClass.propertyIndex(name);
        if (index < 0)
            throw Error(Error::FieldNotFound,
                        QStringLiteral("Invalid criterion \"%1\": class %2 has no property \"%3\".")
                            .arg(criterion, businessClass.name(), name));
        const PropertyInfo &info = businessClass.properties().at(index);
        return internal::Criterion::FieldInfo{index, info.type, info.name};
    };
    const internal::Criterion parsed = internal::Criterion::parse(criterion, lookup, true);
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Entry &entry = m_entries[i];
        const auto value = [&entry](int field) {
            return entry.component ? entry.component->value(field) : entry.stored.at(field);
        };
        if (parsed.matches(value))
            return qsizetype(i);
    }
    return -1;
}

qint32 ClientCollection::FindIndex(const QString &criterion) const
{
    return qint32(findPosition(criterion) + 1);
}

Component *ClientCollection::FindFirst(const QString &criterion) const
{
    const qsizetype position = findPosition(criterion);
    return position < 0 ? nullptr : componentAt(size_t(position));
}

void ClientCollection::AddNew(qint32 first, qint32 second, const QVariant &omitted)
{
    Q_UNUSED(first);
    Q_UNUSED(second);
    Q_UNUSED(omitted);
    requireClass();
    BusinessComponent *component = adopt(m_class->create(nullptr));
    m_entries.push_back({std::unique_ptr<BusinessComponent>(component), {}, {}});
    if (m_adopt)
        m_adopt(*component);
}

BusinessComponent *ClientCollection::requireAcceptable(Component *component, const char *operation)
{
    requireClass();
    auto *business = qobject_cast<BusinessComponent *>(component);
    if (!business || business->businessClass().name().compare(m_class->name(), Qt::CaseInsensitive) != 0)
        throw Error(Error::TypeMismatch, QStringLiteral("%1: a collection of %2 holds only components of that class.")
                                             .arg(QLatin1String(operation), m_class->name()));
    // Two holders would both delete it.
    if (business->holder())
        throw Error(Error::InvalidArgument,
                    QStringLiteral("%1: the component is already held by a collection.").arg(QLatin1String(operation)));
    return business;
}

Component *ClientCollection::AddComponent(Component *component, const QString &key)
{
    BusinessComponent *business = requireAcceptable(component, "AddComponent");
    if (!key.isEmpty()) {
        const bool taken =
            std::any_of(m_entries.cbegin(), m_entries.cend(), [&key](const Entry &entry) { return entry.key == key; });
        if (taken)
            throw Error(Error::InvalidArgument,
                        QStringLiteral("An item is already held under the key \"%1\".").arg(key));
    }
    m_entries.push_back({std::unique_ptr<BusinessComponent>(adopt(business)), key, {}});
    if (m_adopt)
        m_adopt(*business);
    return business;
}

void ClientCollection::RemoveAt(qint32 index)
{
    const qsizetype position = requirePosition(index);
    componentAt(size_t(position));
    std::unique_ptr<BusinessComponent> component = std::move(m_entries[size_t(position)].component);
    m_entries.erase(m_entries.begin() + position);
    // A new one was never stored: it goes at once. A stored one waits for its delete.
    if (!component->IsNew())
        m_removed.push_back(std::move(component));
}

bool ClientCollection::SaveAll()
{
    try {
        requireClass();
        return saveInOneTransaction(
            ServerDirectory::Find(m_serverName), [this](SaveTransaction &tx) { write(tx); }, m_lastError);
    } catch (const Error &e) { // no class or no server to save to
        m_lastError = e.description();
        return false;
    }
}

void ClientCollection::write(SaveTransaction &tx, WriteMode mode)
{
    requireClass();
    if (mode == WriteMode::Changes) {
        for (const auto &removed : m_removed)
            m_class->remove(tx, *removed);
    }
    if (!m_removed.empty())
        tx.onCommit([this] { m_removed.clear(); });
    const bool everything = mode == WriteMode::Everything;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        // A row never made into a component is as stored: nothing to write unless all is.
        if (m_entries[i].component || everything)
            componentAt(i)->write(tx, m_adopt, everything);
    }
}

bool ClientCollection::AnyChanged() const
{
    return std::any_of(m_entries.cbegin(), m_entries.cend(), [](const Entry &entry) {
        return entry.component && (entry.component->IsNew() || entry.component->IsChanged());
    });
}

void ClientCollection::RefreshAll()
{
    for (const Entry &entry : m_entries) {
        if (entry.component)
            entry.component->Refresh();
    }
}

bool ClientCollection::hasPendingChanges() const
{
    return !m_removed.empty() || AnyChanged();
}

void ClientCollection::ClearAll()
{
    releaseAll();
}

void ClientCollection::releaseAll()
{
    m_entries.clear();
    m_removed.clear();
}

void ClientCollection::requireClass() const
{
    if (!m_class)
        throw Error(Error::IllegalOperation,
                    QStringLiteral("The collection is not bound to a class; call OpenClass first."));
}

} // namespace talv::clients

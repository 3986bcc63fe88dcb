#include "ElementGroupClient.h"

#include "SaveTransaction.h"
#include "platform/Error.h"
#include "platform/XmlHelper.h"

namespace talv::clients {

ElementGroupClient::ElementGroupClient(std::shared_ptr<const ElementGroupClass> groupClass, QObject *parent)
    : ElementGroupObject(parent), m_class(std::move(groupClass)),
      m_row(static_cast<ElementGroupRow *>(m_class->create(nullptr))), m_bindings(*this)
{}

ElementGroupClient::~ElementGroupClient() = default;

QVariant ElementGroupClient::property(const QString &name) const
{
    return m_row->property(name);
}

void ElementGroupClient::setProperty(const QString &name, const QVariant &value)
{
    m_row->setProperty(name, value);
}

bool ElementGroupClient::IsNew() const
{
    return m_row->IsNew();
}

bool ElementGroupClient::IsChanged() const
{
    return m_row->IsChanged();
}

void ElementGroupClient::Refresh()
{
    // Only a group saved as it stands is read again: edits are never dropped here.
    if (m_row->hasPendingChanges())
        return;
    m_row->Refresh();
    m_bindings.showAll();
}

bool ElementGroupClient::Open(const QString &serverName, qint32 serverType)
{
    if (!m_row->Open(serverName, serverType))
        return false;
    m_row->resetChildren(false);
    return true;
}

void ElementGroupClient::requireServer() const
{
    m_row->server(); // raises naming the missing server
}

bool ElementGroupClient::LoadByID(qint32 id)
{
    requireServer();
    const std::optional<QVariantList> stored = m_class->loadByKey(m_row->server(), id);
    if (!stored)
        return false;
    m_row->setStored(*stored);
    m_row->setOverwrite(false);
    m_row->resetChildren(true);
    m_bindings.showAll();
    return true;
}

qint32 ElementGroupClient::ID() const
{
    return qint32(m_row->key().toLongLong());
}

void ElementGroupClient::Close()
{
    m_bindings.unbind({});
    m_row.reset(static_cast<ElementGroupRow *>(m_class->create(nullptr)));
}

void ElementGroupClient::NewRecord(bool flag, const QVariant &omitted)
{
    Q_UNUSED(flag);
    Q_UNUSED(omitted);
    requireServer();
    const ServerConnection server = m_row->server();
    if (!server.nextId)
        throw Error(Error::Database, QStringLiteral("The server hands out no new ids."));
    const qint64 id = server.nextId(QStringLiteral("element_group_seq"));
    m_row->Init(true);
    m_row->setOverwrite(false);
    m_row->setValue(ElementGroupClass::ElementGroupId, id);
    m_row->setValue(ElementGroupClass::UniversalKey, ElementGroupClass::universalKeyFor(id));
    m_row->resetChildren(false);
    m_bindings.showAll();
}

void ElementGroupClient::requireSavableName() const
{
    const QString name = m_row->value(ElementGroupClass::ElementGroupName).toString();
    if (name.trimmed().isEmpty())
        throw Error(Error::InvalidArgument, QStringLiteral("The group has no name; give it one before saving."));
    if (name.size() > ElementGroupClass::NameLength)
        throw Error(Error::InvalidArgument,
                    QStringLiteral("The group name is %1 characters long; at most %2 fit. Shorten it before saving.")
                        .arg(name.size())
                        .arg(ElementGroupClass::NameLength));
}

bool ElementGroupClient::Save()
{
    if (!m_row->hasPendingChanges())
        return true;
    requireSavableName();
    SaveTransaction tx(m_row->server());
    m_row->write(tx);
    tx.commit();
    return true;
}

void ElementGroupClient::OverwriteOnNextSave()
{
    if (!m_row->IsNew())
        m_row->setOverwrite(true);
}

void ElementGroupClient::BindControl(QWidget *control, const QString &controlProperty, const QString &groupProperty,
                                     const QString &format)
{
    Q_UNUSED(format);
    m_bindings.bind(control, controlProperty, groupProperty);
}

void ElementGroupClient::Unbind(const QString &bindingName)
{
    m_bindings.unbind(bindingName);
}

RecordsetPtr ElementGroupClient::GetLookup(const QString &lookupName, const QVariant &omitted, qint32 flag)
{
    Q_UNUSED(omitted);
    Q_UNUSED(flag);
    requireServer();
    return groupLookup(m_row->server(), lookupName);
}

ComponentCollection &ElementGroupClient::Members()
{
    return m_row->members();
}

ComponentCollection &ElementGroupClient::References()
{
    return m_row->references();
}

QString ElementGroupClient::ComponentPropertiesXml() const
{
    QDomDocument document;
    QDomElement root = document.createElement(QStringLiteral("TALV"));
    document.appendChild(root);
    const QDomElement list = XmlHelper::appendElement(root, QStringLiteral("COMPONENT_PROPERTIES"));
    const TableClass::Definition &definition = m_class->definition();
    for (int i = 0; i < definition.properties.size(); ++i) {
        const QString column = definition.table + QLatin1Char('.') + definition.columns.at(i).select;
        const QString &name = definition.properties.at(i).name;
        XmlHelper::appendElement(list, name, column);
        // The record screen tags its member-type field with this spelling; XML names are exact.
        if (i == ElementGroupClass::DGroupMemberTypeID)
            XmlHelper::appendElement(list, QStringLiteral("DGroupMemberTypeId"), column);
    }
    return XmlHelper::toText(document);
}

} // namespace talv::clients

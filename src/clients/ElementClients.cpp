#include "ElementClients.h"

#include "contracts/ClassRegistry.h"
#include "contracts/Names.h"
#include "platform/Error.h"

namespace talv::clients {

namespace {

// A class whose records are read one at a time, by id.
class RecordByIdClass final : public TableClass
{
public:
    using TableClass::TableClass;

    QList<QVariantList> load(const ServerConnection &, const LoadRequest &request) const override
    {
        throw Error(Error::InvalidArgument, QStringLiteral("Class %1 has no criterion \"%2\"; load a record by its id.")
                                                .arg(name(), request.criterion));
    }
};

TableClass::Definition elementTable(const QString &className)
{
    TableClass::Definition d;
    d.className = className;
    d.table = QStringLiteral("element_global");
    d.from = QStringLiteral("element_global JOIN scientific_name "
                            "ON scientific_name.scientific_name_id = element_global.gname_id");
    d.sequence = QStringLiteral("element_global_seq");
    return d;
}

void add(TableClass::Definition &d, const char *property, FieldType type, int flags, const char *select)
{
    d.properties.append({QString::fromLatin1(property), type, flags});
    d.columns.append({QString::fromLatin1(select), {}});
}

} // namespace

std::shared_ptr<const TableClass> elementGlobalClass()
{
    static const std::shared_ptr<const TableClass> made = [] {
        using P = PropertyInfo;
        TableClass::Definition d = elementTable(names::ElementGlobalClass);
        add(d, "ElementGlobalID", FieldType::Integer, P::Key, "element_global.element_global_id");
        add(d, "GNameID", FieldType::Integer, P::ReadOnly, "element_global.gname_id");
        add(d, "ScientificName", FieldType::VarChar, P::ReadOnly, "scientific_name.scientific_name");
        add(d, "CommonName", FieldType::VarChar, P::ReadOnly, "element_global.g_primary_common_name");
        add(d, "ElementCategory", FieldType::VarChar, P::ReadOnly, "element_global.element_category");
        add(d, "GRank", FieldType::VarChar, P::ReadOnly, "element_global.g_rank");
        add(d, "RecCreateUser", FieldType::VarChar, P::ReadOnly, "element_global.rec_create_user");
        add(d, "RecCreateDate", FieldType::Date, P::ReadOnly, "element_global.rec_create_date");
        add(d, "RecLastModUser", FieldType::VarChar, P::ReadOnly, "element_global.rec_last_mod_user");
        add(d, "RecLastModDate", FieldType::Date, P::ReadOnly, "element_global.rec_last_mod_date");
        return std::make_shared<const RecordByIdClass>(d);
    }();
    return made;
}

std::shared_ptr<const TableClass> elementTrackingClass()
{
    static const std::shared_ptr<const TableClass> made = [] {
        using P = PropertyInfo;
        TableClass::Definition d = elementTable(names::ElementTrackingClass);
        add(d, "ElementTrackingID", FieldType::Integer, P::Key, "element_global.element_global_id");
        add(d, "ElementGlobalID", FieldType::Integer, P::ReadOnly, "element_global.element_global_id");
        add(d, "ScientificName", FieldType::VarChar, P::ReadOnly, "scientific_name.scientific_name");
        return std::make_shared<const RecordByIdClass>(d);
    }();
    return made;
}

TableRecordClient::TableRecordClient(BusinessClassPtr recordClass, QObject *parent)
    : RecordObject(parent), m_class(std::move(recordClass)), m_row(m_class->create(nullptr))
{}

TableRecordClient::~TableRecordClient() = default;

QVariant TableRecordClient::property(const QString &name) const
{
    return m_row->property(name);
}

void TableRecordClient::setProperty(const QString &name, const QVariant &value)
{
    Q_UNUSED(value);
    throw Error(Error::IllegalOperation,
                QStringLiteral("The %1 record is read-only; %2 cannot be set.").arg(m_class->name(), name));
}

void TableRecordClient::Refresh()
{
    if (!m_row->IsNew())
        m_row->Refresh();
}

bool TableRecordClient::Open(const QString &serverName, qint32 serverType)
{
    return m_row->Open(serverName, serverType);
}

bool TableRecordClient::LoadByID(qint32 id)
{
    const std::optional<QVariantList> stored = m_class->loadByKey(m_row->server(), id);
    if (!stored)
        return false;
    m_row->setStored(*stored);
    return true;
}

qint32 TableRecordClient::ID() const
{
    return qint32(m_row->key().toLongLong());
}

void TableRecordClient::Close()
{
    m_row.reset(m_class->create(nullptr));
}

void registerElementClients()
{
    for (const std::shared_ptr<const TableClass> &recordClass : {elementGlobalClass(), elementTrackingClass()}) {
        ClassRegistry::instance().Register(recordClass->name(), [recordClass](QObject *parent) -> QObject * {
            return new TableRecordClient(recordClass, parent);
        });
    }
}

void unregisterElementClients()
{
    ClassRegistry::instance().Unregister(names::ElementGlobalClass);
    ClassRegistry::instance().Unregister(names::ElementTrackingClass);
}

} // namespace talv::clients

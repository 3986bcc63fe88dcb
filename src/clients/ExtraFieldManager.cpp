#include "ExtraFieldManager.h"

#include "SaveTransaction.h"
#include "contracts/AppManager.h"
#include "platform/Error.h"

#include <QSqlQuery>
#include <QWidget>

namespace talv::clients {

ExtraFieldManager::ExtraFieldManager(QObject *parent) : FieldManager(parent)
{}

ExtraFieldManager::~ExtraFieldManager() = default;

void ExtraFieldManager::Init(qint32 userId, AppManager *appManager)
{
    Q_UNUSED(userId);
    if (!appManager)
        throw Error(Error::InvalidArgument, QStringLiteral("The field manager needs the application manager."));
    m_serverName = appManager->GetServerName();
}

ServerConnection ExtraFieldManager::server() const
{
    if (m_serverName.isEmpty())
        throw Error(Error::IllegalOperation, QStringLiteral("The field manager was not initialised."));
    return ServerDirectory::Find(m_serverName);
}

void ExtraFieldManager::Attach(QWidget *control, const QString &controlName, const QObjectList &children,
                               const QVariant &reserved)
{
    Q_UNUSED(reserved);
    m_formName = controlName;
    m_fields.clear();
    QSqlQuery q = execBound(server().database(),
                            QStringLiteral("SELECT control_name FROM screen_extra_field WHERE form_name = ? "
                                           "ORDER BY control_name"),
                            {controlName}, true);
    while (q.next()) {
        const QString name = q.value(0).toString();
        QObject *found = nullptr;
        for (QObject *child : children) {
            if (child && child->objectName() == name)
                found = child;
        }
        if (!found && control)
            found = control->findChild<QObject *>(name);
        const QMetaProperty property = found ? found->metaObject()->userProperty() : QMetaProperty();
        if (property.isValid() && property.isWritable())
            m_fields.push_back({name, found, property, {}});
    }
}

QStringList ExtraFieldManager::WatchedFields() const
{
    QStringList names;
    for (const Field &field : m_fields)
        names.append(field.controlName);
    return names;
}

QString ExtraFieldManager::shown(const Field &field) const
{
    return field.control ? field.property.read(field.control).toString() : field.loaded;
}

void ExtraFieldManager::LoadRecord(QWidget *control, const QString &controlName, const QObjectList &children,
                                   qint32 &recordId)
{
    Q_UNUSED(control);
    Q_UNUSED(controlName);
    Q_UNUSED(children);
    if (m_fields.empty())
        return;
    QHash<QString, QString> stored;
    QSqlQuery q = execBound(server().database(),
                            QStringLiteral("SELECT control_name, field_value FROM screen_extra_value "
                                           "WHERE form_name = ? AND record_id = ?"),
                            {m_formName, recordId}, true);
    while (q.next())
        stored.insert(q.value(0).toString(), q.value(1).toString());
    for (Field &field : m_fields) {
        if (field.control)
            field.property.write(field.control, stored.value(field.controlName));
        field.loaded = shown(field);
    }
}

bool ExtraFieldManager::IsDirty() const
{
    for (const Field &field : m_fields) {
        if (shown(field) != field.loaded)
            return true;
    }
    return false;
}

bool ExtraFieldManager::SaveRecord(QWidget *control, const QString &controlName, const QObjectList &children,
                                   qint32 &recordId)
{
    Q_UNUSED(control);
    Q_UNUSED(controlName);
    Q_UNUSED(children);
    m_lastError.clear();
    if (!IsDirty())
        return true;
    const qint32 id = recordId;
    return saveInOneTransaction(
        server(),
        [&](SaveTransaction &tx) {
            for (const Field &field : m_fields) {
                const QString value = shown(field);
                if (value == field.loaded)
                    continue;
                // An emptied field keeps no row.
                if (value.isEmpty())
                    tx.exec(QStringLiteral("DELETE FROM screen_extra_value WHERE form_name = ? AND control_name = ? "
                                           "AND record_id = ?"),
                            {m_formName, field.controlName, id});
                else
                    tx.exec(QStringLiteral("INSERT INTO screen_extra_value (form_name, control_name, record_id, "
                                           "field_value) VALUES (?, ?, ?, ?) ON CONFLICT (form_name, control_name, "
                                           "record_id) DO UPDATE SET field_value = excluded.field_value"),
                            {m_formName, field.controlName, id, value});
            }
        },
        m_lastError);
}

void ExtraFieldManager::AcceptChanges()
{
    for (Field &field : m_fields)
        field.loaded = shown(field);
}

} // namespace talv::clients

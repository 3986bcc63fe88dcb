#include "ReferenceAppManager.h"

#include "BoundSql.h"
#include "contracts/LateBinding.h"
#include "contracts/Names.h"
#include "platform/Error.h"

#include <QWidget>

namespace talv::host {

ReferenceAppManager::ReferenceAppManager(HostSession &session)
    : m_session(session), m_systemControls(session.connection()),
      m_audit(session.connection(), [db = &session.database()](const QString &seq) { return db->nextId(seq); })
{}

QString ReferenceAppManager::GetServerName()
{
    return m_session.serverName();
}
qint32 ReferenceAppManager::GetServerType()
{
    return m_session.serverType();
}
qint32 ReferenceAppManager::GetUserID()
{
    return m_session.user().id;
}
QString ReferenceAppManager::GetUserName()
{
    return m_session.user().userName;
}

void ReferenceAppManager::ApplySecurity(QWidget *control, const QVariant &, const QString &controlName,
                                        const QObjectList &children)
{
    applySecurity(rights(), control, controlName, children);
}

int ReferenceAppManager::Message(const QString &messageId, const QStringList &arguments)
{
    return m_messages.show(messageId, arguments);
}

RecordsetPtr ReferenceAppManager::CallGetQueryRSXML(const QString &sql)
{
    return m_session.queries().Run(sql);
}

RecordsetPtr ReferenceAppManager::Auditing(const QString &tableName, qint32 recordId, const QString &columnName)
{
    return auditTrailRows(m_session.connection(), tableName, recordId, columnName);
}

qint32 ReferenceAppManager::GetSystemOrgUnitID()
{
    return m_session.user().orgUnitId;
}

QString ReferenceAppManager::GetOrgUnitCode(qint32 orgUnitId)
{
    QSqlQuery q = sql::exec(m_session.connection(),
                            QStringLiteral("SELECT org_unit_code FROM org_unit WHERE org_unit_id = ?"), {orgUnitId});
    return q.next() ? q.value(0).toString() : QString();
}

bool ReferenceAppManager::CheckPermission(const QVariant &value)
{
    if (rights().letter(DetailsScreen, DeleteCommand) != AccessRights::Full)
        return false;
    if (!value.isValid() || value.isNull())
        return true;
    if (value.metaType().id() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.size() == 1 && text.at(0).isLetter())
            return text.compare(AccessRights::Full, Qt::CaseInsensitive) == 0;
    }
    return value.toBool();
}

void ReferenceAppManager::requireRight(const QString &command, const QString &what) const
{
    if (rights().letter(DetailsScreen, command) != AccessRights::Full)
        throw Error(NotAllowed, QStringLiteral("%1 may not %2.").arg(m_session.user().userName, what));
}

Author ReferenceAppManager::author() const
{
    return Author{m_session.user().userName, m_session.user().orgUnitId};
}

bool ReferenceAppManager::Delete(const QString &operation, qint32 recordId, const QString &, const QString &tableName)
{
    if (operation.compare(QStringLiteral("delete_table_data"), Qt::CaseInsensitive) != 0)
        throw Error(Error::InvalidArgument,
                    QStringLiteral("The host offers no delete operation \"%1\".").arg(operation));
    if (tableName.compare(QStringLiteral("ELEMENT_GROUP"), Qt::CaseInsensitive) != 0)
        throw Error(Error::InvalidArgument, QStringLiteral("The host cannot delete records of \"%1\".").arg(tableName));
    requireRight(DeleteCommand, QStringLiteral("delete element groups"));
    deleteElementGroup(m_session.connection(), m_audit, recordId, author());
    return true;
}

bool ReferenceAppManager::Copy(const QString &operation, const QVariant &sourceGroup, qint32 targetGroupId,
                               const QString &)
{
    if (operation.compare(QStringLiteral("COPY_EL_GROUPS"), Qt::CaseInsensitive) != 0)
        throw Error(Error::InvalidArgument, QStringLiteral("The host offers no copy operation \"%1\".").arg(operation));
    bool isNumber = false;
    const qint32 sourceId = sourceGroup.toString().trimmed().toInt(&isNumber);
    if (!isNumber)
        throw Error(Error::InvalidArgument,
                    QStringLiteral("\"%1\" is not an element group id.").arg(sourceGroup.toString()));
    requireRight(CopyCommand, QStringLiteral("copy data into element groups"));
    copyElementGroup(m_session.connection(), m_audit, sourceId, targetGroupId, author());
    return true;
}

QString ReferenceAppManager::GetControlAccess(const QString &controlName, const QString &menuName)
{
    return rights().letter(controlName, menuName);
}

RecordsetPtr ReferenceAppManager::GetPrototypeRSForView(const QString &viewCode)
{
    const HostView *view = m_views.find(viewCode);
    if (!view)
        throw Error(Error::InvalidArgument, QStringLiteral("The host has no view \"%1\".").arg(viewCode));
    const QString listView = view->definition().workingListView;
    if (listView.isEmpty())
        throw Error(Error::InvalidArgument, QStringLiteral("The view \"%1\" has no list.").arg(viewCode));
    // The name comes from our own catalogue, never from a caller.
    return m_session.queries().Run(QStringLiteral("SELECT * FROM %1 WHERE 1=0").arg(listView));
}

QString ReferenceAppManager::HelpFile()
{
    return m_help.helpFile();
}

bool ReferenceAppManager::GetHelpTopicID(QWidget *hostedControl, qint32 &topicId)
{
    const auto topic = m_help.topicFor(hostedControl);
    if (topic)
        topicId = *topic;
    return topic.has_value();
}

HostWindowServices &ReferenceAppManager::window(const char *member) const
{
    if (!m_window)
        throw Error(Error::MemberNotFound,
                    QStringLiteral("%1 needs the main window, which is not open.").arg(QString::fromLatin1(member)));
    return *m_window;
}

void ReferenceAppManager::ShowAbout()
{
    window("ShowAbout").ShowAbout();
}
void ReferenceAppManager::PopupEdit(FlexGrid *grid)
{
    window("PopupEdit").PopupEdit(grid);
}

bool ReferenceAppManager::OpenRelatedDetail(const QString &viewCode, const QString &targetViewCode,
                                            const QString &caption, qint32 &recordId)
{
    return window("OpenRelatedDetail").OpenRelatedDetail(viewCode, targetViewCode, caption, recordId);
}

void ReferenceAppManager::DisplaySystemControlEntry(QWidget *hostedControl)
{
    if (!hostedControl)
        return;
    QObject *active = nullptr;
    try {
        active = LateBinding::property(hostedControl, names::member::ActiveControl).value<QObject *>();
    } catch (const Error &) {
        active = hostedControl->focusWidget();
    }
    // The focus often sits in an inner part (a grid's viewport); the entry is kept for the control.
    QString controlName;
    for (QObject *o = active; o && o != hostedControl && controlName.isEmpty(); o = o->parent())
        controlName = o->objectName();
    const QString title = QStringLiteral("System Control");
    if (controlName.isEmpty()) {
        UiServices::current().messageBox(QStringLiteral("No field of this screen has the focus."), MsgButtons::OK,
                                         MsgIcon::Information, title);
        return;
    }
    const std::optional<SystemControls::Entry> entry = m_systemControls.find(controlName, hostedControl->objectName());
    UiServices::current().messageBox(entry
                                         ? SystemControls::describe(*entry)
                                         : QStringLiteral("There is no system control entry for %1.").arg(controlName),
                                     MsgButtons::OK, MsgIcon::Information, title);
}

} // namespace talv::host

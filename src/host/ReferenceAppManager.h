#pragma once

#include "AccessRights.h"
#include "AuditTrailRows.h"
#include "GroupWrites.h"
#include "HelpTopics.h"
#include "HostSession.h"
#include "HostWindowServices.h"
#include "MessageCatalogue.h"
#include "SystemControls.h"
#include "ViewCatalogue.h"
#include "contracts/AppManager.h"

namespace talv::host {

// The reference host's application manager: the services of a session that need no window of
// their own. The window services are forwarded to the main window once it has set itself with
// setWindowServices; until then they raise talv::Error.
//
// Delete and Copy answer true when done and raise talv::Error for every failure (a missing group,
// a refused statement, a lost connection, a user who may not write, an unknown operation), with
// the database's own message, so that the screens' "Unable to ..." boxes can show why; they never
// answer false. A failed call leaves the database exactly as before. The audit trail names the
// session's user, whatever user name the caller passes.
class ReferenceAppManager final : public AppManager
{
public:
    // Raised by Delete and Copy for a user whose rights do not allow them.
    static constexpr int NotAllowed = 7002;
    // The screen and commands whose rights guard Delete, Copy and CheckPermission.
    static inline const QString DetailsScreen = QStringLiteral("ELGroupDetails");
    static inline const QString DeleteCommand = QStringLiteral("mnuEditDelete");
    static inline const QString CopyCommand = QStringLiteral("mnuToolsCopy");

    // `session` must outlive the manager.
    explicit ReferenceAppManager(HostSession &session);

    // Not owned; nullptr takes them back (the main window does so when it closes).
    void setWindowServices(HostWindowServices *services) { m_window = services; }

    MessageCatalogue &messages() { return m_messages; }
    ViewCatalogue &views() { return m_views; }
    HelpTopics &help() { return m_help; }
    const SystemControls &systemControls() const { return m_systemControls; }
    const AccessRights &rights() const { return m_session.rights(); }

    QString GetServerName() override;
    qint32 GetServerType() override;
    qint32 GetUserID() override;
    QString GetUserName() override;

    void ApplySecurity(QWidget *control, const QVariant &omitted, const QString &controlName,
                       const QObjectList &children) override;
    int Message(const QString &messageId, const QStringList &arguments = {}) override;

    RecordsetPtr CallGetQueryRSXML(const QString &sql) override;
    // `tableName` in any case; an empty `columnName` answers the whole record's trail.
    RecordsetPtr Auditing(const QString &tableName, qint32 recordId, const QString &columnName) override;

    void ShowAbout() override;
    // The logged-in user's organisation unit.
    qint32 GetSystemOrgUnitID() override;
    // Empty text for an unknown unit, so that a display never fails on it.
    QString GetOrgUnitCode(qint32 orgUnitId) override;

    // True when the user may delete groups (their letter for mnuEditDelete on ELGroupDetails is
    // "F") and `value` does not deny it: an access letter other than "F", or anything that reads as
    // false (false, 0), denies; an empty value leaves it to the user's rights alone.
    bool CheckPermission(const QVariant &value) override;
    // Delete("delete_table_data", group id, user name (not used), "ELEMENT_GROUP"): see
    // deleteElementGroup.
    bool Delete(const QString &operation, qint32 recordId, const QString &userName, const QString &tableName) override;
    // Copy("COPY_EL_GROUPS", source group id (number or text), target id, user name (not used)):
    // see copyElementGroup.
    bool Copy(const QString &operation, const QVariant &sourceGroup, qint32 targetGroupId,
              const QString &userName) override;

    void PopupEdit(FlexGrid *grid) override;
    QString GetControlAccess(const QString &controlName, const QString &menuName) override;
    bool OpenRelatedDetail(const QString &viewCode, const QString &targetViewCode, const QString &caption,
                           qint32 &recordId) override;
    // The view's working-list layout, run with WHERE 1=0; an unknown code or a view without a
    // list raises talv::Error (InvalidArgument).
    RecordsetPtr GetPrototypeRSForView(const QString &viewCode) override;
    HostViewManager &ViewManager() override { return m_views; }

    QString HelpFile() override;
    bool GetHelpTopicID(QWidget *hostedControl, qint32 &topicId) override;
    // Shows the system-control entry of the field the user is in (the control's ActiveControl, or
    // the nearest named container of it) in a message box; says so when there is none.
    void DisplaySystemControlEntry(QWidget *hostedControl) override;

private:
    HostWindowServices &window(const char *member) const;
    void requireRight(const QString &command, const QString &what) const;
    Author author() const;

    HostSession &m_session;
    MessageCatalogue m_messages;
    ViewCatalogue m_views;
    HelpTopics m_help;
    SystemControls m_systemControls;
    AuditTrail m_audit;
    HostWindowServices *m_window = nullptr;
};

} // namespace talv::host

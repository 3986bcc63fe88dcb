#pragma once

#include "platform/Recordset.h"
#include "platform/UiServices.h"

#include <QObjectList>
#include <QString>
#include <QStringList>
#include <QVariant>

class QWidget;

namespace talv {

class FlexGrid;
class HostViewManager;

// The host application's manager, handed to every screen. The host owns it and it outlives the
// screens that hold it; errors raise talv::Error.
class AppManager
{
public:
    virtual ~AppManager() = default;

    virtual QString GetServerName() = 0;
    virtual qint32 GetServerType() = 0;
    virtual qint32 GetUserID() = 0;
    virtual QString GetUserName() = 0;

    // Lets the host enable or hide `children` (widgets and actions, by objectName) after the
    // user's rights; `omitted` is passed empty by the screens and kept for hosts that use it.
    virtual void ApplySecurity(QWidget *control, const QVariant &omitted, const QString &controlName,
                               const QObjectList &children) = 0;

    // Shows the host's message `messageId` with its argument texts; answers the button pressed
    // as an Answer code (OK, Cancel, Yes, No), like a message box.
    virtual int Message(const QString &messageId, const QStringList &arguments = {}) = 0;

    // Runs a query and answers its rows.
    virtual RecordsetPtr CallGetQueryRSXML(const QString &sql) = 0;
    virtual RecordsetPtr Auditing(const QString &tableName, qint32 recordId, const QString &columnName) = 0;

    virtual void ShowAbout() = 0;
    virtual qint32 GetSystemOrgUnitID() = 0;
    virtual QString GetOrgUnitCode(qint32 orgUnitId) = 0;

    // `value` is whatever the business client offers as its permission value.
    virtual bool CheckPermission(const QVariant &value) = 0;
    virtual bool Delete(const QString &operation, qint32 recordId, const QString &userName,
                        const QString &tableName) = 0;
    // `sourceGroup` is the picked id as the search left it (text), hence a variant.
    virtual bool Copy(const QString &operation, const QVariant &sourceGroup, qint32 targetGroupId,
                      const QString &userName) = 0;

    virtual void PopupEdit(FlexGrid *grid) = 0;
    // Answers an access letter; "F" means full access.
    virtual QString GetControlAccess(const QString &controlName, const QString &menuName) = 0;
    // The host may change `recordId`; answers false when it opened nothing.
    virtual bool OpenRelatedDetail(const QString &viewCode, const QString &targetViewCode, const QString &caption,
                                   qint32 &recordId) = 0;
    // An empty, open recordset in the list layout of the view.
    virtual RecordsetPtr GetPrototypeRSForView(const QString &viewCode) = 0;
    virtual HostViewManager &ViewManager() = 0;

    virtual QString HelpFile() = 0;
    // `hostedControl` offers the Qt property "ActiveControl"; answers true and sets `topicId`
    // when the host knows a help topic for it.
    virtual bool GetHelpTopicID(QWidget *hostedControl, qint32 &topicId) = 0;
    virtual void DisplaySystemControlEntry(QWidget *hostedControl) = 0;
};

} // namespace talv

// Hosted screens receive the manager through late-bound calls, so it must travel in a QVariant.
Q_DECLARE_METATYPE(talv::AppManager *)

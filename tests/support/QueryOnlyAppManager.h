#pragma once

#include "contracts/AppManager.h"
#include "host/QueryService.h"

#include <QStringList>

namespace talv::test {

// An application manager that answers queries from a real database through the host's query
// service and records every SQL text; it offers nothing else, so a test that needs more fails
// loudly instead of getting an invented answer.
class QueryOnlyAppManager : public AppManager
{
public:
    explicit QueryOnlyAppManager(QSqlDatabase db) : m_queries(std::move(db)) {}

    QStringList sqlSent;

    RecordsetPtr CallGetQueryRSXML(const QString &sql) override
    {
        sqlSent.append(sql);
        return m_queries.Run(sql);
    }

    QString GetServerName() override { unavailable("GetServerName"); }
    qint32 GetServerType() override { unavailable("GetServerType"); }
    qint32 GetUserID() override { unavailable("GetUserID"); }
    QString GetUserName() override { unavailable("GetUserName"); }
    void ApplySecurity(QWidget *, const QVariant &, const QString &, const QObjectList &) override
    {
        unavailable("ApplySecurity");
    }
    int Message(const QString &, const QStringList &) override { unavailable("Message"); }
    RecordsetPtr Auditing(const QString &, qint32, const QString &) override { unavailable("Auditing"); }
    void ShowAbout() override { unavailable("ShowAbout"); }
    qint32 GetSystemOrgUnitID() override { unavailable("GetSystemOrgUnitID"); }
    QString GetOrgUnitCode(qint32) override { unavailable("GetOrgUnitCode"); }
    bool CheckPermission(const QVariant &) override { unavailable("CheckPermission"); }
    bool Delete(const QString &, qint32, const QString &, const QString &) override { unavailable("Delete"); }
    bool Copy(const QString &, const QVariant &, qint32, const QString &) override { unavailable("Copy"); }
    void PopupEdit(FlexGrid *) override { unavailable("PopupEdit"); }
    QString GetControlAccess(const QString &, const QString &) override { unavailable("GetControlAccess"); }
    bool OpenRelatedDetail(const QString &, const QString &, const QString &, qint32 &) override
    {
        unavailable("OpenRelatedDetail");
    }
    RecordsetPtr GetPrototypeRSForView(const QString &) override { unavailable("GetPrototypeRSForView"); }
    HostViewManager &ViewManager() override { unavailable("ViewManager"); }
    QString HelpFile() override { unavailable("HelpFile"); }
    bool GetHelpTopicID(QWidget *, qint32 &) override { unavailable("GetHelpTopicID"); }
    void DisplaySystemControlEntry(QWidget *) override { unavailable("DisplaySystemControlEntry"); }

private:
    [[noreturn]] static void unavailable(const char *member)
    {
        throw Error(Error::MemberNotFound,
                    QStringLiteral("The test host offers no %1.").arg(QString::fromLatin1(member)));
    }

    host::QueryService m_queries;
};

} // namespace talv::test

#pragma once

#include "contracts/AppManager.h"
#include "contracts/ViewCollection.h"
#include "contracts/WinMan.h"

#include <QList>
#include <QSqlDatabase>
#include <QStringList>

namespace consumer {

// The views of this host: positions 1 to 3 hold element groups, elements and references.
class Views final : public talv::ViewCollection, public talv::HostViewManager
{
public:
    Views();
    qint32 Count() const override { return qint32(m_entries.size()); }
    const talv::ViewEntry &Item(qint32 index) const override;
    talv::ViewCollection &colViews() override { return *this; }

private:
    class Entry final : public talv::ViewEntry
    {
    public:
        explicit Entry(QString code) : m_code(std::move(code)) {}
        QVariant Item(const QString &key) const override;

    private:
        QString m_code;
    };
    QList<Entry> m_entries;
};

// The application manager of a host that is not talv-host: it answers the screens from its own
// SQLite connection and its own rules (everyone has full access, messages are answered OK), and
// keeps what the screens asked of it.
class HostAppManager final : public talv::AppManager
{
public:
    HostAppManager(QSqlDatabase db, QString serverName, qint32 userId, QString userName);

    QStringList sqlSent;
    QStringList messagesShown;

    QString GetServerName() override { return m_serverName; }
    qint32 GetServerType() override;
    qint32 GetUserID() override { return m_userId; }
    QString GetUserName() override { return m_userName; }
    void ApplySecurity(QWidget *, const QVariant &, const QString &, const QObjectList &) override {}
    int Message(const QString &messageId, const QStringList &arguments) override;
    talv::RecordsetPtr CallGetQueryRSXML(const QString &sql) override;
    talv::RecordsetPtr Auditing(const QString &tableName, qint32 recordId, const QString &columnName) override;
    void ShowAbout() override {}
    qint32 GetSystemOrgUnitID() override { return 1; }
    QString GetOrgUnitCode(qint32 orgUnitId) override;
    bool CheckPermission(const QVariant &) override { return true; }
    bool Delete(const QString &, qint32, const QString &, const QString &) override { return false; }
    bool Copy(const QString &, const QVariant &, qint32, const QString &) override { return false; }
    void PopupEdit(talv::FlexGrid *) override {}
    QString GetControlAccess(const QString &, const QString &) override { return QStringLiteral("F"); }
    bool OpenRelatedDetail(const QString &, const QString &, const QString &, qint32 &) override { return false; }
    talv::RecordsetPtr GetPrototypeRSForView(const QString &viewCode) override;
    talv::HostViewManager &ViewManager() override { return m_views; }
    QString HelpFile() override { return {}; }
    bool GetHelpTopicID(QWidget *, qint32 &) override { return false; }
    void DisplaySystemControlEntry(QWidget *) override {}

private:
    QSqlDatabase m_db;
    QString m_serverName;
    qint32 m_userId;
    QString m_userName;
    Views m_views;
};

// Records the record screens the search asks it to open; this host shows them itself.
class HostWindowManager final : public talv::WinMan
{
public:
    struct Opened {
        qint32 view;
        qint32 recordId;
    };
    QList<Opened> opened;

    void OpenDetails(qint32 viewNumber, qint32, qint32 recordId, const QString &, const talv::RecordsetPtr &) override
    {
        opened.append({viewNumber, recordId});
    }
    void NewDetails(qint32, qint32, const QString &) override {}
    qint32 WorkingListType() override { return 1; }
};

} // namespace consumer

#pragma once

#include "contracts/AppManager.h"
#include "host/ReferenceAppManager.h"

#include <QRegularExpression>
#include <QStringList>

namespace talv::test {

// The reference host's application manager, recording the SQL texts and message ids it is asked
// for, the deletes, copies and related screens; everything is forwarded, so the answers are the real host's.
class RecordingAppManager final : public AppManager
{
public:
    explicit RecordingAppManager(host::ReferenceAppManager &real) : r(real) {}
    QStringList sqlSent, messageIds, messageArguments, deletes, copies, relatedDetails;

    // What Find Now sent, without the type list and the empty result layout.
    QStringList searches() const { return sqlSent.filter(QRegularExpression("^SELECT UNIQUE")); }

    RecordsetPtr CallGetQueryRSXML(const QString &s) override { return sqlSent << s, r.CallGetQueryRSXML(s); }
    int Message(const QString &id, const QStringList &args) override
    {
        messageIds << id;
        messageArguments << args.join(u'|');
        return r.Message(id, args);
    }
    QString GetServerName() override { return r.GetServerName(); }
    qint32 GetServerType() override { return r.GetServerType(); }
    qint32 GetUserID() override { return r.GetUserID(); }
    QString GetUserName() override { return r.GetUserName(); }
    void ApplySecurity(QWidget *c, const QVariant &o, const QString &n, const QObjectList &l) override
    {
        r.ApplySecurity(c, o, n, l);
    }
    RecordsetPtr Auditing(const QString &t, qint32 id, const QString &c) override { return r.Auditing(t, id, c); }
    void ShowAbout() override { r.ShowAbout(); }
    qint32 GetSystemOrgUnitID() override { return r.GetSystemOrgUnitID(); }
    QString GetOrgUnitCode(qint32 id) override { return r.GetOrgUnitCode(id); }
    bool CheckPermission(const QVariant &v) override { return r.CheckPermission(v); }
    bool Delete(const QString &o, qint32 i, const QString &u, const QString &t) override
    {
        deletes << QStringLiteral("%1 %2 %3 %4").arg(o).arg(i).arg(u, t);
        return r.Delete(o, i, u, t);
    }
    bool Copy(const QString &o, const QVariant &s, qint32 t, const QString &u) override
    {
        copies << QStringLiteral("%1|%2|%3|%4").arg(o, s.toString()).arg(t).arg(u);
        return r.Copy(o, s, t, u);
    }
    void PopupEdit(FlexGrid *grid) override { r.PopupEdit(grid); }
    QString GetControlAccess(const QString &c, const QString &m) override { return r.GetControlAccess(c, m); }
    bool OpenRelatedDetail(const QString &v, const QString &t, const QString &c, qint32 &id) override
    {
        relatedDetails << QStringLiteral("%1|%2|%3|%4").arg(v, t, c).arg(id);
        return r.OpenRelatedDetail(v, t, c, id);
    }
    RecordsetPtr GetPrototypeRSForView(const QString &code) override { return r.GetPrototypeRSForView(code); }
    HostViewManager &ViewManager() override { return r.ViewManager(); }
    QString HelpFile() override { return r.HelpFile(); }
    bool GetHelpTopicID(QWidget *c, qint32 &topic) override { return r.GetHelpTopicID(c, topic); }
    void DisplaySystemControlEntry(QWidget *c) override { r.DisplaySystemControlEntry(c); }

private:
    host::ReferenceAppManager &r;
};

} // namespace talv::test

#pragma once

#include "search/ELGroupSearch.h"
#include "search/SearchScreens.h"

#include "host/HostSession.h"
#include "host/QueryService.h"
#include "host/ReferenceAppManager.h"
#include "host/ViewCatalogue.h"
#include "host/WindowManager.h"
#include "host/WorkArea.h"
#include "host/WorkingLists.h"
#include "support/EngineDatabase.h"

#include "contracts/ClassRegistry.h"
#include "contracts/LateBinding.h"
#include "platform/FlexGrid.h"
#include "platform/ScriptedUiServices.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace talv::test {

// The reference host's application manager with a record of what the search asked of it: the SQL
// texts and message ids. Everything is forwarded, so the answers are the real host's.
class RecordingAppManager final : public AppManager
{
public:
    explicit RecordingAppManager(host::ReferenceAppManager &real) : m_real(real) {}

    QStringList sqlSent;
    QStringList messageIds;

    // The statements Find Now sent, leaving out the type list and the empty result layout.
    QStringList searches() const
    {
        QStringList out;
        for (const QString &sql : sqlSent)
            if (sql.startsWith(QLatin1String("SELECT UNIQUE")))
                out << sql;
        return out;
    }

    RecordsetPtr CallGetQueryRSXML(const QString &sql) override
    {
        sqlSent << sql;
        return m_real.CallGetQueryRSXML(sql);
    }
    int Message(const QString &messageId, const QStringList &arguments = {}) override
    {
        messageIds << messageId;
        return m_real.Message(messageId, arguments);
    }

    QString GetServerName() override { return m_real.GetServerName(); }
    qint32 GetServerType() override { return m_real.GetServerType(); }
    qint32 GetUserID() override { return m_real.GetUserID(); }
    QString GetUserName() override { return m_real.GetUserName(); }
    void ApplySecurity(QWidget *control, const QVariant &omitted, const QString &name,
                       const QObjectList &children) override
    {
        m_real.ApplySecurity(control, omitted, name, children);
    }
    RecordsetPtr Auditing(const QString &t, qint32 id, const QString &c) override { return m_real.Auditing(t, id, c); }
    void ShowAbout() override { m_real.ShowAbout(); }
    qint32 GetSystemOrgUnitID() override { return m_real.GetSystemOrgUnitID(); }
    QString GetOrgUnitCode(qint32 id) override { return m_real.GetOrgUnitCode(id); }
    bool CheckPermission(const QVariant &v) override { return m_real.CheckPermission(v); }
    bool Delete(const QString &op, qint32 id, const QString &user, const QString &table) override
    {
        return m_real.Delete(op, id, user, table);
    }
    bool Copy(const QString &op, const QVariant &source, qint32 target, const QString &user) override
    {
        return m_real.Copy(op, source, target, user);
    }
    void PopupEdit(FlexGrid *grid) override { m_real.PopupEdit(grid); }
    QString GetControlAccess(const QString &c, const QString &m) override { return m_real.GetControlAccess(c, m); }
    bool OpenRelatedDetail(const QString &v, const QString &t, const QString &c, qint32 &id) override
    {
        return m_real.OpenRelatedDetail(v, t, c, id);
    }
    RecordsetPtr GetPrototypeRSForView(const QString &code) override { return m_real.GetPrototypeRSForView(code); }
    HostViewManager &ViewManager() override { return m_real.ViewManager(); }
    QString HelpFile() override { return m_real.HelpFile(); }
    bool GetHelpTopicID(QWidget *c, qint32 &topic) override { return m_real.GetHelpTopicID(c, topic); }
    void DisplaySystemControlEntry(QWidget *c) override { m_real.DisplaySystemControlEntry(c); }

private:
    host::ReferenceAppManager &m_real;
};

// A sample database on one engine with the reference host around it: a session of ecarter, the
// real application manager (recorded), the work area and window manager that open the search as
// talv-host does, and scripted message boxes.
class SearchHost
{
public:
    // Null (with `whyNot`) when the engine is not available.
    static std::unique_ptr<SearchHost> start(host::Engine engine, std::string *whyNot)
    {
        auto db = EngineDatabase::create(engine, EngineDatabase::WithSample, whyNot);
        if (!db)
            return nullptr;
        return std::unique_ptr<SearchHost>(new SearchHost(std::move(db)));
    }

    ~SearchHost()
    {
        manager.reset(); // closes the screens before the session goes
        area.reset();
        search::UnregisterSearchScreens();
    }

    // The search in a host sub-window, opened by class name as the host opens it.
    search::ELGroupSearch *openSearch()
    {
        QWidget *control = manager->OpenSearch(search::ELGroupSearch::ClassName,
                                               QStringLiteral("Find Element Group"), groupsView);
        return qobject_cast<search::ELGroupSearch *>(control);
    }

    // The search inside a modal window, started by name as a modal search window starts it.
    search::ELGroupSearch *openModal(const QString &extraInfo = {}, RecordsetPtr rsTemp = {})
    {
        modalWindow = std::make_unique<QDialog>();
        auto *control =
            ClassRegistry::instance().CreateAs<search::ELGroupSearch>(search::ELGroupSearch::ClassName, modalWindow.get());
        QVariantList args{QVariant::fromValue<AppManager *>(&recorder), QVariant::fromValue(rsTemp), extraInfo};
        LateBinding::callByRef(control, QStringLiteral("InitModalSearch"), args);
        modalRecordset = args.at(1).value<RecordsetPtr>();
        modalWindow->show();
        return control;
    }

    // Reads the database beside the screen, on a connection of its own.
    QSqlQuery query(const QString &sql)
    {
        QSqlQuery q(db->database().connection());
        if (!q.exec(sql))
            ADD_FAILURE() << "checking query failed: " << sql.toStdString();
        return q;
    }

    host::Engine engine() const { return db->options().engine; }

    std::unique_ptr<EngineDatabase> db;
    std::unique_ptr<host::HostSession> session;
    std::unique_ptr<host::ReferenceAppManager> real;
    RecordingAppManager recorder;
    ScriptedUiServices ui;
    ScopedUiServices scopedUi{ui};
    host::ViewCatalogue views;
    std::unique_ptr<host::WorkingLists> lists;
    std::unique_ptr<host::WorkArea> area;
    std::unique_ptr<host::WindowManager> manager;
    qint32 groupsView = -1;
    std::unique_ptr<QDialog> modalWindow;
    RecordsetPtr modalRecordset;

private:
    explicit SearchHost(std::unique_ptr<EngineDatabase> database)
        : db(std::move(database)),
          session(std::make_unique<host::HostSession>(db->openAnother(), QStringLiteral("ecarter"))),
          real(std::make_unique<host::ReferenceAppManager>(*session)), recorder(*real)
    {
        search::RegisterSearchScreens();
        lists = std::make_unique<host::WorkingLists>(views, host::QueryService(session->connection()));
        area = std::make_unique<host::WorkArea>();
        area->resize(1200, 900);
        area->show();
        manager = std::make_unique<host::WindowManager>(*area, views, *lists, host::QueryService(session->connection()));
        manager->setAppManager(&recorder);
        groupsView = FindViewIndex(views, QStringLiteral("EGP"));
    }
};

template <typename T> T *child(const QObject *screen, const QString &name)
{
    T *found = screen->findChild<T *>(name);
    EXPECT_NE(found, nullptr) << "no " << name.toStdString();
    return found;
}

// Gives `widget` the keyboard focus in its active window.
inline void focusOn(QWidget *widget)
{
    QWidget *window = widget->window();
    window->show();
    QApplication::setActiveWindow(window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    widget->setFocus();
    EXPECT_EQ(QApplication::focusWidget(), widget);
}

// The grid's data rows, each as its cells joined by "|".
inline QStringList gridRows(const FlexGrid &grid)
{
    QStringList rows;
    for (int r = grid.FixedRows(); r < grid.Rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid.Cols(); ++c)
            cells << grid.TextMatrix(r, c);
        rows << cells.join(u'|');
    }
    return rows;
}

inline QStringList gridHeadings(const FlexGrid &grid)
{
    QStringList headings;
    for (int c = 0; c < grid.Cols(); ++c)
        headings << grid.TextMatrix(0, c);
    return headings;
}

} // namespace talv::test

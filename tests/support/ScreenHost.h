#pragma once

#include "host/HostSession.h"
#include "host/ReferenceAppManager.h"
#include "host/WindowManager.h"
#include "host/WorkArea.h"
#include "host/WorkingLists.h"
#include "platform/ScriptedUiServices.h"
#include "search/SearchScreens.h"
#include "support/EngineDatabase.h"
#include "support/RecordingAppManager.h"
#include "support/ScriptChecks.h"

#include "clients/ClientClasses.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

#include <memory>

namespace talv::test {

// A sample database on one engine with the reference host around it, as talv-host has it: a
// session of `user`, the real application manager (recorded), the work area and window manager
// that open screens by class name, and scripted message boxes.
class ScreenHost
{
public:
    ScreenHost(std::unique_ptr<EngineDatabase> database, const QString &user)
        : db(std::move(database)), session(db->openAnother(), user)
    {
        search::RegisterSearchScreens();
        clients::registerClientClasses();
        area.resize(1200, 900);
        area.show();
        manager = std::make_unique<host::WindowManager>(area, views, lists, host::QueryService(session.connection()));
        manager->setAppManager(&recorder);
    }

    // Reads or changes the database beside the screen, on a connection of its own.
    QSqlQuery query(const QString &sql)
    {
        QSqlQuery q(db->database().connection());
        EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
        return q;
    }
    QStringList rows(const QString &sql, const QVariantList &values = {})
    {
        return rowsOf(db->database().connection(), sql, values);
    }
    QString value(const QString &sql, const QVariantList &values = {})
    {
        const QStringList r = rows(sql, values);
        return r.isEmpty() ? QStringLiteral("<none>") : r.first();
    }

    std::unique_ptr<EngineDatabase> db;
    host::HostSession session;
    host::ReferenceAppManager real{session};
    RecordingAppManager recorder{real};
    ScriptedUiServices ui;
    ScopedUiServices scopedUi{ui};
    host::ViewCatalogue views;
    host::WorkingLists lists{views, host::QueryService(session.connection())};
    host::WorkArea area;
    std::unique_ptr<host::WindowManager> manager;
    qint32 groupsView = FindViewIndex(views, "EGP");
};

template <typename T> T *child(const QObject *screen, const char *name)
{
    T *found = screen->findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << "no " << name;
    return found;
}

// The base of the screens' tests: a host on a fresh sample database (SQLite unless the fixture
// runs on both engines), and the checks every such test ends with (no unexpected box, no answer or
// dialog left unused, the pointer back).
template <typename Host> class ScreenHostTest : public ::testing::Test
{
protected:
    virtual host::Engine engine() const { return host::Engine::SQLite; }
    virtual QString user() const { return QStringLiteral("ecarter"); }
    void SetUp() override
    {
        std::string whyNot;
        auto db = EngineDatabase::create(engine(), EngineDatabase::WithSample, &whyNot);
        if (!db)
            GTEST_SKIP() << whyNot;
        host = std::make_unique<Host>(std::move(db), user());
    }
    void TearDown() override
    {
        if (!host)
            return;
        expectScriptFinished(host->ui);
    }

    std::unique_ptr<Host> host;
};

// A fixture run once on each engine (instantiate with TALV_ON_BOTH_ENGINES).
template <typename Fixture> class OnBothEngines : public Fixture, public ::testing::WithParamInterface<host::Engine>
{
protected:
    host::Engine engine() const override { return this->GetParam(); }
};

} // namespace talv::test

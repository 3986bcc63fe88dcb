#pragma once

#include "support/EngineDatabase.h"
#include "support/HostedScreens.h"
#include "support/ScriptChecks.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

#include <memory>

namespace talv::test {

// Holds the test's database so that it is made before the host's session and goes after it.
struct EngineDatabaseHolder {
    std::unique_ptr<EngineDatabase> db;
};

// A sample database on one engine with the reference host around it, the session on a connection
// of its own; the database is also reachable beside the screens.
class ScreenHost : public EngineDatabaseHolder, public HostedScreens
{
public:
    ScreenHost(std::unique_ptr<EngineDatabase> database, const QString &user)
        : EngineDatabaseHolder{std::move(database)}, HostedScreens(db->openAnother(), user)
    {}

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

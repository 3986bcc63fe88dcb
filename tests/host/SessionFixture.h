#pragma once

#include "host/HostSession.h"
#include "host/ReferenceAppManager.h"
#include "support/EngineDatabase.h"

#include "platform/Error.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace talv::test {

// A sample database on one engine, a session of `ecarter` (full rights) on a connection of its
// own, and the reference manager on that session. Checks read through a second connection.
class SessionOnEngine : public ::testing::TestWithParam<host::Engine>
{
protected:
    void SetUp() override
    {
        TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
        m_db = std::move(db);
        login("ecarter");
    }

    void login(const QString &userName)
    {
        manager.reset();
        session.reset();
        session = std::make_unique<host::HostSession>(m_db->openAnother(), userName);
        manager = std::make_unique<host::ReferenceAppManager>(*session);
    }

    bool onPostgreSQL() const { return GetParam() == host::Engine::PostgreSQL; }

    // Every row of a query on the checking connection, each as its values joined by "|".
    QStringList rows(const QString &sql, const QVariantList &values = {})
    {
        return rowsOf(m_db->database().connection(), sql, values);
    }
    void exec(const QString &sql, const QVariantList &values = {}) { rows(sql, values); }
    qint64 count(const QString &sql, const QVariantList &values = {})
    {
        return rows(sql, values).value(0).toLongLong();
    }

    // The group tables and the audit trail, whole, for "nothing changed" checks; `missing` names a
    // table a test dropped.
    QStringList groupState(const QString &missing = {})
    {
        QStringList all;
        for (const char *table : {"element_group", "element_group_membership", "element_group_reference", "audit_log",
                                  "audit_log_column"}) {
            if (missing != QLatin1String(table))
                all << rows(QStringLiteral("SELECT * FROM %1 ORDER BY 1, 2").arg(QLatin1String(table)));
        }
        return all;
    }

    std::unique_ptr<EngineDatabase> m_db;
    std::unique_ptr<host::HostSession> session;
    std::unique_ptr<host::ReferenceAppManager> manager;
};

} // namespace talv::test

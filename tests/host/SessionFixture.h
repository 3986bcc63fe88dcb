#pragma once

#include "host/HostSession.h"
#include "host/ReferenceAppManager.h"
#include "support/EngineDatabase.h"

#include "platform/Error.h"

#include <gtest/gtest.h>

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
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
        login(QStringLiteral("ecarter"));
    }

    void login(const QString &userName)
    {
        manager.reset();
        session.reset();
        session = std::make_unique<host::HostSession>(m_db->openAnother(), userName);
        manager = std::make_unique<host::ReferenceAppManager>(*session);
    }

    bool onPostgreSQL() const { return GetParam() == host::Engine::PostgreSQL; }

    // Runs a statement on the checking connection. PostgreSQL prepares no DDL, so a statement
    // without values runs as it is.
    QSqlQuery exec(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery q(m_db->database().connection());
        bool ok = values.isEmpty() ? q.exec(sql) : q.prepare(sql);
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (!ok || (!values.isEmpty() && !q.exec()))
            throw Error(Error::Database, sql + QStringLiteral(": ") + q.lastError().text());
        return q;
    }

    // Every row of a query, each as its values joined by "|", for comparing states.
    QStringList rows(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery q = exec(sql, values);
        QStringList out;
        while (q.next()) {
            QStringList cells;
            for (int i = 0; i < q.record().count(); ++i)
                cells << (q.isNull(i) ? QStringLiteral("<null>") : q.value(i).toString());
            out << cells.join(u'|');
        }
        return out;
    }

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

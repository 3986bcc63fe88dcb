#pragma once

#include "clients/ClientClasses.h"
#include "clients/ServerDirectory.h"
#include "contracts/ClassRegistry.h"
#include "contracts/ComponentCollection.h"
#include "host/HostSession.h"
#include "support/EngineDatabase.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace talv::test {

inline const QString TestServer = "Test Server";
inline const QString CollectionClass = "ClientFramework.ComponentCollection";
inline const QString OptionClass = "TALV_UserOptClient.UserOptClient";
inline const QString CategoryClass = "TALV_UserOpCatClient.UserOpCatClient";
inline const QString UserSearches = "$USER_FIND_ELEMENT_GROUP";

inline qint32 serverTypeOf(const host::Database &db)
{
    return db.engine() == host::Engine::SQLite ? clients::SQLiteServer : clients::PostgreSQLServer;
}

// Makes a test database reachable to the clients by name, as the host does at start, with
// `user` working on it (the sample's ecarter unless a test names another). A second connection
// under another name stands for a second user.
class ScopedServer
{
public:
    explicit ScopedServer(host::Database &db, QString name = TestServer,
                          const clients::ServerUser &user = {1, "ecarter"})
        : m_name(std::move(name))
    {
        clients::registerClientClasses();
        clients::ServerDirectory::Register(m_name, host::clientConnection(db, user));
    }
    ~ScopedServer() { clients::ServerDirectory::Unregister(m_name); }
    Q_DISABLE_COPY(ScopedServer)
    const QString &name() const { return m_name; }

private:
    QString m_name;
};

// The sample database on the engine the test runs on, reachable to the clients as TestServer.
class SampleOnEngine : public ::testing::TestWithParam<host::Engine>
{
protected:
    void SetUp() override
    {
        std::string whyNot;
        m_sample = EngineDatabase::create(GetParam(), EngineDatabase::WithSample, &whyNot);
        if (!m_sample)
            GTEST_SKIP() << whyNot;
        m_server = std::make_unique<ScopedServer>(m_sample->database(), TestServer, user());
    }
    virtual clients::ServerUser user() const { return {1, "ecarter"}; }
    host::Database &db() { return m_sample->database(); }
    EngineDatabase &sample() { return *m_sample; }

private:
    std::unique_ptr<EngineDatabase> m_sample;
    std::unique_ptr<ScopedServer> m_server;
};

// A collection created and bound as the screens do it.
inline std::unique_ptr<ComponentCollection> openCollection(const host::Database &db, const QString &className)
{
    std::unique_ptr<ComponentCollection> collection(
        ClassRegistry::instance().CreateAs<ComponentCollection>(CollectionClass));
    if (!collection->OpenClass(className, TestServer, serverTypeOf(db)))
        throw std::runtime_error("OpenClass failed");
    return collection;
}

// A fresh lookup of one option, as the search screen makes it (the name with its quotes doubled).
inline std::unique_ptr<ComponentCollection> lookUpOption(const host::Database &db, const QString &category,
                                                         const QString &typedName, qint64 userId)
{
    auto options = openCollection(db, OptionClass);
    QString doubled = typedName;
    doubled.replace("'", "''");
    if (!options->LoadWhere("CATEGORY_OPTION_NAME", QStringList{category, doubled, QString::number(userId)}, -1, -1,
                            -1))
        throw std::runtime_error("LoadWhere failed");
    return options;
}

// Every row of a table as text, to prove that a failed save changed nothing.
inline QStringList tableRows(const host::Database &db, const QString &table, const QString &key)
{
    return rowsOf(db.connection(), QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(table, key));
}

} // namespace talv::test

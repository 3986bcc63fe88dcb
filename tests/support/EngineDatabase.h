#pragma once

#include "host/Database.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

// Readable failures: gtest would print a QString as its bytes.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace talv::test {

// A fresh database with the schema (and optionally the sample data) on one engine, removed when
// the test ends. SQLite lives in a temporary file; PostgreSQL in a new database on the throwaway
// server that scripts/test starts (TALV_TEST_PG_HOST, TALV_TEST_PG_PORT, TALV_TEST_PG_USER).
class EngineDatabase
{
public:
    // Empty: a database without any table (to build an older schema in, say).
    enum Content { Empty, SchemaOnly, WithSample };

    // Null, with `whyNot` set, when the engine is not available on this machine.
    static std::unique_ptr<EngineDatabase> create(host::Engine engine, Content content, std::string *whyNot);
    ~EngineDatabase();

    host::Database &database() { return *m_database; }
    // Another connection to the same database, as a second user would have.
    std::unique_ptr<host::Database> openAnother() const;
    const host::ConnectionOptions &options() const { return m_options; }

private:
    EngineDatabase() = default;
    host::ConnectionOptions m_options;
    QString m_tempFolder;
    std::unique_ptr<host::Database> m_database;
};

const char *engineName(host::Engine engine);

// Every row a statement answers on `db`, each as its values joined by "|" (a null as "<null>"),
// with `values` bound in order. A statement the database refuses throws talv::Error.
QStringList rowsOf(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {});

// Names the runs of a test parameterised by engine "SQLite" and "PostgreSQL".
struct EngineTestName {
    std::string operator()(const ::testing::TestParamInfo<host::Engine> &run) const { return engineName(run.param); }
};

} // namespace talv::test

// Skips the current test with a clear line when the engine is missing.
#define TALV_OPEN_ENGINE_DATABASE(var, engine, content)                                                                \
    std::string var##_whyNot;                                                                                          \
    auto var = ::talv::test::EngineDatabase::create(engine, content, &var##_whyNot);                                   \
    if (!var)                                                                                                          \
    GTEST_SKIP() << var##_whyNot

#define TALV_ON_BOTH_ENGINES(suite)                                                                                    \
    INSTANTIATE_TEST_SUITE_P(Engines, suite,                                                                           \
                             ::testing::Values(::talv::host::Engine::SQLite, ::talv::host::Engine::PostgreSQL),        \
                             ::talv::test::EngineTestName())

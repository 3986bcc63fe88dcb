#include "support/EngineDatabase.h"

#include "platform/Error.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QMap>
#include <QSqlQuery>

using namespace talv;
using test::EngineDatabase;
using test::rowsOf;

namespace {

using SchemaUpgradeOnEngine = ::testing::TestWithParam<host::Engine>;

QString keptFile(const QString &name)
{
    QFile file(QStringLiteral(TALV_SCHEMA_V1_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(Error::Database, QStringLiteral("The kept file %1 is missing.").arg(file.fileName()));
    return QString::fromUtf8(file.readAll());
}

// A version-1 database made from the kept copy of that schema, holding the kept data.
void buildVersionOne(host::Database &db)
{
    const QString engine =
        db.engine() == host::Engine::SQLite ? QStringLiteral("sqlite") : QStringLiteral("postgresql");
    QSqlDatabase connection = db.connection();
    ASSERT_TRUE(connection.transaction());
    db.runScript(keptFile(engine + QStringLiteral(".sql")));
    db.runScript(keptFile(QStringLiteral("data.sql")));
    ASSERT_TRUE(connection.commit());
}

QStringList tableNames(host::Database &db)
{
    return db.engine() == host::Engine::SQLite
               ? rowsOf(db.connection(), "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name")
               : rowsOf(db.connection(), "SELECT table_name FROM information_schema.tables "
                                         "WHERE table_schema = current_schema() AND table_type = 'BASE TABLE' "
                                         "ORDER BY table_name");
}

QStringList columnNames(host::Database &db, const QString &table)
{
    if (db.engine() == host::Engine::PostgreSQL)
        return rowsOf(db.connection(),
                      "SELECT column_name FROM information_schema.columns WHERE table_schema = current_schema() "
                      "AND table_name = ? ORDER BY ordinal_position",
                      {table});
    QStringList names;
    QSqlQuery q(db.connection());
    q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table));
    while (q.next())
        names << q.value(1).toString();
    return names;
}

// Every row of every table, by the columns the table had at version 1.
using Contents = QMap<QString, QStringList>;
Contents contentsOf(host::Database &db, const QMap<QString, QStringList> &columns)
{
    Contents all;
    for (auto it = columns.cbegin(); it != columns.cend(); ++it) {
        const QString list = it.value().join(QStringLiteral(", "));
        all.insert(it.key(),
                   rowsOf(db.connection(), QStringLiteral("SELECT %1 FROM %2 ORDER BY %1").arg(list, it.key())));
    }
    return all;
}

void expectSameContents(const Contents &actual, const Contents &expected)
{
    EXPECT_EQ(actual.keys(), expected.keys());
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        EXPECT_EQ(actual.value(it.key()).join(u'\n').toStdString(), it.value().join(u'\n').toStdString())
            << it.key().toStdString();
}

TEST_P(SchemaUpgradeOnEngine, AVersionOneDatabaseUpgradesWithoutLosingAnythingAndKeepsItsForeignKeys)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::Empty);
    host::Database &d = db->database();
    buildVersionOne(d);
    ASSERT_EQ(d.schemaVersion(), 1);
    QMap<QString, QStringList> columns;
    for (const QString &table : tableNames(d))
        columns.insert(table, columnNames(d, table));
    columns.remove("schema_version"); // gains its row, checked below
    Contents expected = contentsOf(d, columns);
    // The one change the upgrade makes to data: an apostrophe in a type becomes a typographic one.
    expected["d_element_group_type"].replaceInStrings("Farmer's", "Farmer’s");

    d.ensureSchema();
    EXPECT_EQ(d.schemaVersion(), host::Database::currentSchemaVersion());
    EXPECT_EQ(rowsOf(d.connection(), "SELECT version, description FROM schema_version WHERE version = 1"),
              QStringList{"1|Initial schema"});
    expectSameContents(contentsOf(d, columns), expected);
    EXPECT_EQ(rowsOf(d.connection(), "SELECT DISTINCT version FROM element_group"), QStringList{"1"});
    EXPECT_EQ(rowsOf(d.connection(), "SELECT Group_Type FROM ELEMENT_GROUP_WL_VW ORDER BY ID"),
              (QStringList{"Taxonomic Group", "Farmer’s Fields", "Étang Assemblage"}));

    // The rebuilt type table still guards the groups that use it, and refuses an apostrophe.
    const auto refused = [&](const QString &sql) {
        try {
            rowsOf(d.connection(), sql);
        } catch (const Error &) {
            return true;
        }
        return false;
    };
    EXPECT_TRUE(refused("DELETE FROM d_element_group_type WHERE d_element_group_type_id = 1"));
    EXPECT_TRUE(refused("UPDATE element_group SET d_element_group_type_id = 42 WHERE element_group_id = 1"));
    EXPECT_TRUE(refused("UPDATE d_element_group_type SET element_group_type_desc = 'Bird''s Nests' "
                        "WHERE d_element_group_type_id = 3"));
    if (d.engine() == host::Engine::SQLite) {
        EXPECT_TRUE(rowsOf(d.connection(), "PRAGMA foreign_key_check").isEmpty());
    }

    auto reopened = db->openAnother();
    reopened->ensureSchema();
    expectSameContents(contentsOf(*reopened, columns), expected); // opening again changes nothing
}

TALV_ON_BOTH_ENGINES(SchemaUpgradeOnEngine);

} // namespace

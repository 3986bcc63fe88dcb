#include "host/SqliteRows.h"
#include "clients/KeptStatements.h"
#include "support/ErrorNumber.h"
#include "support/TestDatabase.h"

#include "platform/Error.h"

#include <gtest/gtest.h>

#include <QDate>

#include <QSqlRecord>
#include <limits>

namespace talv::test {
namespace {

// What Qt's driver answers for the same statement and values.
QList<QVariantList> readThroughQt(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q(db);
    q.prepare(sql);
    for (const QVariant &value : values)
        q.addBindValue(value);
    if (!q.exec())
        throw std::runtime_error(sql.toStdString());
    QList<QVariantList> rows;
    while (q.next()) {
        QVariantList row;
        for (int c = 0; c < q.record().count(); ++c)
            row << q.value(c);
        rows << row;
    }
    return rows;
}

TEST(SqliteRows, RowsReadStraightFromTheLibraryAreWhatQtsDriverGives)
{
    TestDatabase t;
    t.exec("CREATE TABLE probe (i INTEGER, r REAL, t TEXT, b BLOB, flag INTEGER)");
    t.exec(
        "INSERT INTO probe VALUES (1, 2.5, 'plain', x'00ff', 1), (-9007199254740993, NULL, 'Étang \"O''Hara\" 名前', "
        "NULL, 0), (3, 1e300, '', x'', NULL)");
    const QString sql = QStringLiteral("SELECT i, r, t, b, flag FROM probe WHERE i <> ? AND t <> ? AND (flag = ? OR "
                                       "flag IS NULL OR ? IS NULL) AND r IS NOT ? ORDER BY i");
    // Each kind of value bound, and values the library path leaves to Qt (a date, a byte array).
    for (const QVariantList &values :
         {QVariantList{qlonglong(7), QStringLiteral("none"), true, QVariant(), 0.5},
          QVariantList{int(1), QStringLiteral("Étang"), false, int(1), QVariant(QMetaType(QMetaType::Double))},
          QVariantList{QDate(2024, 1, 2), QByteArray("x"), 1u, QStringLiteral("y"), 2.5}}) {
        const QList<QVariantList> expected = readThroughQt(t.db(), sql, values);
        for (int run = 0; run < 2; ++run) { // prepared, then kept
            const QList<QVariantList> rows = host::readSqliteRows(t.db(), sql, values);
            ASSERT_EQ(rows.size(), expected.size()) << run;
            for (qsizetype r = 0; r < rows.size(); ++r) {
                for (qsizetype c = 0; c < rows[r].size(); ++c) {
                    EXPECT_EQ(rows[r][c], expected[r][c]) << r << "," << c;
                    EXPECT_EQ(rows[r][c].isNull(), expected[r][c].isNull()) << r << "," << c;
                }
            }
        }
    }
    EXPECT_EQ(clients::keptStatementCount(t.db()), 1);
}

TEST(SqliteRows, AFailingStatementIsReportedAndKeptStatementsSurviveTheConnectionClosing)
{
    TestDatabase t;
    t.exec("CREATE TABLE probe (i INTEGER)");
    t.exec("INSERT INTO probe VALUES (1), (2)");
    const QString sql = QStringLiteral("SELECT i, abs(?) FROM probe");
    // abs() of the smallest whole number overflows while the rows are stepped.
    EXPECT_EQ(errorNumber([&] { host::readSqliteRows(t.db(), sql, {std::numeric_limits<qlonglong>::min()}); },
                          "integer overflow"),
              Error::Database);
    EXPECT_EQ(host::readSqliteRows(t.db(), sql, {-3}).size(), 2);
    EXPECT_EQ(errorNumber([&] { host::readSqliteRows(t.db(), QStringLiteral("SELECT anything FROM nowhere"), {}); },
                          "no such table"),
              Error::Database);

    // Statements kept on a closed connection are not used once it is open again.
    t.db().close();
    ASSERT_TRUE(t.db().open());
    t.exec("CREATE TABLE probe (i INTEGER)");
    t.exec("INSERT INTO probe VALUES (5)");
    const QList<QVariantList> rows = host::readSqliteRows(t.db(), sql, {-4});
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0], (QVariantList{qlonglong(5), qlonglong(4)}));
}

} // namespace
} // namespace talv::test

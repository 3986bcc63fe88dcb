#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QUuid>

#include <stdexcept>

namespace talv::test {

// A private in-memory SQLite database for one test, removed again when the test ends.
class TestDatabase
{
public:
    TestDatabase() : m_name(QUuid::createUuid().toString(QUuid::WithoutBraces))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(QStringLiteral(":memory:"));
        if (!db.open())
            throw std::runtime_error(db.lastError().text().toStdString());
    }
    ~TestDatabase()
    {
        QSqlDatabase::database(m_name).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(m_name); }

    void exec(const QString &sql) const
    {
        QSqlQuery q(db());
        if (!q.exec(sql))
            throw std::runtime_error((sql + QStringLiteral(": ") + q.lastError().text()).toStdString());
    }

private:
    QString m_name;
};

} // namespace talv::test

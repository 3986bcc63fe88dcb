#pragma once

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QString>

namespace talv::clients {

// A failed statement's message for the user: the database's own words, except where those are
// an engine's shorthand for something a user can act on (a wait for another writer that ran out,
// two writers colliding, a database open read-only). `fallback` serves when the database says
// nothing.
QString describeDatabaseError(const QSqlError &error, QSqlDriver::DbmsType engine, const QString &fallback);

// One write transaction on a connection, rolled back when destroyed uncommitted, so every early
// exit and every exception leaves the database as it was. Every writer of the program (business
// clients, the host's group writes, schema set-up) begins its transactions here.
//
// On SQLite the transaction begins IMMEDIATE: it takes the write lock at once and waits for
// another writer within the busy timeout. A deferred one that reads before it writes cannot wait
// later (SQLite answers "busy" at once when it then needs the lock). On PostgreSQL writers lock
// the rows they read (SELECT ... FOR UPDATE) and the connection's lock timeout bounds the wait.
// Failures raise Error(Database) with describeDatabaseError's words.
class WriteTransaction
{
public:
    explicit WriteTransaction(QSqlDatabase db);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;

    const QSqlDatabase &database() const { return m_db; }
    bool isOpen() const { return m_open; }

    // On failure the transaction is rolled back before the error is raised.
    void commit();
    // Does nothing when the transaction is no longer open.
    void rollback();

private:
    void control(const QString &statement);

    QSqlDatabase m_db;
    bool m_open = false;
};

} // namespace talv::clients

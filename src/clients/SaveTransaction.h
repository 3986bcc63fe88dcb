#pragma once

#include "KeptStatements.h"
#include "ServerDirectory.h"
#include "WriteTransaction.h"

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <functional>
#include <vector>

namespace talv::clients {

// One save: a write transaction on the server's connection plus what has to happen in memory
// when it ends. Writers register how to put a component back if the save fails and what becomes
// true once it succeeds, so a failed save leaves both the database and the components as they were.
// Destroyed without commit() it rolls back.
class SaveTransaction
{
public:
    // Starts the transaction; raises Error(Database) when it cannot.
    explicit SaveTransaction(ServerConnection server);
    ~SaveTransaction();
    SaveTransaction(const SaveTransaction &) = delete;
    SaveTransaction &operator=(const SaveTransaction &) = delete;

    const ServerConnection &server() const { return m_server; }

    // Runs a statement with bound values (never pasted into the text), kept prepared for the
    // next save. Raises Error(Database) with the database's message.
    KeptQuery exec(const QString &sql, const QVariantList &values);
    qint64 nextId(const QString &sequence);

    void onRollback(std::function<void()> undo);
    void onCommit(std::function<void()> done);

    // Commits and runs the commit actions; on failure rolls back (undoing in memory) and raises.
    void commit();
    // Rolls back and undoes in memory; also what the destructor does after a failure.
    void rollback();

private:
    void undoInMemory();

    ServerConnection m_server;
    WriteTransaction m_transaction;
    std::vector<std::function<void()>> m_undo;
    std::vector<std::function<void()>> m_done;
};

// Raises Error(Database) from a failed statement, with describeDatabaseError's words.
[[noreturn]] void raiseDatabaseError(const QString &what, const QSqlQuery &query);

// Runs a statement with bound values (never pasted into the text), inside or outside a save.
// Raises Error(Database) with the database's message.
QSqlQuery execBound(const QSqlDatabase &db, const QString &sql, const QVariantList &values, bool forwardOnly = false);

// Runs `write` in one save on `server`: true when it committed; false with the database's
// message in `lastError` when anything failed, everything then rolled back.
bool saveInOneTransaction(const ServerConnection &server, const std::function<void(SaveTransaction &)> &write,
                          QString &lastError);

} // namespace talv::clients

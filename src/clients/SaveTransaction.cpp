#include "SaveTransaction.h"

#include "StatementRecorder.h"
#include "platform/Error.h"

#include <QSqlError>

namespace talv::clients {

void raiseDatabaseError(const QString &what, const QSqlQuery &query)
{
    const QSqlError error = query.lastError();
    QString message = error.databaseText().trimmed();
    if (message.isEmpty())
        message = error.text().trimmed();
    throw Error(Error::Database, message.isEmpty() ? what : message);
}

SaveTransaction::SaveTransaction(ServerConnection server) : m_server(std::move(server))
{
    // On SQLite the write lock is taken at once: a deferred transaction that reads first cannot
    // wait for another writer later (WAL answers "busy" without waiting), an immediate one waits
    // out the busy timeout like any writer.
    execControl(m_server.serverType == SQLiteServer ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    m_open = true;
}

SaveTransaction::~SaveTransaction()
{
    if (m_open) {
        try {
            rollback();
        } catch (...) {
            // The connection is gone or broken; the database drops the transaction itself.
        }
    }
}

void SaveTransaction::execControl(const QString &statement)
{
    QSqlDatabase db = m_server.database();
    if (!db.isOpen())
        throw Error(Error::Database, QStringLiteral("The database connection is not open."));
    StatementRecorder::record(statement);
    QSqlQuery q(db);
    if (!q.exec(statement))
        raiseDatabaseError(statement, q);
}

QSqlQuery execBound(const QSqlDatabase &db, const QString &sql, const QVariantList &values, bool forwardOnly)
{
    QSqlQuery q(db);
    q.setForwardOnly(forwardOnly);
    if (!q.prepare(sql))
        raiseDatabaseError(sql, q);
    for (const QVariant &value : values)
        q.addBindValue(value);
    if (!q.exec())
        raiseDatabaseError(sql, q);
    return q;
}

bool saveInOneTransaction(const ServerConnection &server, const std::function<void(SaveTransaction &)> &write,
                          QString &lastError)
{
    lastError.clear();
    try {
        SaveTransaction tx(server);
        write(tx);
        tx.commit();
        return true;
    } catch (const Error &e) {
        lastError = e.description();
        return false;
    }
}

QSqlQuery SaveTransaction::exec(const QString &sql, const QVariantList &values)
{
    StatementRecorder::record(sql);
    return execBound(m_server.database(), sql, values);
}

qint64 SaveTransaction::nextId(const QString &sequence)
{
    if (!m_server.nextId)
        throw Error(Error::Database, QStringLiteral("The server hands out no new ids."));
    return m_server.nextId(sequence);
}

void SaveTransaction::onRollback(std::function<void()> undo)
{
    m_undo.push_back(std::move(undo));
}

void SaveTransaction::onCommit(std::function<void()> done)
{
    m_done.push_back(std::move(done));
}

void SaveTransaction::commit()
{
    try {
        execControl(QStringLiteral("COMMIT"));
    } catch (...) {
        rollback();
        throw;
    }
    m_open = false;
    m_undo.clear();
    for (const auto &done : m_done)
        done();
    m_done.clear();
}

void SaveTransaction::rollback()
{
    if (!m_open)
        return;
    m_open = false;
    m_done.clear();
    for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it)
        (*it)();
    m_undo.clear();
    execControl(QStringLiteral("ROLLBACK"));
}

} // namespace talv::clients

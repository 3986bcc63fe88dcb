#include "SaveTransaction.h"

#include "KeptStatements.h"
#include "StatementRecorder.h"
#include "platform/Error.h"

#include <QSqlError>

namespace talv::clients {

void raiseDatabaseError(const QString &what, const QSqlQuery &query)
{
    const QSqlDriver::DbmsType engine = query.driver() ? query.driver()->dbmsType() : QSqlDriver::UnknownDbms;
    throw Error(Error::Database, describeDatabaseError(query.lastError(), engine, what));
}

SaveTransaction::SaveTransaction(ServerConnection server)
    : m_server(std::move(server)), m_transaction(m_server.database())
{}

SaveTransaction::~SaveTransaction()
{
    if (m_transaction.isOpen()) {
        try {
            rollback();
        } catch (...) {
            // The connection is gone or broken; the database drops the transaction itself.
        }
    }
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

KeptQuery SaveTransaction::exec(const QString &sql, const QVariantList &values)
{
    StatementRecorder::record(sql);
    return execKept(m_server.database(), sql, values, false);
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
        m_transaction.commit();
    } catch (...) {
        undoInMemory();
        throw;
    }
    m_undo.clear();
    for (const auto &done : m_done)
        done();
    m_done.clear();
}

void SaveTransaction::rollback()
{
    if (!m_transaction.isOpen())
        return;
    undoInMemory();
    m_transaction.rollback();
}

void SaveTransaction::undoInMemory()
{
    m_done.clear();
    for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it)
        (*it)();
    m_undo.clear();
}

} // namespace talv::clients

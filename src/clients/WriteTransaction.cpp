#include "WriteTransaction.h"

#include "platform/Error.h"

#include <QSqlQuery>

namespace talv::clients {

namespace {

enum class Trouble { None, Busy, Collision, ReadOnly };

Trouble troubleOf(const QSqlError &error, QSqlDriver::DbmsType engine)
{
    const QString code = error.nativeErrorCode();
    if (engine == QSqlDriver::SQLite) {
        // Extended result codes carry the primary code in their low byte.
        switch (code.toInt() & 0xff) {
        case 5: // SQLITE_BUSY
        case 6: // SQLITE_LOCKED
            return Trouble::Busy;
        case 8: // SQLITE_READONLY
            return Trouble::ReadOnly;
        default:
            return Trouble::None;
        }
    }
    if (engine == QSqlDriver::PostgreSQL) {
        if (code == u"55P03") // lock_not_available: the lock timeout ran out
            return Trouble::Busy;
        if (code == u"40P01" || code == u"40001") // deadlock, serialization failure
            return Trouble::Collision;
        if (code == u"25006") // read_only_sql_transaction (a standby server)
            return Trouble::ReadOnly;
    }
    return Trouble::None;
}

} // namespace

QString describeDatabaseError(const QSqlError &error, QSqlDriver::DbmsType engine, const QString &fallback)
{
    switch (troubleOf(error, engine)) {
    case Trouble::Busy:
        return QStringLiteral("Another user is saving changes to the same data and did not finish in time; "
                              "nothing was changed. Try again in a moment.");
    case Trouble::Collision:
        return QStringLiteral("Another user changed the same data at the same moment; nothing was changed. "
                              "Try again.");
    case Trouble::ReadOnly:
        return QStringLiteral("The database is open for reading only; nothing can be changed in it.");
    case Trouble::None:
        break;
    }
    QString message = error.databaseText().trimmed();
    if (message.isEmpty())
        message = error.text().trimmed();
    return message.isEmpty() ? fallback : message;
}

WriteTransaction::WriteTransaction(QSqlDatabase db) : m_db(std::move(db))
{
    if (!m_db.isOpen())
        throw Error(Error::Database, QStringLiteral("The connection to the database is closed."));
    const bool sqlite = m_db.driver() && m_db.driver()->dbmsType() == QSqlDriver::SQLite;
    control(sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    m_open = true;
}

WriteTransaction::~WriteTransaction()
{
    try {
        rollback();
    } catch (...) {
        // The connection is gone or broken; the database drops the transaction itself.
    }
}

void WriteTransaction::control(const QString &statement)
{
    QSqlQuery q(m_db);
    if (!q.exec(statement)) {
        const QSqlDriver::DbmsType engine = m_db.driver() ? m_db.driver()->dbmsType() : QSqlDriver::UnknownDbms;
        throw Error(Error::Database,
                    describeDatabaseError(q.lastError(), engine,
                                          QStringLiteral("The database refused \"%1\".").arg(statement)));
    }
}

void WriteTransaction::commit()
{
    try {
        control(QStringLiteral("COMMIT"));
    } catch (...) {
        try {
            rollback();
        } catch (...) {
            // The commit's own error is the one to report.
        }
        throw;
    }
    m_open = false;
}

void WriteTransaction::rollback()
{
    if (!m_open)
        return;
    m_open = false;
    control(QStringLiteral("ROLLBACK"));
}

} // namespace talv::clients

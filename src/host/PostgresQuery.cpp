#include "PostgresQuery.h"

#include "PostgresResult.h"
#include "QueryRefusals.h"
#include "platform/Error.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <libpq-fe.h>

#include <atomic>
#include <memory>

namespace talv::host {

namespace {

QString messageOf(const QSqlError &error)
{
    if (error.nativeErrorCode() == u"25006") // read_only_sql_transaction
        return queryRefusal::notAQuery();
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text().trimmed() : text;
}

void run(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery q(db);
    if (!q.exec(statement))
        throw Error(Error::Database, messageOf(q.lastError()));
}

// One query's stay on the connection: a read-only transaction and the statement prepared in it,
// both gone again when it ends. Nothing the query did is kept; a failure to end it means the
// connection is gone, which the next statement reports.
class ReadOnlyQuery
{
public:
    ReadOnlyQuery(const QSqlDatabase &db, PGconn *conn)
        : m_db(db), m_conn(conn), m_name(QStringLiteral("talv_query_%1").arg(++s_count))
    {
        run(m_db, QStringLiteral("BEGIN READ ONLY"));
    }
    ~ReadOnlyQuery()
    {
        QSqlQuery q(m_db);
        q.exec(QStringLiteral("ROLLBACK"));
        if (m_prepared)
            q.exec(QStringLiteral("DEALLOCATE ") + m_name);
    }
    ReadOnlyQuery(const ReadOnlyQuery &) = delete;
    ReadOnlyQuery &operator=(const ReadOnlyQuery &) = delete;

    // The server's verdict on the text: prepared as one statement, or refused with its reason.
    void prepare(const QString &statement)
    {
        const QByteArray text = statement.toUtf8();
        const std::unique_ptr<PGresult, decltype(&PQclear)> result(
            PQprepare(m_conn, m_name.toLatin1().constData(), text.constData(), 0, nullptr), &PQclear);
        if (PQresultStatus(result.get()) == PGRES_COMMAND_OK) {
            m_prepared = true;
            return;
        }
        const char *primary = PQresultErrorField(result.get(), PG_DIAG_MESSAGE_PRIMARY);
        const QString message = QString::fromUtf8(primary ? primary : PQerrorMessage(m_conn)).trimmed();
        // Every syntax error has this state; the server words a second statement this way.
        if (qstrcmp(PQresultErrorField(result.get(), PG_DIAG_SQLSTATE), "42601") == 0 &&
            message.contains(QStringLiteral("multiple commands")))
            throw Error(Error::Database, queryRefusal::secondStatement());
        throw Error(Error::Database, message);
    }

    // The whole answer at once, its values handed to the set as the server sent them.
    RecordsetPtr rows()
    {
        const std::unique_ptr<PGresult, decltype(&PQclear)> result(
            PQexecPrepared(m_conn, m_name.toLatin1().constData(), 0, nullptr, nullptr, nullptr, 0), &PQclear);
        const ExecStatusType status = PQresultStatus(result.get());
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
            if (qstrcmp(PQresultErrorField(result.get(), PG_DIAG_SQLSTATE), "25006") == 0) // read_only_sql_transaction
                throw Error(Error::Database, queryRefusal::notAQuery());
            const char *primary = PQresultErrorField(result.get(), PG_DIAG_MESSAGE_PRIMARY);
            throw Error(Error::Database, QString::fromUtf8(primary ? primary : PQerrorMessage(m_conn)).trimmed());
        }
        return recordsetFromResult(result.get());
    }

private:
    static inline std::atomic<quint64> s_count = 0; // a name of its own for each query

    QSqlDatabase m_db;
    PGconn *m_conn;
    QString m_name;
    bool m_prepared = false;
};

} // namespace

PGconn *postgresHandle(const QSqlDatabase &db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    // Qt names the handle's type after the struct behind libpq's typedef.
    if (handle.isValid() &&
        (qstrcmp(handle.typeName(), "PGconn*") == 0 || qstrcmp(handle.typeName(), "pg_conn*") == 0)) {
        if (PGconn *raw = *static_cast<PGconn *const *>(handle.data()))
            return raw;
    }
    throw Error(Error::Database, QStringLiteral("The connection is not an open PostgreSQL connection."));
}

RecordsetPtr readPostgres(const QSqlDatabase &db, const QString &statement)
{
    PGconn *conn = postgresHandle(db);
    if (PQtransactionStatus(conn) != PQTRANS_IDLE)
        throw Error(Error::Database,
                    QStringLiteral("A query cannot run while changes are being saved on the same connection."));
    ReadOnlyQuery query(db, conn);
    query.prepare(statement);
    return query.rows();
}

} // namespace talv::host

#include "PostgresQuery.h"

#include "BoundSql.h"
#include "QueryRefusals.h"
#include "platform/Error.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <libpq-fe.h>

#include <memory>

namespace talv::host {

namespace {

const char *const PreparedName = "talv_query";

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

// The server's verdict on the text: prepared as one statement, or refused with its reason.
void prepareOne(PGconn *conn, const QString &statement)
{
    const QByteArray text = statement.toUtf8();
    const std::unique_ptr<PGresult, decltype(&PQclear)> result(
        PQprepare(conn, PreparedName, text.constData(), 0, nullptr), &PQclear);
    if (PQresultStatus(result.get()) == PGRES_COMMAND_OK)
        return;
    const char *primary = PQresultErrorField(result.get(), PG_DIAG_MESSAGE_PRIMARY);
    const QString message = QString::fromUtf8(primary ? primary : PQerrorMessage(conn)).trimmed();
    // Every syntax error has this state; the server words a second statement this way.
    if (qstrcmp(PQresultErrorField(result.get(), PG_DIAG_SQLSTATE), "42601") == 0 &&
        message.contains(QStringLiteral("multiple commands")))
        throw Error(Error::Database, queryRefusal::secondStatement());
    throw Error(Error::Database, message);
}

// Ends the query's transaction and lets go of its statement. Nothing the query did is kept; a
// failure here means the connection is gone, which the next statement reports.
void finish(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    q.exec(QStringLiteral("ROLLBACK"));
    q.exec(QStringLiteral("DEALLOCATE %1").arg(QLatin1String(PreparedName)));
}

} // namespace

RecordsetPtr readPostgres(const QSqlDatabase &db, const QString &statement)
{
    PGconn *conn = postgresHandle(db);
    if (PQtransactionStatus(conn) != PQTRANS_IDLE)
        throw Error(Error::Database,
                    QStringLiteral("A query cannot run while changes are being saved on the same connection."));
    run(db, QStringLiteral("BEGIN READ ONLY"));
    RecordsetPtr rows;
    try {
        prepareOne(conn, statement);
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("EXECUTE %1").arg(QLatin1String(PreparedName))))
            throw Error(Error::Database, messageOf(query.lastError()));
        rows = sql::toRecordset(query);
    } catch (...) {
        finish(db);
        throw;
    }
    finish(db);
    return rows;
}

} // namespace talv::host

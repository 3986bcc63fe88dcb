#include "SampleDatabase.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <stdexcept>

namespace consumer {

namespace {

[[noreturn]] void fail(const QString &what, const QSqlError &error)
{
    throw std::runtime_error((what + QStringLiteral(": ") + error.text()).toStdString());
}

// The scripts end each statement with ";" at the end of a line and nowhere else.
QStringList statementsOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(("cannot read " + path).toStdString());
    QStringList statements;
    QString current;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(QStringLiteral("--")))
            continue;
        current += line + u'\n';
        if (line.trimmed().endsWith(u';')) {
            statements.append(current);
            current.clear();
        }
    }
    return statements;
}

void exec(QSqlQuery &query, const QString &statement)
{
    if (!query.exec(statement))
        fail(statement.left(200), query.lastError());
}

} // namespace

QSqlDatabase createSampleDatabase(const QString &dataDir, const QString &file, const QString &connectionName)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(file);
    if (!db.open())
        fail(QStringLiteral("cannot open ") + file, db.lastError());
    QSqlQuery query(db);
    exec(query, QStringLiteral("PRAGMA foreign_keys = ON"));
    if (!db.transaction())
        fail(QStringLiteral("no transaction"), db.lastError());
    for (const char *script : {"schema/sqlite.sql", "sample/sample.sql", "schema/sync_ids.sqlite.sql"}) {
        for (const QString &statement : statementsOf(dataDir + u'/' + QString::fromLatin1(script)))
            exec(query, statement);
    }
    if (!db.commit())
        fail(QStringLiteral("cannot commit the sample"), db.lastError());
    return db;
}

qint64 nextId(const QSqlDatabase &db, const QString &sequence)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("UPDATE id_sequence SET next_value = next_value + 1 WHERE sequence_name = ? "
                                 "RETURNING next_value - 1"));
    query.addBindValue(sequence);
    if (!query.exec() || !query.next())
        fail(QStringLiteral("no id from ") + sequence, query.lastError());
    return query.value(0).toLongLong();
}

} // namespace consumer

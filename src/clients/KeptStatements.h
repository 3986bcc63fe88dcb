#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <utility>

namespace talv::clients {

// A statement run with this call's values: one kept prepared on its connection, let go (finished,
// still prepared) when the handle goes, or one of its own. A kept statement left unfinished would
// hold the connection's view of the data where it was, and its next run would pull it from under
// a reader.
class KeptQuery
{
public:
    explicit KeptQuery(QSqlQuery &kept) : m_kept(&kept) {}
    explicit KeptQuery(QSqlQuery &&own) : m_own(std::move(own)) {}
    ~KeptQuery()
    {
        if (m_kept)
            m_kept->finish();
    }
    KeptQuery(KeptQuery &&other) noexcept : m_kept(std::exchange(other.m_kept, nullptr)), m_own(std::move(other.m_own))
    {}
    KeptQuery(const KeptQuery &) = delete;
    KeptQuery &operator=(const KeptQuery &) = delete;
    KeptQuery &operator=(KeptQuery &&) = delete;

    QSqlQuery *operator->() const { return m_kept ? m_kept : &m_own; }
    QSqlQuery &operator*() const { return *operator->(); }

private:
    QSqlQuery *m_kept = nullptr;
    mutable QSqlQuery m_own;
};

// As execBound, on a statement kept prepared on its connection for the next call with the same
// text: loading and saving a record send the same dozen statements every time, and parsing one
// costs SQLite about as much as reading a hundred rows. Only for texts whose values are all bound
// (a text with values pasted in would fill the store with texts never seen again), and not while
// a handle of the same text is still held. Kept statements belong to their connection and thread;
// a closed connection's are dropped, and a kept statement that fails is dropped, so the next call
// prepares it afresh. On other engines each call prepares its own statement, `forwardOnly` or
// not: their drivers let a finished statement's results go only when it is destroyed.
KeptQuery execKept(const QSqlDatabase &db, const QString &sql, const QVariantList &values, bool forwardOnly);

// Every row of a query with its values bound, each value as Qt's driver gives it, on a kept
// statement.
QList<QVariantList> readRows(const QSqlDatabase &db, const QString &sql, const QVariantList &values);

// The statement kept for `sql` on `db`, prepared and not run: for a reader that binds and steps
// it itself, and leaves it reset. Raises Error(Database) when it does not prepare.
QSqlQuery &keptStatement(const QSqlDatabase &db, const QString &sql);

// How many statements are kept for `db` (for tests).
qsizetype keptStatementCount(const QSqlDatabase &db);

} // namespace talv::clients

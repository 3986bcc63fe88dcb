#pragma once

#include "BenchDatabase.h"

#include "details/ELGroupDetails.h"

#include "host/Database.h"
#include "support/HostedScreens.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QSqlQuery>
#include <QStringList>

#include <memory>
#include <string>

namespace talv::bench {

// The large benchmark database at this program's schema: a copy of benchDatabase() beside it,
// upgraded once and kept for later runs, so the shared file is never changed.
inline QString benchDatabaseAtCurrentSchema()
{
    const QString shared = benchDatabase();
    const QString upgraded =
        QStringLiteral("%1.schema%2.sqlite").arg(shared).arg(host::Database::currentSchemaVersion());
    if (QFile::exists(upgraded))
        return upgraded;
    std::fprintf(stderr, "copying %s to %s and upgrading it ...\n", qPrintable(shared), qPrintable(upgraded));
    const QString partial = upgraded + QStringLiteral(".partial");
    QFile::remove(partial);
    if (!QFile::copy(shared, partial))
        qFatal("%s could not be copied", qPrintable(shared));
    {
        host::ConnectionOptions o;
        o.name = partial;
        auto db = host::Database::open(o);
        db->ensureSchema();
        // Back to a rollback journal: the file alone then holds everything, and may be renamed.
        QSqlQuery q(db->connection());
        if (!q.exec(QStringLiteral("PRAGMA journal_mode = DELETE")))
            qFatal("%s could not leave write-ahead logging", qPrintable(partial));
    }
    // Only a finished upgrade takes the name a later run trusts.
    if (!QFile::rename(partial, upgraded))
        qFatal("%s could not be renamed", qPrintable(partial));
    return upgraded;
}

// The record screen as talv-host hosts it (the shared host of the screens' tests), with what a
// benchmark asks of it.
class RecordScreenHost : public test::HostedScreens
{
public:
    RecordScreenHost(std::unique_ptr<host::Database> database, const QString &user)
        : HostedScreens(std::move(database), user)
    {
        details::RegisterDetailsScreen();
    }

    // Opens the record screen of group `id` on the working list, as a double click on its row does.
    details::ELGroupDetails *open(qint32 id)
    {
        manager->setCurrentView(groupsView);
        manager->OpenDetails(groupsView, groupsView, id, QString(), RecordsetPtr());
        return qobject_cast<details::ELGroupDetails *>(manager->ActiveScreen());
    }

    // Marks the run as failed when the screen showed a message box or a script went wrong: a
    // figure measured past an error box measures the error.
    bool failed(benchmark::State &state) const
    {
        QStringList problems = ui.failures();
        for (const auto &box : ui.boxes())
            problems << QStringLiteral("a message box: ") + box.text;
        if (problems.isEmpty())
            return false;
        // Kept: older Google Benchmark holds on to the text it is given.
        m_problem = problems.join(u'\n').toStdString();
        state.SkipWithError(m_problem.c_str());
        return true;
    }

private:
    mutable std::string m_problem;
};

} // namespace talv::bench

#pragma once

#include <QString>

namespace talv::host::queryRefusal {

// What the query service answers, on either engine, for a text it will not run. The engine
// decides what a text is; these say it in the same words for both.

inline QString secondStatement()
{
    return QStringLiteral("Only one statement can be run at a time; nothing was run.");
}

inline QString notAQuery()
{
    return QStringLiteral("A query can only read from the database; the statement was refused.");
}

} // namespace talv::host::queryRefusal

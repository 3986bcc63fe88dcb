#include "StatementRecorder.h"

#include "platform/Error.h"

namespace talv::clients {

namespace {

StatementRecorder *active = nullptr;

} // namespace

StatementRecorder::StatementRecorder()
{
    if (active)
        throw Error(Error::IllegalOperation, QStringLiteral("Another statement recorder is already recording."));
    active = this;
}

StatementRecorder::~StatementRecorder()
{
    active = nullptr;
}

QStringList StatementRecorder::startingWith(const QString &prefix) const
{
    QStringList matching;
    for (const QString &statement : m_statements) {
        if (statement.startsWith(prefix, Qt::CaseInsensitive))
            matching.append(statement);
    }
    return matching;
}

void StatementRecorder::record(const QString &sql)
{
    if (active)
        active->m_statements.append(sql);
}

} // namespace talv::clients

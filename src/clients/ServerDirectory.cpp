#include "ServerDirectory.h"

#include "platform/Error.h"

#include <QHash>

namespace talv::clients::ServerDirectory {

namespace {

QHash<QString, ServerConnection> &servers()
{
    static QHash<QString, ServerConnection> all;
    return all;
}

QString key(const QString &serverName)
{
    return serverName.toCaseFolded();
}

} // namespace

void Register(const QString &serverName, ServerConnection connection)
{
    servers().insert(key(serverName), std::move(connection));
}

void Unregister(const QString &serverName)
{
    servers().remove(key(serverName));
}

ServerConnection Find(const QString &serverName)
{
    const auto it = servers().constFind(key(serverName));
    if (it == servers().cend())
        throw Error(Error::Database, QStringLiteral("No database server named \"%1\" is open.").arg(serverName));
    return it.value();
}

} // namespace talv::clients::ServerDirectory

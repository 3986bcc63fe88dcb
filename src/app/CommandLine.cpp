#include "CommandLine.h"

#include <QCommandLineParser>

namespace talv::app {

namespace {

const char *const Description =
    "TALV ELGroup host: find, view and edit element groups.\n"
    "\n"
    "Without a database option it works on the embedded sample database in the user's data folder,\n"
    "created and filled with the sample data on first start. A SQLite file or a PostgreSQL server\n"
    "can be named instead. PostgreSQL passwords are not taken on the command line: set PGPASSWORD\n"
    "(or use ~/.pgpass).\n"
    "\n"
    "Exit codes: 0 done, 1 wrong command line, 2 the database cannot be used or the user is unknown.";

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(Description));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help."));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Shows the version."));
    const QCommandLineOption database({QStringLiteral("d"), QStringLiteral("database")},
                                      QStringLiteral("Works on the SQLite database <file>."), QStringLiteral("file"));
    const QCommandLineOption create(QStringLiteral("create"),
                                    QStringLiteral("Sets up a missing or empty database named by --database or "
                                                   "--pg-database with the schema and the sample data."));
    const QCommandLineOption pgHost(QStringLiteral("pg-host"),
                                    QStringLiteral("PostgreSQL server host, or a socket folder."),
                                    QStringLiteral("host"));
    const QCommandLineOption pgPort(QStringLiteral("pg-port"), QStringLiteral("PostgreSQL server port (5432)."),
                                    QStringLiteral("port"), QStringLiteral("5432"));
    const QCommandLineOption pgDatabase(QStringLiteral("pg-database"),
                                        QStringLiteral("Works on the PostgreSQL database <name>."),
                                        QStringLiteral("name"));
    const QCommandLineOption pgUser(QStringLiteral("pg-user"), QStringLiteral("PostgreSQL role to connect as."),
                                    QStringLiteral("role"));
    const QCommandLineOption user({QStringLiteral("u"), QStringLiteral("user")},
                                  QStringLiteral("Works as the TALV user <name> (default: the --pg-user role, "
                                                 "or ecarter)."),
                                  QStringLiteral("name"), QStringLiteral("ecarter"));
    const QCommandLineOption smoke(QStringLiteral("smoke-test"),
                                   QStringLiteral("Opens the database and the main window, then quits at once; "
                                                  "never waits for a user, not even to show an error."));
    const QCommandLineOption setupShared(
        QStringLiteral("setup-shared"),
        QStringLiteral("Sets up the PostgreSQL database named by --pg-database for sharing, then quits: makes the "
                       "roles talv_reader and talv_writer and a login role for every TALV user, with the rights "
                       "their access rows allow. Run as a role that may create roles; run again after adding "
                       "users or upgrading."));
    parser.addOptions({help, version, database, create, pgHost, pgPort, pgDatabase, pgUser, user, smoke, setupShared});

    CommandLine result;
    const auto usageError = [&result](const QString &message) {
        result.exitNow = true;
        result.exitCode = 1;
        result.error = QStringLiteral("talv-host: %1\nTry 'talv-host --help'.\n").arg(message);
        return result;
    };
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        result.exitNow = true;
        // The parser names whatever program holds the application object, or none before one exists.
        QString text = parser.helpText();
        text.replace(0, text.indexOf(u'\n'), QStringLiteral("Usage: talv-host [options]"));
        result.output = text;
        return result;
    }
    if (parser.isSet(version)) {
        result.exitNow = true;
        result.output = QStringLiteral("talv-host %1\n").arg(QStringLiteral(TALV_VERSION));
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst()));

    const bool postgres = parser.isSet(pgDatabase);
    const bool pgDetails = parser.isSet(pgHost) || parser.isSet(pgPort) || parser.isSet(pgUser);
    if (postgres && parser.isSet(database))
        return usageError(QStringLiteral("Name either a SQLite file (--database) or a PostgreSQL database "
                                         "(--pg-database), not both."));
    if (pgDetails && !postgres)
        return usageError(QStringLiteral("--pg-host, --pg-port and --pg-user need --pg-database."));
    if (parser.isSet(create) && !postgres && !parser.isSet(database))
        return usageError(QStringLiteral("--create needs --database or --pg-database."));
    if (parser.isSet(setupShared) && !postgres)
        return usageError(QStringLiteral("--setup-shared needs --pg-database."));

    HostOptions &options = result.options;
    if (postgres) {
        bool ok = false;
        const int port = parser.value(pgPort).toInt(&ok);
        if (!ok || port < 1 || port > 65535)
            return usageError(QStringLiteral("'%1' is not a port number.").arg(parser.value(pgPort)));
        options.connection.engine = host::Engine::PostgreSQL;
        options.connection.name = parser.value(pgDatabase);
        options.connection.host = parser.value(pgHost);
        options.connection.port = port;
        options.connection.user = parser.value(pgUser);
        options.connection.password = qEnvironmentVariable("PGPASSWORD");
    } else {
        options.connection.engine = host::Engine::SQLite;
        options.connection.name = parser.value(database);
    }
    if ((postgres || parser.isSet(database)) && options.connection.name.isEmpty())
        return usageError(QStringLiteral("The database name is empty."));
    options.create = parser.isSet(create);
    options.connection.createIfMissing = options.create;
    // In a shared database a user's role works as that user.
    options.user = (!parser.isSet(user) && parser.isSet(pgUser) ? parser.value(pgUser) : parser.value(user)).trimmed();
    if (options.user.isEmpty())
        return usageError(QStringLiteral("The user name is empty."));
    options.smokeTest = parser.isSet(smoke);
    options.setupShared = parser.isSet(setupShared);
    return result;
}

} // namespace talv::app

#include "CommandLine.h"
#include "Startup.h"

#include "clients/ClientClasses.h"
#include "details/ELGroupDetails.h"
#include "host/HostUiServices.h"
#include "host/IconTheme.h"
#include "host/MainWindow.h"
#include "host/ReferenceAppManager.h"
#include "host/SharedDatabase.h"
#include "platform/Error.h"
#include "search/SearchScreens.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

#include <unistd.h>

namespace {

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// --setup-shared: a task for a server's administrator, who may have no display.
int setUpSharedDatabase(int argc, char **argv, const talv::app::HostOptions &options)
{
    QCoreApplication application(argc, argv);
    try {
        const auto database = talv::host::Database::open(options.connection);
        if (database->schemaVersion() > 0)
            database->ensureSchema(); // brings an older schema up to date before its rights are set

        for (const auto &user : talv::host::SharedDatabase::setUp(*database)) {
            print(stdout, QStringLiteral("%1: role %2, %3\n")
                              .arg(user.userName, user.role,
                                   user.group.isEmpty() ? QStringLiteral("no longer active, no rights") : user.group));
        }
    } catch (const std::exception &e) {
        print(stderr, QStringLiteral("talv-host: %1\n").arg(talv::describe(e)));
        return 2;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    // Read before the application object exists: --help must work without a display.
    const talv::app::CommandLine commandLine = talv::app::CommandLine::parse(argumentsOf(argc, argv));
    if (commandLine.exitNow) {
        print(stdout, commandLine.output);
        print(stderr, commandLine.error);
        return commandLine.exitCode;
    }
    if (commandLine.options.setupShared)
        return setUpSharedDatabase(argc, argv, commandLine.options);

    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("TALV"));
    QApplication::setApplicationName(QStringLiteral("talv-elgroup"));
    QApplication::setApplicationDisplayName(QStringLiteral("TALV ELGroup"));
    QApplication::setApplicationVersion(QStringLiteral(TALV_VERSION));
    // Lets the desktop match the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.talv.elgroup"));
    QApplication::setWindowIcon(talv::host::MainWindow::applicationIcon());
    talv::host::useFallbackIconTheme();

    // The library's screens and the business classes they create by name.
    talv::search::RegisterSearchScreens();
    talv::details::RegisterDetailsScreen();
    talv::clients::registerClientClasses();

    std::unique_ptr<talv::host::HostSession> session;
    try {
        session = talv::app::openSession(commandLine.options);
    } catch (const std::exception &e) {
        // Started from a desktop launcher, nobody reads stderr; a smoke test never waits for a user.
        const bool inDialog = !isatty(fileno(stderr)) && !commandLine.options.smokeTest;
        talv::app::reportStartFailure(talv::describe(e), inDialog);
        return 2;
    }

    talv::host::ReferenceAppManager appManager(*session);
    int exitCode = 0;
    {
        talv::host::MainWindow window(*session, appManager.views());
        // Every screen's help, the modal hosts' F1 included, opens in our own help window.
        talv::host::HostUiServices services(talv::UiServices::current(),
                                            [&window](const QString &, int topicId) { window.showHelpTopic(topicId); });
        talv::ScopedUiServices scopedServices(services);
        window.setAppManager(&appManager);
        appManager.setWindowServices(&window);
        window.show();
        if (commandLine.options.smokeTest) {
            // An installation check: the help that F1 opens must be where the program looks.
            if (!QFileInfo::exists(appManager.HelpFile()))
                print(stderr, QStringLiteral("talv-host: the help file %1 is missing.\n").arg(appManager.HelpFile()));
            QTimer::singleShot(0, &window, &QWidget::close);
        }
        exitCode = QApplication::exec();
        appManager.setWindowServices(nullptr);
    }
    return exitCode;
}

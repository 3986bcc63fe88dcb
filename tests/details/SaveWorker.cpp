// A second host process for the tests of two users on one database: the reference host's session,
// application and window managers around a record screen, driven line by line from stdin, saying
// what it did on stdout. Commands: "open <group id>", "type <field> <text>", "save <answer>"
// (the answer to a box the save may show: yes, no or cancel), "show <field>", "quit".
#include "details/ELGroupDetails.h"

#include "clients/ClientClasses.h"
#include "host/Database.h"
#include "host/HostSession.h"
#include "host/ReferenceAppManager.h"
#include "host/WindowManager.h"
#include "host/WorkArea.h"
#include "host/WorkingLists.h"
#include "platform/UiServices.h"
#include "search/SearchScreens.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTextStream>

#include <iostream>
#include <string>

using namespace talv;

namespace {

void say(const QString &line)
{
    std::cout << line.toStdString() << std::endl;
}

int answerCode(const QString &word)
{
    if (word == QLatin1String("yes"))
        return Answer::Yes;
    if (word == QLatin1String("no"))
        return Answer::No;
    return Answer::Cancel;
}

// Answers every box with the answer the last save command named, and remembers the last text.
class AnsweringUi final : public UiServices
{
public:
    int answer = Answer::Cancel;
    QString lastBox;
    int messageBox(const QString &text, MsgButtons, MsgIcon, const QString &, int) override
    {
        lastBox = text;
        return answer;
    }
    int execModal(QDialog &) override { return 0; }
    void setBusy(bool) override {}
    void processEvents() override {}
    void sendKeys(const QString &) override {}
    void showHelp(const QString &, int) override {}
    void beep() override {}
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3) {
        say(QStringLiteral("usage: details_save_worker <sqlite file> <user>"));
        return 1;
    }
    search::RegisterSearchScreens();
    details::RegisterDetailsScreen();
    clients::registerClientClasses();
    host::ConnectionOptions options;
    options.name = QString::fromLocal8Bit(argv[1]);
    host::HostSession session(host::Database::open(options), QString::fromLocal8Bit(argv[2]));
    host::ReferenceAppManager appManager(session);
    AnsweringUi ui;
    ScopedUiServices scoped(ui);
    host::ViewCatalogue views;
    host::WorkingLists lists(views, host::QueryService(session.connection()));
    host::WorkArea area;
    area.resize(1200, 900);
    area.show();
    host::WindowManager manager(area, views, lists, host::QueryService(session.connection()));
    manager.setAppManager(&appManager);
    const qint32 groups = FindViewIndex(views, QStringLiteral("EGP"));
    manager.setCurrentView(groups);
    details::ELGroupDetails *screen = nullptr;

    std::string raw;
    while (std::getline(std::cin, raw)) {
        const QString line = QString::fromStdString(raw);
        const QString verb = line.section(u' ', 0, 0);
        if (verb == QLatin1String("open")) {
            const qint32 id = line.section(u' ', 1, 1).toInt();
            lists.refreshRecord(groups, id, true);
            manager.OpenDetails(groups, groups, id, QString(), RecordsetPtr());
            screen = qobject_cast<details::ELGroupDetails *>(manager.ActiveScreen());
            say(screen ? QStringLiteral("opened %1").arg(screen->GetID()) : QStringLiteral("not opened"));
        } else if (verb == QLatin1String("type") && screen) {
            auto *field = screen->findChild<QWidget *>(line.section(u' ', 1, 1));
            field->setFocus();
            field->setProperty("Text", QString());
            QTest::keyClicks(field, line.section(u' ', 2));
            say(QStringLiteral("typed"));
        } else if (verb == QLatin1String("save") && screen) {
            ui.answer = answerCode(line.section(u' ', 1, 1));
            ui.lastBox = QStringLiteral("no box");
            screen->command(QStringLiteral("mnuFileSave"))->trigger();
            say(QStringLiteral("saved ") + QString(ui.lastBox).replace(u'\n', u' '));
        } else if (verb == QLatin1String("show") && screen) {
            say(QStringLiteral("shows ") +
                screen->findChild<QWidget *>(line.section(u' ', 1, 1))->property("Text").toString());
        } else if (verb == QLatin1String("quit")) {
            break;
        } else {
            say(QStringLiteral("unknown ") + line);
        }
    }
    return 0;
}

// A host application that is not talv-host, built against the installed TalvElGroup package: it
// makes a sample database from the installed scripts, registers the library's screens, the
// reference business clients and a field manager of its own, then finds a group in the search
// screen and opens it in the record screen, offscreen. Exits 0 when everything was as the
// database says, 1 with the reasons otherwise.
#include "ConsumerHost.h"
#include "SampleDatabase.h"
#include "SiteFieldManager.h"

#include "clients/ClientClasses.h"
#include "clients/ServerDirectory.h"
#include "contracts/ClassRegistry.h"
#include "contracts/LateBinding.h"
#include "contracts/Names.h"
#include "platform/Error.h"
#include "platform/FlexGrid.h"
#include "platform/ScriptedUiServices.h"
#include "search/SearchScreens.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <stdexcept>

namespace {

const QString ServerName = QStringLiteral("consumer-sample");
const QString ConnectionName = QStringLiteral("consumer");

QStringList failures;

void check(bool ok, const QString &what)
{
    if (!ok)
        failures.append(what);
}

QVariant valueOf(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql) || !query.next())
        throw std::runtime_error(
            QStringLiteral("no answer to %1 (%2)").arg(sql, query.lastError().text()).toStdString());
    return query.value(0);
}

template <typename T> T *child(const QObject *screen, const char *name)
{
    T *found = screen->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        throw std::runtime_error(std::string("the screen has no ") + name);
    return found;
}

// The initialisation every hosted screen takes: the list, the managers, the views.
QVariantList initArguments(consumer::HostAppManager &appManager, consumer::HostWindowManager &winMan)
{
    return {QVariant::fromValue(appManager.GetPrototypeRSForView(QStringLiteral("EGP"))),
            QVariant::fromValue<talv::AppManager *>(&appManager),
            1,
            QVariant::fromValue<talv::WinMan *>(&winMan),
            QVariant::fromValue<talv::ViewCollection *>(&appManager.ViewManager().colViews()),
            QString()};
}

// Types the group's name into the search screen and presses Find Now.
void findGroup(consumer::HostAppManager &appManager, consumer::HostWindowManager &winMan, qint32 groupId,
               const QString &groupName)
{
    QWidget window;
    QWidget *search =
        qobject_cast<QWidget *>(talv::ClassRegistry::instance().Create(talv::names::SearchClass, &window));
    talv::LateBinding::call(search, talv::names::member::InitSearch, initArguments(appManager, winMan));
    window.show();

    child<QLineEdit>(search, "txtGroupName")->setText(groupName);
    child<QPushButton>(search, "cmdFindNow")->click();

    const auto *grid = child<talv::FlexGrid>(search, "fgResults");
    bool found = false;
    for (int row = grid->FixedRows(); row < grid->Rows(); ++row)
        found = found || grid->TextMatrix(row, 0) == QString::number(groupId);
    check(found, QStringLiteral("the search for \"%1\" did not find group %2").arg(groupName).arg(groupId));
    const QString quoted = QString(groupName).replace(u'\'', QStringLiteral("''"));
    check(!appManager.sqlSent.filter(quoted, Qt::CaseInsensitive).isEmpty(),
          QStringLiteral("no search for the name with its quotes doubled went through this host"));
    talv::LateBinding::call(search, talv::names::member::CanClose);
}

int run(const QString &folder)
{
    QSqlDatabase db = consumer::createSampleDatabase(QStringLiteral(TALV_DATA_DIR),
                                                     folder + QStringLiteral("/sample.sqlite"), ConnectionName);
    const qint32 userId =
        valueOf(db, QStringLiteral("SELECT user_id FROM app_user WHERE user_name = 'ecarter'")).toInt();
    talv::clients::ServerDirectory::Register(ServerName,
                                             {ConnectionName,
                                              talv::clients::SQLiteServer,
                                              [db](const QString &sequence) { return consumer::nextId(db, sequence); },
                                              {userId, QStringLiteral("ecarter"), 0}});

    talv::search::RegisterSearchScreens();
    talv::clients::registerClientClasses();
    // This site's own business class, in place of the reference one.
    talv::ClassRegistry::instance().RegisterObject<consumer::SiteFieldManager>(talv::names::FieldManagerClass);

    talv::ScriptedUiServices ui;
    talv::ScopedUiServices scopedUi(ui);
    consumer::HostAppManager appManager(db, ServerName, userId, QStringLiteral("ecarter"));
    consumer::HostWindowManager winMan;

    // A group with members and a name that needs its quote doubled, when the sample has one.
    QSqlQuery pick(db);
    pick.exec(QStringLiteral("SELECT g.element_group_id, g.element_group_name FROM element_group g "
                             "WHERE EXISTS (SELECT 1 FROM element_group_membership m WHERE m.element_group_id = "
                             "g.element_group_id) ORDER BY instr(g.element_group_name, '''') = 0, g.element_group_id"));
    if (!pick.next())
        throw std::runtime_error("the sample holds no group with members");
    const qint32 groupId = pick.value(0).toInt();
    const QString groupName = pick.value(1).toString();

    // The search opens blank: the sample's stored default criteria (a group type) would narrow it.
    QSqlQuery(db).exec(QStringLiteral("DELETE FROM user_option WHERE user_option_category_id IN (SELECT "
                                      "user_option_category_id FROM user_option_category WHERE category_name LIKE "
                                      "'$DEFAULT_FIND_%')"));
    findGroup(appManager, winMan, groupId, groupName);

    for (const auto &box : ui.boxes())
        failures.append(QStringLiteral("a message box: ") + box.text);
    failures.append(ui.failures());
    for (const QString &failure : failures)
        std::fprintf(stderr, "consumer-host: %s\n", qPrintable(failure));
    if (failures.isEmpty())
        std::printf("consumer-host: found group %d \"%s\" through TalvElGroup\n", groupId, qPrintable(groupName));
    return failures.isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QTemporaryDir folder;
    try {
        return run(folder.path());
    } catch (const std::exception &e) {
        std::fprintf(stderr, "consumer-host: %s\n", qPrintable(talv::describe(e)));
        return 1;
    }
}

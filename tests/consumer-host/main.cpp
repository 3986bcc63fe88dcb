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
#include "details/ELGroupDetails.h"
#include "platform/Error.h"
#include "platform/FlexGrid.h"
#include "platform/ScriptedUiServices.h"
#include "search/SearchScreens.h"

#include <QApplication>
#include <QLabel>
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

// Opens the group in the record screen on a working list that holds it, as a double click on its
// row would, and checks that the screen shows what the database holds.
void openRecord(consumer::HostAppManager &appManager, consumer::HostWindowManager &winMan, const QSqlDatabase &db,
                qint32 groupId, const QString &groupName)
{
    QWidget window;
    QWidget *record =
        qobject_cast<QWidget *>(talv::ClassRegistry::instance().Create(talv::names::DetailsClass, &window));
    if (!record)
        throw std::runtime_error("the record screen could not be created by its class name");
    QVariantList arguments = initArguments(appManager, winMan);
    arguments[0] = QVariant::fromValue(
        appManager.CallGetQueryRSXML(QStringLiteral("SELECT * FROM ELGroup_WL_VW WHERE ID = %1").arg(groupId)));
    talv::LateBinding::call(record, talv::names::member::InitDetails, arguments);
    window.show();
    talv::LateBinding::call(record, talv::names::member::LoadData, {groupId});

    check(talv::LateBinding::call(record, talv::names::member::GetID).toInt() == groupId,
          QStringLiteral("the record screen is not on group %1").arg(groupId));
    check(child<QWidget>(record, "ctrGroupName")->property("Text").toString() == groupName,
          QStringLiteral("the record screen does not show the name \"%1\"").arg(groupName));
    check(child<QLabel>(record, "lblElgroupID")->text() == QString::number(groupId),
          QStringLiteral("the record screen's id label does not read %1").arg(groupId));
    const auto *members = child<talv::FlexGrid>(record, "fgElements");
    const int stored =
        valueOf(
            db,
            QStringLiteral("SELECT count(*) FROM element_group_membership WHERE element_group_id = %1").arg(groupId))
            .toInt();
    check(members->Rows() - members->FixedRows() == stored,
          QStringLiteral("the record screen lists %1 members, the database holds %2")
              .arg(members->Rows() - members->FixedRows())
              .arg(stored));
    check(talv::LateBinding::call(record, talv::names::member::CanClose).toBool(),
          QStringLiteral("the record screen would not close on a record nobody changed"));
}

int run(const QString &folder)
{
    QSqlDatabase db = consumer::createSampleDatabase(QStringLiteral(TALV_DATA_DIR),
                                                     folder + QStringLiteral("/sample.sqlite"), ConnectionName);
    const qint32 userId =
        valueOf(db, QStringLiteral("SELECT user_id FROM app_user WHERE user_name = 'ecarter'")).toInt();
    // Rows are read through Qt's driver: this host brings no reader of its own.
    talv::clients::ServerConnection connection;
    connection.connectionName = ConnectionName;
    connection.serverType = talv::clients::SQLiteServer;
    connection.nextId = [db](const QString &sequence) { return consumer::nextId(db, sequence); };
    connection.user = {userId, QStringLiteral("ecarter"), 0};
    talv::clients::ServerDirectory::Register(ServerName, connection);

    talv::search::RegisterSearchScreens();
    talv::details::RegisterDetailsScreen();
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
    openRecord(appManager, winMan, db, groupId, groupName);

    for (const auto &box : ui.boxes())
        failures.append(QStringLiteral("a message box: ") + box.text);
    failures.append(ui.failures());
    for (const QString &failure : failures)
        std::fprintf(stderr, "consumer-host: %s\n", qPrintable(failure));
    if (failures.isEmpty())
        std::printf("consumer-host: found group %d \"%s\" and opened it through TalvElGroup\n", groupId,
                    qPrintable(groupName));
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

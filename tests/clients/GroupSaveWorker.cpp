// A child process for the kill test: saves element groups over and over on one SQLite file until
// it is killed. Every save of a group writes one fresh mark into all of the group's comment fields
// and into every member and reference row (the last modifying user), and swaps one member for
// another, so that a group that is partly old and partly new shows at once. It prints "b" before
// each save and "c" after each commit.
//
//   group_save_worker <database file> <seed>

#include "clients/ClientClasses.h"
#include "clients/ServerDirectory.h"
#include "contracts/ClassRegistry.h"
#include "contracts/ComponentCollection.h"
#include "contracts/ElementGroupObject.h"
#include "contracts/Names.h"
#include "host/Database.h"
#include "host/HostSession.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <cstdio>
#include <memory>

using namespace talv;

namespace {

const QString Server = QStringLiteral("Worker Server");
const QStringList CommentFields = {"ElementGroupDesc", "RangeCom",  "HabitatCom", "EcologyCom",
                                   "ThreatCom",        "StatusCom", "TrendCom"};

void addChild(ComponentCollection &children, const QString &itemProperty, qint64 itemId)
{
    children.AddNew(0, 0, QVariant());
    Component *child = children.Item(children.Count());
    child->setProperty(itemProperty, itemId);
    child->setProperty(QStringLiteral("RecCreateUser"), QStringLiteral("worker"));
    child->setProperty(QStringLiteral("RecCreateDate"), QStringLiteral("2001/01/01"));
}

// Each child carries the mark; display orders run 1..n.
void markChildren(ComponentCollection &children, const QString &mark)
{
    for (qint32 i = 1; i <= children.Count(); ++i) {
        children.Item(i)->setProperty(QStringLiteral("DisplayOrder"), i);
        children.Item(i)->setProperty(QStringLiteral("RecLastModUser"), mark);
    }
}

void addNewMember(ComponentCollection &members, QRandomGenerator &random)
{
    for (;;) {
        const qint64 element = random.bounded(1, 635);
        if (members.FindIndex(QStringLiteral("ElementGlobalID = %1").arg(element)) < 1) {
            addChild(members, QStringLiteral("ElementGlobalID"), element);
            return;
        }
    }
}

void saveOnce(QRandomGenerator &random)
{
    std::unique_ptr<ElementGroupObject> group(
        ClassRegistry::instance().CreateAs<ElementGroupObject>(names::ElementGroupClass));
    group->Open(Server, 1);
    const QString token = QString::number(random.generate());
    if (random.bounded(5) == 0) {
        group->NewRecord(false, QVariant());
        group->setProperty(QStringLiteral("ElementGroupName"), QStringLiteral("Worker group ") + token);
        group->setProperty(QStringLiteral("DElementGroupTypeId"), 1);
        group->setProperty(QStringLiteral("DGroupMemberTypeID"), 1);
        group->setProperty(QStringLiteral("OrgUnitID"), 1);
        group->setProperty(QStringLiteral("RecCreateUser"), QStringLiteral("worker"));
        for (int i = 0; i < 3; ++i)
            addNewMember(group->Members(), random);
        addChild(group->References(), QStringLiteral("ReferenceID"), random.bounded(1, 121));
    } else {
        if (!group->LoadByID(random.bounded(1, 13)))
            return;
        ComponentCollection &members = group->Members();
        if (members.Count() > 0)
            members.RemoveAt(random.bounded(1, members.Count() + 1));
        addNewMember(members, random);
    }
    for (const QString &field : CommentFields)
        group->setProperty(field, QStringLiteral("gen ") + token);
    group->setProperty(QStringLiteral("RecLastModUser"), QStringLiteral("worker"));
    markChildren(group->Members(), QStringLiteral("g") + token);
    markChildren(group->References(), QStringLiteral("g") + token);
    std::fputs("b", stdout);
    std::fflush(stdout);
    group->Save();
    std::fputs("c", stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: group_save_worker <database file> <seed>\n", stderr);
        return 2;
    }
    try {
        host::ConnectionOptions options;
        options.name = QString::fromLocal8Bit(argv[1]);
        auto db = host::Database::open(options);
        db->ensureSchema();
        clients::registerClientClasses();
        clients::ServerDirectory::Register(Server, host::clientConnection(*db, {1, QStringLiteral("ecarter")}));
        QRandomGenerator random(quint32(QByteArray(argv[2]).toUInt()));
        std::fputs("r", stdout);
        std::fflush(stdout);
        for (;;)
            saveOnce(random);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

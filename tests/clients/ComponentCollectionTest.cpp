#include "ClientTestSupport.h"

#include "clients/ClientCollection.h"
#include "contracts/Component.h"
#include "contracts/LateBinding.h"
#include "platform/Error.h"

#include <QElapsedTimer>

#include <chrono>
#include <future>
#include <thread>

namespace talv::test {
namespace {

using host::Engine;

class ComponentCollectionOnEngine : public ::testing::TestWithParam<Engine>
{
};

// The sample's saved searches of user 1: "Carter's alpine groups" (id 4) and "Ohio mussels" (id 3).
std::unique_ptr<ComponentCollection> userSearchesOf(const host::Database &db, qint64 userId)
{
    auto options = openCollection(db, OptionClass);
    EXPECT_TRUE(options->LoadWhere(QStringLiteral("CATEGORY_OPTIONS"), QVariantList{UserSearches, userId}, -1, -1, -1));
    return options;
}

TEST(ClientClassRegistration, ClassNamesMatchWithoutRegardToCase)
{
    TALV_OPEN_ENGINE_DATABASE(db, Engine::SQLite, EngineDatabase::SchemaOnly);
    const ScopedServer server(db->database());

    // The audit-log viewer spells the framework's name this way.
    std::unique_ptr<QObject> created(
        ClassRegistry::instance().Create(QStringLiteral("ClientFrameWork.ComponentCollection")));
    auto *collection = qobject_cast<ComponentCollection *>(created.get());
    ASSERT_NE(collection, nullptr);
    EXPECT_TRUE(collection->OpenClass(QStringLiteral("talv_useroptclient.USEROPTCLIENT"), TestServer, 1));
    EXPECT_TRUE(collection->OpenClass(CategoryClass, QStringLiteral("test SERVER"), 1));

    std::unique_ptr<QObject> option(
        ClassRegistry::instance().Create(QStringLiteral("talv_userOptClient.userOptClient")));
    EXPECT_NE(qobject_cast<Component *>(option.get()), nullptr);

    EXPECT_FALSE(collection->OpenClass(QStringLiteral("TALV_Nothing.Nowhere"), TestServer, 1));
    EXPECT_TRUE(
        LateBinding::property(collection, QStringLiteral("LastError")).toString().contains(u"TALV_Nothing.Nowhere"));
    EXPECT_FALSE(collection->OpenClass(OptionClass, QStringLiteral("Unknown Server"), 1));
    EXPECT_TRUE(LateBinding::call(collection, QStringLiteral("LastError")).toString().contains(u"Unknown Server"));
}

TEST_P(ComponentCollectionOnEngine, HoldsComponentsByPositionAndKey)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
    const ScopedServer server(db->database());
    auto options = openCollection(db->database(), OptionClass);

    ASSERT_TRUE(options->LoadWhere(QStringLiteral("Empty"), QString(), 0, 0, 0));
    EXPECT_EQ(options->Count(), 0);

    options->AddNew(0, 0, QVariant());
    ASSERT_EQ(options->Count(), 1);
    EXPECT_TRUE(options->Item(1)->IsNew());
    EXPECT_TRUE(options->Item(1)->property(QStringLiteral("OptionName")).isNull());

    auto *keyed = ClassRegistry::instance().CreateAs<Component>(OptionClass);
    EXPECT_EQ(options->AddComponent(keyed, QStringLiteral("12")), keyed);
    EXPECT_EQ(options->Item(QStringLiteral("12")), keyed);
    EXPECT_EQ(options->Item(2), keyed);
    EXPECT_EQ(keyed->parent(), options.get());

    const auto raisesInvalidArgument = [](auto &&call) {
        try {
            call();
        } catch (const Error &e) {
            return e.number() == Error::InvalidArgument;
        }
        return false;
    };
    EXPECT_TRUE(raisesInvalidArgument([&] { options->Item(0); }));
    EXPECT_TRUE(raisesInvalidArgument([&] { options->Item(3); }));
    EXPECT_TRUE(raisesInvalidArgument([&] { options->Item(QStringLiteral("13")); }));
    EXPECT_TRUE(raisesInvalidArgument([&] { options->RemoveAt(3); }));
    auto *sameKey = ClassRegistry::instance().CreateAs<Component>(OptionClass, options.get());
    EXPECT_TRUE(raisesInvalidArgument([&] { options->AddComponent(sameKey, QStringLiteral("12")); }));

    std::unique_ptr<Component> category(ClassRegistry::instance().CreateAs<Component>(CategoryClass));
    EXPECT_THROW(options->AddComponent(category.get(), QString()), Error);
    auto other = openCollection(db->database(), OptionClass);
    other->AddNew(0, 0, QVariant());
    EXPECT_TRUE(raisesInvalidArgument([&] { options->AddComponent(other->Item(1), QString()); }));
    EXPECT_EQ(options->Count(), 2);

    // New components that are removed or cleared never reach the database.
    const QStringList before =
        tableRows(db->database(), QStringLiteral("user_option"), QStringLiteral("user_option_id"));
    options->RemoveAt(1);
    EXPECT_EQ(options->Item(1), keyed);
    options->RemoveAt(1);
    EXPECT_TRUE(options->SaveAll());
    options->AddNew(0, 0, QVariant());
    options->ClearAll();
    EXPECT_EQ(options->Count(), 0);
    EXPECT_TRUE(options->SaveAll());
    EXPECT_EQ(tableRows(db->database(), QStringLiteral("user_option"), QStringLiteral("user_option_id")), before);
}

TEST_P(ComponentCollectionOnEngine, FindsByCriterionOnPropertyNamesWithoutRegardToCase)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
    const ScopedServer server(db->database());
    auto options = userSearchesOf(db->database(), 1);
    ASSERT_EQ(options->Count(), 2);
    // Listed in name order, as the saved-search dialog shows them.
    EXPECT_EQ(options->Item(1)->property(QStringLiteral("OptionName")).toString(),
              QStringLiteral("Carter's alpine groups"));

    EXPECT_EQ(options->FindIndex(QStringLiteral("UserOptionId = 3")), 2);
    EXPECT_EQ(options->FindIndex(QStringLiteral("useroptionid = 4")), 1);
    EXPECT_EQ(options->FindIndex(QStringLiteral("OPTIONNAME = 'Carter''s alpine groups'")), 1);
    EXPECT_LT(options->FindIndex(QStringLiteral("UserOptionId = 5")), 1);
    EXPECT_EQ(options->FindFirst(QStringLiteral("UserOptionId = 5")), nullptr);
    EXPECT_EQ(options->FindFirst(QStringLiteral("OptionName LIKE 'ohio*'")), options->Item(2));

    try {
        options->FindIndex(QStringLiteral("ReferenceID = 3"));
        ADD_FAILURE() << "an unknown property was accepted";
    } catch (const Error &e) {
        EXPECT_EQ(e.number(), Error::FieldNotFound);
        EXPECT_TRUE(e.description().contains(u"ReferenceID"));
    }
    EXPECT_THROW(options->FindFirst(QStringLiteral("UserOptionId =")), Error);
}

TEST_P(ComponentCollectionOnEngine, FailedLoadsAnswerFalseWithTheReason)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
    const ScopedServer server(db->database());
    auto options = openCollection(db->database(), OptionClass);
    auto *framework = qobject_cast<clients::ClientCollection *>(options.get());
    ASSERT_NE(framework, nullptr);

    EXPECT_FALSE(options->LoadWhere(QStringLiteral("NO_SUCH_CRITERION"), QString(), -1, -1, -1));
    EXPECT_TRUE(framework->LastError().contains(u"NO_SUCH_CRITERION"));
    EXPECT_FALSE(options->LoadWhere(QStringLiteral("CATEGORY_OPTION_NAME"),
                                    QStringList{UserSearches, QStringLiteral("x")}, -1, -1, -1));
    EXPECT_FALSE(options->LoadWhere(QStringLiteral("CATEGORY_OPTIONS"),
                                    QStringList{UserSearches, QStringLiteral("one")}, -1, -1, -1));
    EXPECT_TRUE(framework->LastError().contains(u"user id"));

    std::unique_ptr<ComponentCollection> unbound(
        ClassRegistry::instance().CreateAs<ComponentCollection>(CollectionClass));
    EXPECT_FALSE(unbound->LoadWhere(QStringLiteral("Empty"), QString(), 0, 0, 0));
    EXPECT_FALSE(unbound->SaveAll());
}

TEST_P(ComponentCollectionOnEngine, SaveAllFailingMidwayLeavesDatabaseAndComponentsAsTheyWere)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
    const ScopedServer server(db->database());
    auto options = userSearchesOf(db->database(), 1);
    ASSERT_EQ(options->Count(), 2);

    // A delete, an update and an insert are written before the duplicate fails.
    options->Item(2)->setProperty(QStringLiteral("OptionValue"), QStringLiteral("<TALV/>"));
    options->RemoveAt(1);
    for (const QString &name : {QStringLiteral("Fresh search"), QStringLiteral("Ohio mussels")}) {
        options->AddNew(0, 0, QVariant());
        Component *added = options->Item(options->Count());
        added->setProperty(QStringLiteral("CategoryName"), UserSearches);
        added->setProperty(QStringLiteral("UserId"), 1);
        added->setProperty(QStringLiteral("OptionName"), name);
        added->setProperty(QStringLiteral("OptionValue"), QStringLiteral("<TALV/>"));
    }
    const QStringList before =
        tableRows(db->database(), QStringLiteral("user_option"), QStringLiteral("user_option_id"));
    const QStringList sequencesBefore =
        db->database().engine() == Engine::SQLite
            ? tableRows(db->database(), QStringLiteral("id_sequence"), QStringLiteral("sequence_name"))
            : QStringList();

    EXPECT_FALSE(options->SaveAll());
    const QString reason = LateBinding::property(options.get(), QStringLiteral("LastError")).toString();
    EXPECT_TRUE(reason.contains(QStringLiteral("unique"), Qt::CaseInsensitive)) << reason.toStdString();
    EXPECT_EQ(tableRows(db->database(), QStringLiteral("user_option"), QStringLiteral("user_option_id")), before);
    if (!sequencesBefore.isEmpty()) {
        EXPECT_EQ(tableRows(db->database(), QStringLiteral("id_sequence"), QStringLiteral("sequence_name")),
                  sequencesBefore);
    }

    ASSERT_EQ(options->Count(), 3);
    EXPECT_TRUE(options->Item(1)->IsChanged());
    for (int i : {2, 3}) {
        EXPECT_TRUE(options->Item(i)->IsNew());
        EXPECT_TRUE(options->Item(i)->property(QStringLiteral("UserOptionId")).isNull());
    }

    // Once the clash is resolved the same collection saves everything it held, the removal too.
    options->Item(3)->setProperty(QStringLiteral("OptionName"), QStringLiteral("Ohio mussels again"));
    ASSERT_TRUE(options->SaveAll()) << options->property("LastError").toString().toStdString();
    EXPECT_FALSE(options->Item(3)->IsNew());
    EXPECT_EQ(storedOptionNames(db->database(), UserSearches, 1),
              (QStringList{QStringLiteral("Fresh search"), QStringLiteral("Ohio mussels"),
                           QStringLiteral("Ohio mussels again")}));
    auto reread = lookUpOption(db->database(), UserSearches, QStringLiteral("Ohio mussels"), 1);
    EXPECT_EQ(reread->Item(1)->property(QStringLiteral("OptionValue")).toString(), QStringLiteral("<TALV/>"));
}

TEST_P(ComponentCollectionOnEngine, NameRemovedAndAddedAgainInOneSaveIsReplaced)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
    const ScopedServer server(db->database());
    auto options = lookUpOption(db->database(), UserSearches, QStringLiteral("Ohio mussels"), 1);
    ASSERT_EQ(options->Count(), 1);
    options->RemoveAt(1);
    options->AddNew(0, 0, QVariant());
    Component *again = options->Item(1);
    again->setProperty(QStringLiteral("categoryname"), UserSearches);
    again->setProperty(QStringLiteral("userid"), QStringLiteral("1"));
    again->setProperty(QStringLiteral("optionname"), QStringLiteral("Ohio mussels"));
    ASSERT_TRUE(options->SaveAll()) << options->property("LastError").toString().toStdString();

    auto reread = lookUpOption(db->database(), UserSearches, QStringLiteral("Ohio mussels"), 1);
    ASSERT_EQ(reread->Count(), 1);
    EXPECT_NE(reread->Item(1)->property(QStringLiteral("UserOptionId")).toLongLong(), 3);
    EXPECT_TRUE(reread->Item(1)->property(QStringLiteral("OptionValue")).isNull());
}

// Two biologists saving at once on one SQLite file: the second waits for the first to finish.
TEST(ComponentCollectionOnSQLite, SaveWaitsForAnotherWriterInsteadOfFailing)
{
    TALV_OPEN_ENGINE_DATABASE(db, Engine::SQLite, EngineDatabase::WithSample);
    const ScopedServer server(db->database());
    auto options = lookUpOption(db->database(), UserSearches, QStringLiteral("Ohio mussels"), 1);
    ASSERT_EQ(options->Count(), 1);
    options->Item(1)->setProperty(QStringLiteral("OptionValue"), QStringLiteral("mine"));

    constexpr auto hold = std::chrono::milliseconds(800);
    std::promise<void> locked;
    std::future<void> lockTaken = locked.get_future();
    std::thread otherUser([&, options = db->options()] {
        auto other = host::Database::open(options);
        QSqlQuery q(other->connection());
        q.exec(QStringLiteral("BEGIN IMMEDIATE"));
        q.exec(QStringLiteral("UPDATE user_option SET option_value = 'theirs' WHERE user_option_id = 5"));
        locked.set_value();
        std::this_thread::sleep_for(hold);
        q.exec(QStringLiteral("COMMIT"));
    });
    lockTaken.wait();
    QElapsedTimer waited;
    waited.start();
    const bool saved = options->SaveAll();
    const qint64 elapsed = waited.elapsed();
    otherUser.join();

    EXPECT_TRUE(saved) << options->property("LastError").toString().toStdString();
    EXPECT_GE(elapsed, 500);
    EXPECT_EQ(lookUpOption(db->database(), UserSearches, QStringLiteral("Ohio mussels"), 1)
                  ->Item(1)
                  ->property(QStringLiteral("OptionValue"))
                  .toString(),
              QStringLiteral("mine"));
    EXPECT_EQ(lookUpOption(db->database(), UserSearches, QStringLiteral("Öland alvar"), 2)
                  ->Item(1)
                  ->property(QStringLiteral("OptionValue"))
                  .toString(),
              QStringLiteral("theirs"));
}

TALV_ON_BOTH_ENGINES(ComponentCollectionOnEngine);

} // namespace
} // namespace talv::test

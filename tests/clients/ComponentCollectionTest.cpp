#include "ClientTestSupport.h"

#include "clients/ClientCollection.h"
#include "contracts/Component.h"
#include "contracts/LateBinding.h"
#include "platform/Error.h"

#include <QElapsedTimer>
#include <QSqlQuery>

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
    EXPECT_TRUE(options->LoadWhere("CATEGORY_OPTIONS", QVariantList{UserSearches, userId}, -1, -1, -1));
    return options;
}

TEST(ClientClassRegistration, ClassNamesMatchWithoutRegardToCase)
{
    TALV_OPEN_ENGINE_DATABASE(db, Engine::SQLite, EngineDatabase::SchemaOnly);
    const ScopedServer server(db->database());

    // The audit-log viewer spells the framework's name this way.
    std::unique_ptr<QObject> created(ClassRegistry::instance().Create("ClientFrameWork.ComponentCollection"));
    auto *collection = qobject_cast<ComponentCollection *>(created.get());
    ASSERT_NE(collection, nullptr);
    EXPECT_TRUE(collection->OpenClass("talv_useroptclient.USEROPTCLIENT", TestServer, 1));
    EXPECT_TRUE(collection->OpenClass(CategoryClass, "test SERVER", 1));

    EXPECT_FALSE(collection->OpenClass("TALV_Nothing.Nowhere", TestServer, 1));
    EXPECT_TRUE(LateBinding::property(collection, "LastError").toString().contains(u"TALV_Nothing.Nowhere"));
    EXPECT_FALSE(collection->OpenClass(OptionClass, "Unknown Server", 1));
    EXPECT_TRUE(LateBinding::call(collection, "LastError").toString().contains(u"Unknown Server"));
}

TEST_P(ComponentCollectionOnEngine, HoldsComponentsByPositionAndKey)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
    const ScopedServer server(db->database());
    auto options = openCollection(db->database(), OptionClass);

    ASSERT_TRUE(options->LoadWhere("Empty", QString(), 0, 0, 0));
    EXPECT_EQ(options->Count(), 0);

    options->AddNew(0, 0, QVariant());
    ASSERT_EQ(options->Count(), 1);
    EXPECT_TRUE(options->Item(1)->IsNew());
    EXPECT_TRUE(options->Item(1)->property("OptionName").isNull());

    auto *keyed = ClassRegistry::instance().CreateAs<Component>(OptionClass);
    EXPECT_EQ(options->AddComponent(keyed, "12"), keyed);
    EXPECT_EQ(options->Item("12"), keyed);
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
    EXPECT_TRUE(raisesInvalidArgument([&] { options->Item("13"); }));
    EXPECT_TRUE(raisesInvalidArgument([&] { options->RemoveAt(3); }));
    auto *sameKey = ClassRegistry::instance().CreateAs<Component>(OptionClass, options.get());
    EXPECT_TRUE(raisesInvalidArgument([&] { options->AddComponent(sameKey, "12"); }));

    std::unique_ptr<Component> category(ClassRegistry::instance().CreateAs<Component>(CategoryClass));
    EXPECT_THROW(options->AddComponent(category.get(), QString()), Error);
    auto other = openCollection(db->database(), OptionClass);
    other->AddNew(0, 0, QVariant());
    EXPECT_TRUE(raisesInvalidArgument([&] { options->AddComponent(other->Item(1), QString()); }));
    EXPECT_EQ(options->Count(), 2);

    // New components that are removed or cleared never reach the database.
    const QStringList before = tableRows(db->database(), "user_option", "user_option_id");
    options->RemoveAt(1);
    EXPECT_EQ(options->Item(1), keyed);
    options->RemoveAt(1);
    EXPECT_TRUE(options->SaveAll());
    options->AddNew(0, 0, QVariant());
    options->ClearAll();
    EXPECT_EQ(options->Count(), 0);
    EXPECT_TRUE(options->SaveAll());
    EXPECT_EQ(tableRows(db->database(), "user_option", "user_option_id"), before);
}

TEST_P(ComponentCollectionOnEngine, FindsByCriterionOnPropertyNamesWithoutRegardToCase)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
    const ScopedServer server(db->database());
    auto options = userSearchesOf(db->database(), 1);
    ASSERT_EQ(options->Count(), 2);
    // Listed in name order, as the saved-search dialog shows them.
    EXPECT_EQ(options->Item(1)->property("OptionName").toString(), "Carter's alpine groups");

    EXPECT_EQ(options->FindIndex("UserOptionId = 3"), 2);
    EXPECT_EQ(options->FindIndex("useroptionid = 4"), 1);
    EXPECT_EQ(options->FindIndex("OPTIONNAME = 'Carter''s alpine groups'"), 1);
    EXPECT_LT(options->FindIndex("UserOptionId = 5"), 1);
    EXPECT_EQ(options->FindFirst("UserOptionId = 5"), nullptr);
    EXPECT_EQ(options->FindFirst("OptionName LIKE 'ohio*'"), options->Item(2));

    try {
        options->FindIndex("ReferenceID = 3");
        ADD_FAILURE() << "an unknown property was accepted";
    } catch (const Error &e) {
        EXPECT_EQ(e.number(), Error::FieldNotFound);
        EXPECT_TRUE(e.description().contains(u"ReferenceID"));
    }
    EXPECT_THROW(options->FindFirst("UserOptionId ="), Error);
}

TEST_P(ComponentCollectionOnEngine, FailedLoadsAnswerFalseWithTheReason)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
    const ScopedServer server(db->database());
    auto options = openCollection(db->database(), OptionClass);
    auto *framework = qobject_cast<clients::ClientCollection *>(options.get());
    ASSERT_NE(framework, nullptr);

    EXPECT_FALSE(options->LoadWhere("NO_SUCH_CRITERION", QString(), -1, -1, -1));
    EXPECT_TRUE(framework->LastError().contains(u"NO_SUCH_CRITERION"));
    EXPECT_FALSE(options->LoadWhere("CATEGORY_OPTION_NAME", QStringList{UserSearches, "x"}, -1, -1, -1));
    EXPECT_FALSE(options->LoadWhere("CATEGORY_OPTIONS", QStringList{UserSearches, "one"}, -1, -1, -1));
    EXPECT_TRUE(framework->LastError().contains(u"user id"));

    std::unique_ptr<ComponentCollection> unbound(
        ClassRegistry::instance().CreateAs<ComponentCollection>(CollectionClass));
    EXPECT_FALSE(unbound->LoadWhere("Empty", QString(), 0, 0, 0));
    EXPECT_FALSE(unbound->SaveAll());
}

TEST_P(ComponentCollectionOnEngine, SaveAllFailingMidwayLeavesDatabaseAndComponentsAsTheyWere)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
    const ScopedServer server(db->database());
    auto options = userSearchesOf(db->database(), 1);
    ASSERT_EQ(options->Count(), 2);

    // A delete, an update and an insert are written before the duplicate fails.
    options->Item(2)->setProperty("OptionValue", "<TALV/>");
    options->RemoveAt(1);
    for (const char *name : {"Fresh search", "Ohio mussels"}) {
        options->AddNew(0, 0, QVariant());
        Component *added = options->Item(options->Count());
        added->setProperty("CategoryName", UserSearches);
        added->setProperty("UserId", 1);
        added->setProperty("OptionName", name);
        added->setProperty("OptionValue", "<TALV/>");
    }
    const QStringList before = tableRows(db->database(), "user_option", "user_option_id");
    const QStringList sequencesBefore = db->database().engine() == Engine::SQLite
                                            ? tableRows(db->database(), "id_sequence", "sequence_name")
                                            : QStringList();

    EXPECT_FALSE(options->SaveAll());
    const QString reason = LateBinding::property(options.get(), "LastError").toString();
    EXPECT_TRUE(reason.contains("unique", Qt::CaseInsensitive)) << reason.toStdString();
    EXPECT_EQ(tableRows(db->database(), "user_option", "user_option_id"), before);
    if (!sequencesBefore.isEmpty()) {
        EXPECT_EQ(tableRows(db->database(), "id_sequence", "sequence_name"), sequencesBefore);
    }

    ASSERT_EQ(options->Count(), 3);
    EXPECT_TRUE(options->Item(1)->IsChanged());
    for (int i : {2, 3}) {
        EXPECT_TRUE(options->Item(i)->IsNew());
        EXPECT_TRUE(options->Item(i)->property("UserOptionId").isNull());
    }

    // Once the clash is resolved the same collection saves everything it held, the removal too.
    options->Item(3)->setProperty("OptionName", "Ohio mussels again");
    ASSERT_TRUE(options->SaveAll()) << options->property("LastError").toString().toStdString();
    EXPECT_FALSE(options->Item(3)->IsNew());
    EXPECT_EQ(storedOptionNames(db->database(), UserSearches, 1),
              (QStringList{"Fresh search", "Ohio mussels", "Ohio mussels again"}));
    auto reread = lookUpOption(db->database(), UserSearches, "Ohio mussels", 1);
    EXPECT_EQ(reread->Item(1)->property("OptionValue").toString(), "<TALV/>");
}

TEST_P(ComponentCollectionOnEngine, NameRemovedAndAddedAgainInOneSaveIsReplaced)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
    const ScopedServer server(db->database());
    auto options = lookUpOption(db->database(), UserSearches, "Ohio mussels", 1);
    ASSERT_EQ(options->Count(), 1);
    options->RemoveAt(1);
    options->AddNew(0, 0, QVariant());
    Component *again = options->Item(1);
    again->setProperty("categoryname", UserSearches);
    again->setProperty("userid", "1");
    again->setProperty("optionname", "Ohio mussels");
    ASSERT_TRUE(options->SaveAll()) << options->property("LastError").toString().toStdString();

    auto reread = lookUpOption(db->database(), UserSearches, "Ohio mussels", 1);
    ASSERT_EQ(reread->Count(), 1);
    EXPECT_NE(reread->Item(1)->property("UserOptionId").toLongLong(), 3);
    EXPECT_TRUE(reread->Item(1)->property("OptionValue").isNull());
}

// Two biologists saving at once on one SQLite file: the second waits for the first to finish.
TEST(ComponentCollectionOnSQLite, SaveWaitsForAnotherWriterInsteadOfFailing)
{
    TALV_OPEN_ENGINE_DATABASE(db, Engine::SQLite, EngineDatabase::WithSample);
    const ScopedServer server(db->database());
    auto options = lookUpOption(db->database(), UserSearches, "Ohio mussels", 1);
    ASSERT_EQ(options->Count(), 1);
    options->Item(1)->setProperty("OptionValue", "mine");

    constexpr auto hold = std::chrono::milliseconds(800);
    std::promise<void> locked;
    std::future<void> lockTaken = locked.get_future();
    std::thread otherUser([&, options = db->options()] {
        auto other = host::Database::open(options);
        QSqlQuery q(other->connection());
        q.exec("BEGIN IMMEDIATE");
        q.exec("UPDATE user_option SET option_value = 'theirs' WHERE user_option_id = 5");
        locked.set_value();
        std::this_thread::sleep_for(hold);
        q.exec("COMMIT");
    });
    lockTaken.wait();
    QElapsedTimer waited;
    waited.start();
    const bool saved = options->SaveAll();
    const qint64 elapsed = waited.elapsed();
    otherUser.join();

    EXPECT_TRUE(saved) << options->property("LastError").toString().toStdString();
    EXPECT_GE(elapsed, 500);
    EXPECT_EQ(
        lookUpOption(db->database(), UserSearches, "Ohio mussels", 1)->Item(1)->property("OptionValue").toString(),
        "mine");
    EXPECT_EQ(lookUpOption(db->database(), UserSearches, "Öland alvar", 2)->Item(1)->property("OptionValue").toString(),
              "theirs");
}

TALV_ON_BOTH_ENGINES(ComponentCollectionOnEngine);

} // namespace
} // namespace talv::test

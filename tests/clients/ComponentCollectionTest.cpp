#include "ClientTestSupport.h"
#include "support/ErrorNumber.h"

#include "contracts/Component.h"

#include <QPointer>

namespace talv::test {
namespace {

using host::Engine;

using ComponentCollectionOnEngine = SampleOnEngine;

TEST(ClientClassRegistration, ClassAndServerNamesMatchWithoutRegardToCase)
{
    TALV_OPEN_ENGINE_DATABASE(db, Engine::SQLite, EngineDatabase::SchemaOnly);
    const ScopedServer server(db->database());
    // The audit-log viewer spells the framework's name this way.
    std::unique_ptr<ComponentCollection> collection(
        ClassRegistry::instance().CreateAs<ComponentCollection>("ClientFrameWork.ComponentCollection"));
    EXPECT_TRUE(collection->OpenClass("talv_useroptclient.USEROPTCLIENT", "test SERVER", 1));
    EXPECT_FALSE(collection->OpenClass("TALV_Nothing.Nowhere", TestServer, 1));
    EXPECT_TRUE(collection->LastError().contains(u"TALV_Nothing.Nowhere"));
    EXPECT_FALSE(collection->OpenClass(OptionClass, "Unknown Server", 1));
    EXPECT_TRUE(collection->LastError().contains(u"Unknown Server"));
}

TEST_P(ComponentCollectionOnEngine, HoldsComponentsByPositionAndKeyAndDropsUnsavedOnes)
{
    const QStringList before = tableRows(db(), "user_option", "user_option_id");
    auto options = openCollection(db(), OptionClass);
    ASSERT_TRUE(options->LoadWhere("Empty", QString(), 0, 0, 0));
    EXPECT_EQ(options->Count(), 0);

    options->AddNew(0, 0, QVariant());
    EXPECT_TRUE(options->Item(1)->IsNew());
    auto *keyed = ClassRegistry::instance().CreateAs<Component>(OptionClass);
    EXPECT_EQ(options->AddComponent(keyed, "12"), keyed);
    EXPECT_EQ(options->Item("12"), options->Item(2));

    auto *sameKey = ClassRegistry::instance().CreateAs<Component>(OptionClass, options.get());
    for (const auto &misuse : std::initializer_list<std::function<void()>>{
             [&] { options->Item(0); }, [&] { options->Item(3); }, [&] { options->Item("13"); },
             [&] { options->RemoveAt(3); }, [&] { options->AddComponent(sameKey, "12"); }})
        EXPECT_EQ(errorNumber(misuse), Error::InvalidArgument);
    EXPECT_EQ(options->Count(), 2);

    // New components that are removed or cleared never reach the database.
    options->RemoveAt(1);
    EXPECT_EQ(options->Item(1), keyed);
    options->AddNew(0, 0, QVariant());
    options->ClearAll();
    EXPECT_EQ(options->Count(), 0);
    EXPECT_TRUE(options->SaveAll());
    EXPECT_EQ(tableRows(db(), "user_option", "user_option_id"), before);
}

TEST_P(ComponentCollectionOnEngine, LoadsInNameOrderFindsByCriterionAndReportsFailedLoads)
{
    auto options = openCollection(db(), OptionClass);
    ASSERT_TRUE(options->LoadWhere("CATEGORY_OPTIONS", QVariantList{UserSearches, 1}, -1, -1, -1));
    ASSERT_EQ(options->Count(), 2);
    EXPECT_EQ(options->Item(1)->property("OptionName").toString(), "Carter's alpine groups");

    EXPECT_EQ(options->FindIndex("useroptionid = 3"), 2);
    EXPECT_EQ(options->FindIndex("OPTIONNAME = 'Carter''s alpine groups'"), 1);
    EXPECT_LT(options->FindIndex("UserOptionId = 5"), 1);
    EXPECT_EQ(options->FindFirst("OptionName LIKE 'ohio*'"), options->Item(2));
    // A changed component is found by what it holds now, and RefreshAll takes the change back.
    options->Item(1)->setProperty("OptionName", "Renamed");
    EXPECT_EQ(options->FindIndex("OptionName = 'Renamed'"), 1);
    EXPECT_LT(options->FindIndex("OPTIONNAME = 'Carter''s alpine groups'"), 1);
    EXPECT_TRUE(options->AnyChanged());
    options->RefreshAll();
    EXPECT_FALSE(options->AnyChanged());
    EXPECT_EQ(options->FindIndex("OPTIONNAME = 'Carter''s alpine groups'"), 1);
    EXPECT_EQ(errorNumber([&] { options->FindIndex("ReferenceID = 3"); }), Error::FieldNotFound);
    EXPECT_NE(errorNumber([&] { options->FindFirst("UserOptionId ="); }), 0);

    EXPECT_FALSE(options->LoadWhere("NO_SUCH_CRITERION", QString(), -1, -1, -1));
    EXPECT_TRUE(options->LastError().contains(u"NO_SUCH_CRITERION"));
    EXPECT_FALSE(options->LoadWhere("CATEGORY_OPTIONS", QStringList{UserSearches, "one"}, -1, -1, -1));
    EXPECT_TRUE(options->LastError().contains(u"user id"));
    std::unique_ptr<ComponentCollection> unbound(
        ClassRegistry::instance().CreateAs<ComponentCollection>(CollectionClass));
    EXPECT_FALSE(unbound->LoadWhere("Empty", QString(), 0, 0, 0));
    EXPECT_FALSE(unbound->SaveAll());
}

TEST_P(ComponentCollectionOnEngine, SaveAllFailingMidwayLeavesDatabaseAndComponentsAsTheyWere)
{
    auto options = openCollection(db(), OptionClass);
    ASSERT_TRUE(options->LoadWhere("CATEGORY_OPTIONS", QVariantList{UserSearches, 1}, -1, -1, -1));

    // A delete, an update and an insert are written before the duplicate fails.
    options->Item(2)->setProperty("OptionValue", "<TALV/>");
    options->RemoveAt(1);
    for (const char *name : {"Fresh search", "Ohio mussels"}) {
        options->AddNew(0, 0, QVariant());
        Component *added = options->Item(options->Count());
        added->setProperty("CategoryName", UserSearches);
        added->setProperty("UserId", 1);
        added->setProperty("OptionName", name);
    }
    const bool sqlite = GetParam() == Engine::SQLite;
    const auto tables = [&] {
        return tableRows(db(), "user_option", "user_option_id") +
               (sqlite ? tableRows(db(), "id_sequence", "sequence_name") : QStringList());
    };
    const QStringList before = tables();
    EXPECT_FALSE(options->SaveAll());
    EXPECT_TRUE(options->LastError().contains("unique", Qt::CaseInsensitive)) << options->LastError().toStdString();
    EXPECT_EQ(tables(), before);
    ASSERT_EQ(options->Count(), 3);
    EXPECT_TRUE(options->Item(1)->IsChanged());
    EXPECT_TRUE(options->Item(3)->IsNew());
    EXPECT_TRUE(options->Item(3)->property("UserOptionId").isNull());

    // Once the clash is resolved the same collection saves everything it held, the removal too.
    options->Item(3)->setProperty("OptionName", "Ohio mussels again");
    ASSERT_TRUE(options->SaveAll()) << options->LastError().toStdString();
    auto reread = openCollection(db(), OptionClass);
    ASSERT_TRUE(reread->LoadWhere("CATEGORY_OPTIONS", QVariantList{UserSearches, 1}, -1, -1, -1));
    ASSERT_EQ(reread->Count(), 3);
    EXPECT_EQ(reread->Item(1)->property("OptionName").toString(), "Fresh search") << "Carter's is gone";
    EXPECT_EQ(reread->Item(2)->property("OptionValue").toString(), "<TALV/>");
}

TEST_P(ComponentCollectionOnEngine, NameRemovedAndAddedAgainInOneSaveIsReplaced)
{
    auto options = lookUpOption(db(), UserSearches, "Ohio mussels", 1);
    ASSERT_EQ(options->Count(), 1);
    options->RemoveAt(1);
    options->AddNew(0, 0, QVariant());
    options->Item(1)->setProperty("categoryname", UserSearches);
    options->Item(1)->setProperty("userid", "1");
    options->Item(1)->setProperty("optionname", "Ohio mussels");
    ASSERT_TRUE(options->SaveAll()) << options->LastError().toStdString();

    auto reread = lookUpOption(db(), UserSearches, "Ohio mussels", 1);
    ASSERT_EQ(reread->Count(), 1);
    EXPECT_NE(reread->Item(1)->property("UserOptionId").toLongLong(), 3);
    EXPECT_TRUE(reread->Item(1)->property("OptionValue").isNull());
}

TEST(ComponentOwnership, TheCollectionAloneDecidesWhenAComponentACallerHoldsIsGone)
{
    TALV_OPEN_ENGINE_DATABASE(db, Engine::SQLite, EngineDatabase::WithSample);
    const ScopedServer server(db->database());
    auto options = openCollection(db->database(), OptionClass);
    ASSERT_TRUE(options->LoadWhere("CATEGORY_OPTIONS", QVariantList{UserSearches, 1}, -1, -1, -1));
    const QPointer<Component> stored = options->Item(1);
    options->AddNew(0, 0, QVariant());
    const QPointer<Component> fresh = options->Item(3);

    options->RemoveAt(3);
    EXPECT_TRUE(fresh.isNull()) << "a new component that is removed goes at once";
    options->RemoveAt(1);
    EXPECT_FALSE(stored.isNull()) << "a stored one waits for its delete";
    ASSERT_TRUE(options->SaveAll());
    EXPECT_TRUE(stored.isNull());

    // A component made with a Qt parent belongs to the collection once added, not to that parent.
    QPointer<Component> adopted;
    {
        QObject formerParent;
        adopted = ClassRegistry::instance().CreateAs<Component>(OptionClass, &formerParent);
        options->AddComponent(adopted, "k");
    }
    ASSERT_FALSE(adopted.isNull());
    EXPECT_EQ(options->Item("k"), adopted.data());
    const QPointer<Component> kept = options->Item(1);
    options->ClearAll();
    EXPECT_TRUE(adopted.isNull() && kept.isNull());

    options->AddNew(0, 0, QVariant());
    const QPointer<Component> last = options->Item(1);
    options.reset();
    EXPECT_TRUE(last.isNull());
}

TALV_ON_BOTH_ENGINES(ComponentCollectionOnEngine);

} // namespace
} // namespace talv::test

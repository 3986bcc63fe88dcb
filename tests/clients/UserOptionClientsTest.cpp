#include "ClientTestSupport.h"

#include "contracts/Component.h"
#include "contracts/LateBinding.h"
#include "platform/Error.h"

#include <QDateTime>

namespace talv::test {
namespace {

using host::Engine;

class UserOptionClientsOnEngine : public ::testing::TestWithParam<Engine>
{
};

// Stores a new option the way the search screen does when the name is not stored yet: an option
// component created on its own by class name, handed to its category's option list, written by
// saving the category collection. Answers the option as the list handed it back.
Component *saveNewOption(const host::Database &db, std::unique_ptr<ComponentCollection> &categories,
                         const QString &category, const QString &typedName, qint64 userId, const QString &value)
{
    auto *option = ClassRegistry::instance().CreateAs<Component>(OptionClass);
    EXPECT_TRUE(LateBinding::call(option, "Open", {TestServer, serverTypeOf(db)}).toBool());
    LateBinding::call(option, "Init", {true});
    option->setProperty("OptionName", typedName);
    option->setProperty("OptionValue", value);
    option->setProperty("UserId", userId);

    categories = openCollection(db, CategoryClass);
    EXPECT_TRUE(categories->LoadWhere("USER_OPTION_CATEGORY_NAME", category, -1, -1, -1));
    if (categories->Count() < 1) {
        delete option;
        return nullptr;
    }
    auto *list =
        qobject_cast<ComponentCollection *>(LateBinding::call(categories->Item(1), "UserOptions").value<QObject *>());
    EXPECT_NE(list, nullptr);
    Component *held = list->AddComponent(option, QString());
    EXPECT_TRUE(categories->SaveAll()) << categories->property("LastError").toString().toStdString();
    return held;
}

TEST_P(UserOptionClientsOnEngine, NewOptionIsWrittenWithItsCategoryAndChangedOneWithItsOwnCollection)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
    const ScopedServer server(db->database());
    const QString criteria = "$DEFAULT_FIND_CRITERIA";
    const QString control = "TALV_ELGroup.ELGroupSearch";
    ASSERT_EQ(lookUpOption(db->database(), criteria, control, 2)->Count(), 0);

    std::unique_ptr<ComponentCollection> categories;
    Component *stored = saveNewOption(db->database(), categories, criteria, control, 2, "<TALV/>");
    ASSERT_NE(stored, nullptr);
    EXPECT_FALSE(stored->IsNew());
    EXPECT_FALSE(stored->IsChanged());
    EXPECT_EQ(stored->property("CategoryName").toString(), criteria);
    EXPECT_FALSE(stored->property("UserOptionId").isNull());
    EXPECT_TRUE(stored->property("RecCreateDate").toDateTime().isValid());

    // The default is found again, for that user only, by a fresh lookup.
    auto options = lookUpOption(db->database(), criteria, control, 2);
    ASSERT_EQ(options->Count(), 1);
    EXPECT_EQ(options->Item(1)->property("OptionValue").toString(), "<TALV/>");
    EXPECT_EQ(options->Item(1)->property("UserOptionId"), stored->property("UserOptionId"));

    // A change is written by the option's own collection; Refresh drops one not yet saved.
    Component *found = options->Item(1);
    found->setProperty("optionvalue", "<TALV><SEARCH_STATE/></TALV>");
    EXPECT_TRUE(found->IsChanged());
    ASSERT_TRUE(options->SaveAll()) << options->property("LastError").toString().toStdString();
    EXPECT_FALSE(found->IsChanged());
    found->setProperty("OptionValue", "unsaved");
    found->Refresh();
    EXPECT_EQ(found->property("OptionValue").toString(), "<TALV><SEARCH_STATE/></TALV>");
    EXPECT_EQ(lookUpOption(db->database(), criteria, control, 2)->Item(1)->property("OptionValue"),
              found->property("OptionValue"));

    // Stamps are the engine's business, not the screen's.
    EXPECT_THROW(found->setProperty("RecLastModDate", QDateTime::currentDateTime()), Error);
    EXPECT_THROW(found->setProperty("NoSuchProperty", 1), Error);
    EXPECT_THROW(found->setProperty("UserId", "not a number"), Error);
}

TEST_P(UserOptionClientsOnEngine, TwoUsersKeepTheirOwnOptionUnderOneName)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
    const ScopedServer server(db->database());
    const QString name = "Carter's alpine groups"; // user 1 has it in the sample
    std::unique_ptr<ComponentCollection> categories;
    ASSERT_NE(saveNewOption(db->database(), categories, UserSearches, name, 2, "user 2"), nullptr);

    auto first = lookUpOption(db->database(), UserSearches, name, 1);
    auto second = lookUpOption(db->database(), UserSearches, name, 2);
    ASSERT_EQ(first->Count(), 1);
    ASSERT_EQ(second->Count(), 1);
    EXPECT_TRUE(first->Item(1)->property("OptionValue").toString().startsWith(u"<TALV>"));
    EXPECT_EQ(second->Item(1)->property("OptionValue").toString(), "user 2");

    // The same name a second time for the same user is refused by the database, with its reason.
    auto *again = ClassRegistry::instance().CreateAs<Component>(OptionClass);
    LateBinding::call(again, "Init", {true});
    again->setProperty("OptionName", name);
    again->setProperty("UserId", 2);
    auto *list = qobject_cast<ComponentCollection *>(categories->Item(1)->property("UserOptions").value<QObject *>());
    ASSERT_NE(list, nullptr);
    list->AddComponent(again, QString());
    EXPECT_FALSE(categories->SaveAll());
    EXPECT_TRUE(categories->property("LastError").toString().contains("unique", Qt::CaseInsensitive));
    EXPECT_TRUE(again->IsNew());

    first->RemoveAt(1);
    ASSERT_TRUE(first->SaveAll());
    EXPECT_EQ(lookUpOption(db->database(), UserSearches, name, 1)->Count(), 0);
    EXPECT_EQ(lookUpOption(db->database(), UserSearches, name, 2)->Count(), 1);
}

TEST_P(UserOptionClientsOnEngine, OptionOfAnUnknownCategoryIsNotSaved)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
    const ScopedServer server(db->database());
    std::unique_ptr<ComponentCollection> categories;
    EXPECT_EQ(saveNewOption(db->database(), categories, "$NO_SUCH_CATEGORY", "x", 1, QString()), nullptr);

    auto options = openCollection(db->database(), OptionClass);
    options->AddNew(0, 0, QVariant());
    options->Item(1)->setProperty("CategoryName", "$NO_SUCH_CATEGORY");
    options->Item(1)->setProperty("UserId", 1);
    options->Item(1)->setProperty("OptionName", "x");
    EXPECT_FALSE(options->SaveAll());
    EXPECT_TRUE(options->property("LastError").toString().contains(u"$NO_SUCH_CATEGORY"));
}

TALV_ON_BOTH_ENGINES(UserOptionClientsOnEngine);

} // namespace
} // namespace talv::test

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
    auto *list =
        qobject_cast<ComponentCollection *>(LateBinding::call(categories->Item(1), "UserOptions").value<QObject *>());
    Component *held = list->AddComponent(option, QString());
    EXPECT_TRUE(categories->SaveAll()) << categories->LastError().toStdString();
    return held;
}

TEST_P(UserOptionClientsOnEngine, NewOptionIsWrittenWithItsCategoryChangedOneWithItsOwnCollection)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
    const ScopedServer server(db->database(), TestServer, {2, "jbrandt"});
    const QString criteria = "$DEFAULT_FIND_CRITERIA";
    const QString control = "TALV_ELGroup.ELGroupSearch";
    std::unique_ptr<ComponentCollection> categories;
    Component *stored = saveNewOption(db->database(), categories, criteria, control, 2, "<TALV/>");
    EXPECT_FALSE(stored->IsNew());
    EXPECT_EQ(stored->property("CategoryName").toString(), criteria);

    auto options = lookUpOption(db->database(), criteria, control, 2);
    ASSERT_EQ(options->Count(), 1);
    EXPECT_EQ(options->Item(1)->property("UserOptionId"), stored->property("UserOptionId"));

    // A change is written by the option's own collection; Refresh drops one not yet saved.
    Component *found = options->Item(1);
    found->setProperty("optionvalue", "<TALV><SEARCH_STATE/></TALV>");
    ASSERT_TRUE(options->SaveAll()) << options->LastError().toStdString();
    EXPECT_FALSE(found->IsChanged());
    found->setProperty("OptionValue", "unsaved");
    EXPECT_TRUE(found->IsChanged());
    found->Refresh();
    EXPECT_EQ(found->property("OptionValue").toString(), "<TALV><SEARCH_STATE/></TALV>");

    // Stamps are the engine's business, not the screen's.
    EXPECT_THROW(found->setProperty("RecLastModDate", QDateTime::currentDateTime()), Error);
    EXPECT_THROW(found->setProperty("UserId", "not a number"), Error);

    // An option of an unknown category is refused with the reason.
    options->AddNew(0, 0, QVariant());
    options->Item(2)->setProperty("CategoryName", "$NO_SUCH_CATEGORY");
    options->Item(2)->setProperty("UserId", 2);
    options->Item(2)->setProperty("OptionName", "x");
    EXPECT_FALSE(options->SaveAll());
    EXPECT_TRUE(options->LastError().contains(u"$NO_SUCH_CATEGORY"));
}

TEST_P(UserOptionClientsOnEngine, TwoUsersKeepTheirOwnOptionUnderOneName)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
    const QString name = "Carter's alpine groups"; // user 1 has it in the sample
    std::unique_ptr<ComponentCollection> categories;
    {
        const ScopedServer asJbrandt(db->database(), TestServer, {2, "jbrandt"});
        ASSERT_FALSE(saveNewOption(db->database(), categories, UserSearches, name, 2, "user 2")->IsNew());
        categories.reset();
    }
    const ScopedServer asEcarter(db->database());
    auto first = lookUpOption(db->database(), UserSearches, name, 1);
    ASSERT_EQ(first->Count(), 1);
    first->RemoveAt(1);
    ASSERT_TRUE(first->SaveAll());
    EXPECT_EQ(lookUpOption(db->database(), UserSearches, name, 1)->Count(), 0);
    auto second = lookUpOption(db->database(), UserSearches, name, 2);
    ASSERT_EQ(second->Count(), 1);
    EXPECT_EQ(second->Item(1)->property("OptionValue").toString(), "user 2");
}

TEST_P(UserOptionClientsOnEngine, ASessionWritesOnlyItsOwnUsersOptions)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), EngineDatabase::WithSample);
    const QStringList before = tableRows(db->database(), "user_option", "user_option_id");
    const auto refused = [](ComponentCollection &options) {
        EXPECT_FALSE(options.SaveAll());
        return options.LastError();
    };
    {
        const ScopedServer asJbrandt(db->database(), TestServer, {2, "jbrandt"});
        // ecarter's saved search, as the category's list of every user's options holds it.
        auto theirs = lookUpOption(db->database(), UserSearches, "Carter's alpine groups", 1);
        ASSERT_EQ(theirs->Count(), 1);
        theirs->Item(1)->setProperty("OptionValue", "<TALV/>");
        EXPECT_TRUE(refused(*theirs).contains("belongs to another user")) << theirs->LastError().toStdString();
        theirs->Item(1)->setProperty("UserId", 2); // taking it over is no way round
        refused(*theirs);
        theirs->Item(1)->Refresh();
        theirs->RemoveAt(1);
        refused(*theirs);

        auto planted = openCollection(db->database(), OptionClass);
        planted->AddNew(0, 0, QVariant());
        for (const auto &[property, value] :
             {std::pair<QString, QVariant>{"CategoryName", UserSearches}, {"OptionName", "planted"}, {"UserId", 1}})
            planted->Item(1)->setProperty(property, value);
        refused(*planted);
    }
    {
        const ScopedServer nobody(db->database(), TestServer, {0, {}});
        auto mine = lookUpOption(db->database(), UserSearches, "Carter's alpine groups", 1);
        mine->RemoveAt(1);
        EXPECT_TRUE(refused(*mine).contains("Nobody is logged in")) << mine->LastError().toStdString();
    }
    EXPECT_EQ(tableRows(db->database(), "user_option", "user_option_id"), before);
}

TALV_ON_BOTH_ENGINES(UserOptionClientsOnEngine);

} // namespace
} // namespace talv::test

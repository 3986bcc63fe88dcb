#include "UserOptions.h"

#include "contracts/ClassRegistry.h"
#include "contracts/Component.h"
#include "contracts/ComponentCollection.h"
#include "contracts/LateBinding.h"
#include "platform/Error.h"

#include <QStringList>

namespace talv::search {

namespace {

// The criteria's three trailing numbers: no paging, no limits.
constexpr qint32 All = -1;

[[noreturn]] void raise(const QString &description)
{
    throw Error(Error::Database, description);
}

} // namespace

std::unique_ptr<ComponentCollection> openCollection(const OptionOwner &owner, const QString &className)
{
    std::unique_ptr<ComponentCollection> collection(
        ClassRegistry::instance().CreateAs<ComponentCollection>(names::CollectionClass));
    if (!collection->OpenClass(className, owner.serverName, owner.serverType))
        raise(collection->LastError());
    return collection;
}

OptionLookup::OptionLookup(const OptionOwner &owner, const QString &category, const QString &lookupName)
    : m_options(openCollection(owner, names::UserOptClass))
{
    m_loaded = m_options->LoadWhere(QStringLiteral("CATEGORY_OPTION_NAME"),
                                    QStringList{category, lookupName, QString::number(owner.userId)}, All, All, All);
    if (!m_loaded)
        m_error = m_options->LastError();
}

OptionLookup::~OptionLookup() = default;

bool OptionLookup::found() const
{
    return m_loaded && m_options->Count() > 0;
}

Component &OptionLookup::option() const
{
    return *m_options->Item(1);
}

void addNewOption(const OptionOwner &owner, const QString &category, const QString &optionName, const QString &value)
{
    std::unique_ptr<Component> option(ClassRegistry::instance().CreateAs<Component>(names::UserOptClass));
    if (!LateBinding::call(option.get(), QStringLiteral("Open"), {owner.serverName, owner.serverType}).toBool())
        raise(QStringLiteral("The server \"%1\" is not open.").arg(owner.serverName));
    LateBinding::call(option.get(), QStringLiteral("Init"), {true});
    option->setProperty(QStringLiteral("OptionName"), optionName);
    option->setProperty(QStringLiteral("OptionValue"), value);
    option->setProperty(QStringLiteral("UserId"), owner.userId);

    // A new option joins its category's list and is written with the category.
    const std::unique_ptr<ComponentCollection> categories = openCollection(owner, names::UserOpCatClass);
    if (!categories->LoadWhere(QStringLiteral("USER_OPTION_CATEGORY_NAME"), category, All, All, All))
        raise(categories->LastError());
    if (categories->Count() < 1)
        raise(QStringLiteral("The option category \"%1\" does not exist.").arg(category));
    auto *list = qobject_cast<ComponentCollection *>(
        categories->Item(1)->property(QStringLiteral("UserOptions")).value<QObject *>());
    if (!list)
        raise(QStringLiteral("The option category \"%1\" offers no option list.").arg(category));
    list->AddComponent(option.get(), QString());
    option.release();
    saveAll(*categories);
}

void saveAll(ComponentCollection &collection)
{
    if (!collection.SaveAll())
        raise(collection.LastError());
}

} // namespace talv::search

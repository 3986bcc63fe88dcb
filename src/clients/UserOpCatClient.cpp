#include "UserOpCatClient.h"

#include "ClientCollection.h"
#include "CriterionArguments.h"
#include "UserOptClient.h"
#include "contracts/Names.h"
#include "platform/Error.h"

namespace talv::clients {

namespace {

const QString OptionListProperty = QStringLiteral("UserOptions");

TableClass::Definition categoryTable()
{
    using P = PropertyInfo;
    TableClass::Definition d;
    d.className = UserOpCatClass::ClassName;
    d.table = QStringLiteral("user_option_category");
    d.from = QStringLiteral("user_option_category");
    d.sequence = QStringLiteral("user_option_category_seq");
    d.properties = {
        {QStringLiteral("UserOptionCategoryId"), FieldType::Integer, P::Key},
        {QStringLiteral("CategoryName"), FieldType::VarChar, P::Plain},
        {QStringLiteral("CategoryDesc"), FieldType::VarChar, P::Plain},
    };
    d.columns = {
        {QStringLiteral("user_option_category_id"), QStringLiteral("user_option_category_id")},
        {QStringLiteral("category_name"), QStringLiteral("category_name")},
        {QStringLiteral("category_desc"), QStringLiteral("category_desc")},
    };
    return d;
}

} // namespace

const QString UserOpCatClass::ClassName = names::UserOpCatClass;

UserOpCatClass::UserOpCatClass(std::shared_ptr<const UserOptClass> optionClass)
    : TableClass(categoryTable()), m_optionClass(std::move(optionClass))
{}

BusinessComponent *UserOpCatClass::create(QObject *parent) const
{
    return new UserOpCatComponent(shared_from_this(), parent);
}

QList<QVariantList> UserOpCatClass::load(const ServerConnection &server, const LoadRequest &request) const
{
    if (request.criterion.compare(QStringLiteral("USER_OPTION_CATEGORY_NAME"), Qt::CaseInsensitive) != 0)
        throw Error(Error::InvalidArgument,
                    QStringLiteral("Class %1 has no criterion \"%2\".").arg(ClassName, request.criterion));
    const QStringList args = criterionArguments(request, 1, QStringLiteral("(category name)"));
    return query(server, QStringLiteral("category_name = ?"), {args.at(0)});
}

UserOpCatComponent::~UserOpCatComponent() = default;

ClientCollection *UserOpCatComponent::optionList()
{
    if (m_options)
        return m_options.get();
    const auto *categoryClass = static_cast<const UserOpCatClass *>(&businessClass());
    auto options = std::make_unique<ClientCollection>();
    options->bind(categoryClass->optionClass(), serverName(), serverType());
    if (!IsNew()) {
        const LoadRequest request{QStringLiteral("USER_OPTION_CATEGORY_ID"), key(), -1, -1, -1};
        options->setStoredRows(categoryClass->optionClass()->load(server(), request));
    }
    options->setAdoption([this](BusinessComponent &option) {
        option.setValue(UserOptClass::UserOptionCategoryId, key());
        option.setValue(UserOptClass::CategoryName, value(UserOpCatClass::CategoryName));
    });
    m_options = std::move(options);
    return m_options.get();
}

QObject *UserOpCatComponent::UserOptions()
{
    return optionList();
}

QVariant UserOpCatComponent::property(const QString &name) const
{
    if (name.compare(OptionListProperty, Qt::CaseInsensitive) == 0)
        return QVariant::fromValue<QObject *>(const_cast<UserOpCatComponent *>(this)->optionList());
    return BusinessComponent::property(name);
}

QList<ClientCollection *> UserOpCatComponent::children()
{
    if (!m_options)
        return {};
    return {m_options.get()};
}

void UserOpCatComponent::storedStateReplaced()
{
    // The list belonged to the record as it was; it is read again when next asked for.
    m_options.reset();
}

} // namespace talv::clients

#pragma once

#include "BusinessComponent.h"
#include "UserOptClient.h"

#include <memory>

namespace talv::clients {

// "TALV_UserOpCatClient.UserOpCatClient": an option category such as "$DEFAULT_FIND_CRITERIA".
//
// Properties (table user_option_category): UserOptionCategoryId (key), CategoryName,
// CategoryDesc; and UserOptions, the category's option list (read-only, see below).
// Criterion of LoadWhere: "USER_OPTION_CATEGORY_NAME" with the category name.
class UserOpCatClass final : public TableClass
{
public:
    static const QString ClassName;
    enum Property { UserOptionCategoryId, CategoryName, CategoryDesc };

    explicit UserOpCatClass(std::shared_ptr<const UserOptClass> optionClass);

    BusinessComponent *create(QObject *parent) const override;
    QList<QVariantList> load(const ServerConnection &server, const LoadRequest &request) const override;

    const std::shared_ptr<const UserOptClass> &optionClass() const { return m_optionClass; }

private:
    std::shared_ptr<const UserOptClass> m_optionClass;
};

// A category with its option list: a collection of TALV_UserOptClient.UserOptClient components
// holding every user's options of the category, read when first asked for. An option added to it
// (AddNew, AddComponent) joins the category and is written when the category is saved, by the
// SaveAll of the category's collection; AddComponent hands back the option, stored after that save.
class UserOpCatComponent final : public BusinessComponent
{
    Q_OBJECT
public:
    using BusinessComponent::BusinessComponent;
    ~UserOpCatComponent() override;

    // The option list as the talv::ComponentCollection it is (by name: UserOptions()).
    Q_INVOKABLE QObject *UserOptions();
    ClientCollection *optionList();

    // Adds "UserOptions" to the class's properties, answering the list as a QObject pointer.
    QVariant property(const QString &name) const override;

    QList<ClientCollection *> children() override;

protected:
    void storedStateReplaced() override;

private:
    std::unique_ptr<ClientCollection> m_options; // read when first asked for
};

} // namespace talv::clients

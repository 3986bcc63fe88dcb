#include "UserOptClient.h"

#include "BusinessComponent.h"
#include "CriterionArguments.h"
#include "PropertyValue.h"
#include "SaveTransaction.h"
#include "contracts/Names.h"
#include "platform/Error.h"

#include <QDateTime>
#include <QSqlQuery>

#include <algorithm>

namespace talv::clients {

namespace {

TableClass::Definition userOptionTable()
{
    using P = PropertyInfo;
    TableClass::Definition d;
    d.className = UserOptClass::ClassName;
    d.table = QStringLiteral("user_option");
    d.from = QStringLiteral("user_option o JOIN user_option_category c "
                            "ON c.user_option_category_id = o.user_option_category_id");
    d.sequence = QStringLiteral("user_option_seq");
    d.properties = {
        {QStringLiteral("UserOptionId"), FieldType::Integer, P::Key},
        {QStringLiteral("UserOptionCategoryId"), FieldType::Integer, P::Plain},
        {QStringLiteral("CategoryName"), FieldType::VarChar, P::Plain},
        {QStringLiteral("UserId"), FieldType::Integer, P::Plain},
        {QStringLiteral("OptionName"), FieldType::VarChar, P::Plain},
        {QStringLiteral("OptionValue"), FieldType::VarChar, P::Plain},
        {QStringLiteral("RecCreateDate"), FieldType::Date, P::ReadOnly},
        {QStringLiteral("RecLastModDate"), FieldType::Date, P::ReadOnly},
    };
    d.columns = {
        {QStringLiteral("o.user_option_id"), QStringLiteral("user_option_id")},
        {QStringLiteral("o.user_option_category_id"), QStringLiteral("user_option_category_id")},
        {QStringLiteral("c.category_name"), {}},
        {QStringLiteral("o.user_id"), QStringLiteral("user_id")},
        {QStringLiteral("o.option_name"), QStringLiteral("option_name")},
        {QStringLiteral("o.option_value"), QStringLiteral("option_value")},
        {QStringLiteral("o.rec_create_date"), QStringLiteral("rec_create_date")},
        {QStringLiteral("o.rec_last_mod_date"), QStringLiteral("rec_last_mod_date")},
    };
    // Each user keeps their own options: a session writes only its user's.
    d.ownerColumn = QStringLiteral("user_id");
    return d;
}

} // namespace

const QString UserOptClass::ClassName = names::UserOptClass;

UserOptClass::UserOptClass() : TableClass(userOptionTable())
{}

QList<QVariantList> UserOptClass::load(const ServerConnection &server, const LoadRequest &request) const
{
    const QString &criterion = request.criterion;
    if (criterion.compare(QStringLiteral("CATEGORY_OPTION_NAME"), Qt::CaseInsensitive) == 0) {
        const QStringList args =
            criterionArguments(request, 3, QStringLiteral("(category name, option name, user id)"));
        return query(server, QStringLiteral("c.category_name = ? AND o.option_name = ? AND o.user_id = ?"),
                     {args.at(0), undoubleQuotes(args.at(1)),
                      wholeNumberArgument(args.at(2), QStringLiteral("user id"), criterion)},
                     QStringLiteral("o.user_option_id"));
    }
    if (criterion.compare(QStringLiteral("CATEGORY_OPTIONS"), Qt::CaseInsensitive) == 0) {
        const QStringList args = criterionArguments(request, 2, QStringLiteral("(category name, user id)"));
        QList<QVariantList> rows =
            query(server, QStringLiteral("c.category_name = ? AND o.user_id = ?"),
                  {args.at(0), wholeNumberArgument(args.at(1), QStringLiteral("user id"), criterion)});
        // Sorted here: the engines' collations disagree about case and accents.
        std::stable_sort(rows.begin(), rows.end(), [](const QVariantList &a, const QVariantList &b) {
            const int byFold =
                QString::compare(a.at(OptionName).toString(), b.at(OptionName).toString(), Qt::CaseInsensitive);
            if (byFold != 0)
                return byFold < 0;
            return a.at(OptionName).toString() < b.at(OptionName).toString();
        });
        return rows;
    }
    if (criterion.compare(QStringLiteral("USER_OPTION_CATEGORY_ID"), Qt::CaseInsensitive) == 0) {
        const QStringList args = criterionArguments(request, 1, QStringLiteral("(category id)"));
        return query(server, QStringLiteral("o.user_option_category_id = ?"),
                     {wholeNumberArgument(args.at(0), QStringLiteral("category id"), criterion)},
                     QStringLiteral("o.user_option_id"));
    }
    throw Error(Error::InvalidArgument, QStringLiteral("Class %1 has no criterion \"%2\".").arg(ClassName, criterion));
}

void UserOptClass::prepareWrite(SaveTransaction &tx, BusinessComponent &component, bool inserting) const
{
    // The category's name is what screens know; its id follows it.
    const QVariant categoryName = component.value(CategoryName);
    if (!categoryName.isNull()) {
        const KeptQuery q =
            tx.exec(QStringLiteral("SELECT user_option_category_id FROM user_option_category WHERE category_name = ?"),
                    {categoryName});
        if (!q->next())
            throw Error(Error::Database,
                        QStringLiteral("There is no option category named \"%1\".").arg(categoryName.toString()));
        component.setValue(UserOptionCategoryId, q->value(0));
    } else if (component.value(UserOptionCategoryId).isNull()) {
        throw Error(Error::Database, QStringLiteral("The option \"%1\" belongs to no category; it was not saved.")
                                         .arg(component.value(OptionName).toString()));
    }
    const QDateTime now = stampNow();
    if (inserting && component.value(RecCreateDate).isNull())
        component.setValue(RecCreateDate, now);
    component.setValue(RecLastModDate, now);
}

} // namespace talv::clients

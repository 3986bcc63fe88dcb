#pragma once

#include "TableClass.h"

namespace talv::clients {

// "TALV_UserOptClient.UserOptClient": one user option, a named text (the screens keep XML
// documents in it) that belongs to one user under one option category.
//
// Properties (table user_option):
//   UserOptionId          key, given at the first save (read-only)
//   UserOptionCategoryId  the category's id; taken from CategoryName at each save when that is set
//   CategoryName          the category's name, e.g. "$USER_FIND_ELEMENT_GROUP"
//   UserId                the owner's user id; a session writes only its own user's options
//   OptionName            the name as the user typed it (quotes single, blanks kept)
//   OptionValue           the stored text
//   RecCreateDate, RecLastModDate   stamped at save (read-only)
//
// Criteria of LoadWhere:
//   "CATEGORY_OPTION_NAME"   (category name, option name, user id): the one option of that name
//   "CATEGORY_OPTIONS"       (category name, user id): all of the user's options of the category,
//                            ordered by option name without regard to case
//   "USER_OPTION_CATEGORY_ID" (category id): every user's options of a category (a category's list)
// Option names arrive as the screens build criteria, each "'" doubled; they are matched against
// the names as typed. A user id may come as text.
class UserOptClass final : public TableClass
{
public:
    static const QString ClassName;
    enum Property {
        UserOptionId,
        UserOptionCategoryId,
        CategoryName,
        UserId,
        OptionName,
        OptionValue,
        RecCreateDate,
        RecLastModDate
    };

    UserOptClass();

    QList<QVariantList> load(const ServerConnection &server, const LoadRequest &request) const override;

protected:
    void prepareWrite(SaveTransaction &tx, BusinessComponent &component, bool inserting) const override;
};

} // namespace talv::clients

#include "SearchSql.h"

#include "platform/Error.h"

#include <QRegularExpression>

namespace talv::search {

const QStringList &NameComparisonItems()
{
    static const QStringList items = {QStringLiteral("Contains"), QStringLiteral("Exact Match"),
                                      QStringLiteral("Begins with"), QStringLiteral("Ends with"),
                                      QStringLiteral("Wildcard")};
    return items;
}

QString DoubleQuotes(const QString &text)
{
    QString out = text;
    return out.replace(u'\'', QStringLiteral("''"));
}

QString NameCriterion(const QString &field, const QString &value, int comparison)
{
    const QString v = DoubleQuotes(value).toUpper();
    const QString upper = QStringLiteral("UPPER(") + field + QStringLiteral(")");
    switch (comparison) {
    case Contains:
        return upper + QStringLiteral(" LIKE '%") + v + QStringLiteral("%'");
    case ExactMatch:
        return upper + QStringLiteral(" = '") + v + QStringLiteral("'");
    case BeginsWith:
        return upper + QStringLiteral(" LIKE '") + v + QStringLiteral("%'");
    case EndsWith:
        return upper + QStringLiteral(" LIKE '%") + v + QStringLiteral("'");
    case Wildcard:
        // The user typed the wildcard characters.
        return upper + QStringLiteral(" LIKE '") + v + QStringLiteral("'");
    }
    throw Error(Error::InvalidArgument, QStringLiteral("There is no name comparison number %1.").arg(comparison));
}

bool IsNumericGroupId(const QString &text)
{
    // ASCII digits and blanks only: the text goes into the statement as it was typed.
    static const QRegularExpression number(QStringLiteral("^[ \\t]*[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)[ \\t]*$"));
    return number.match(text).hasMatch();
}

bool CriteriaEntered(const SearchCriteria &criteria)
{
    return !criteria.groupId.trimmed().isEmpty() || !criteria.groupType.trimmed().isEmpty() ||
           !criteria.groupName.trimmed().isEmpty();
}

QString BuildSearchSQL(const SearchCriteria &criteria)
{
    QString where;
    if (!criteria.groupId.trimmed().isEmpty()) {
        if (!IsNumericGroupId(criteria.groupId))
            return {};
        where = QStringLiteral("element_group.element_group_id = ") + criteria.groupId;
    } else {
        if (!criteria.groupName.trimmed().isEmpty())
            where += NameCriterion(GroupNameField, criteria.groupName, criteria.comparison);
        if (!criteria.groupType.isEmpty()) {
            if (!where.isEmpty())
                where += QStringLiteral(" AND ");
            // Picked from the list, so inserted as it is.
            where += QStringLiteral("d_element_group_type.element_group_type_desc = '") + criteria.groupType +
                     QStringLiteral("'");
        }
    }

    const QString columns = QStringLiteral("SELECT UNIQUE element_group.element_group_id as ID, "
                                           "element_group.element_group_name as Group_Name, "
                                           "d_element_group_type.element_group_type_desc as Group_Type ");
    if (!where.isEmpty())
        return columns +
               QStringLiteral("FROM element_group, d_element_group_type WHERE element_group.d_element_group_type_id = "
                              "d_element_group_type.d_element_group_type_id AND(") +
               where + QStringLiteral(") order by element_group_id");
    return columns +
           QStringLiteral("FROM element_group, d_element_group_type "
                          "WHERE element_group.d_element_group_type_id = d_element_group_type.d_element_group_type_id "
                          "ORDER BY element_group_id");
}

QString NewGroupSql(qint32 newId)
{
    return QStringLiteral("SELECT UNIQUE element_group.element_group_id as ID, "
                          "element_group.element_group_name as Group_Name, "
                          "d_element_group_type.element_group_type_desc as Group_Type  "
                          "FROM element_group, d_element_group_type "
                          "WHERE element_group.d_element_group_type_id = d_element_group_type.d_element_group_type_id "
                          "AND element_group.element_group_id = ") +
           QString::number(newId) + QStringLiteral(" ORDER BY element_group.element_group_id");
}

} // namespace talv::search

#pragma once

#include <QString>
#include <QStringList>

// The search statement of the element-group search, built from the criteria alone so that it can
// be checked without a screen. Free text is quoted here; list values go in as they are.
namespace talv::search {

// The comparison list of the group name, in list order: the index is what the query and the
// saved searches use.
enum NameComparison : int { Contains = 0, ExactMatch = 1, BeginsWith = 2, EndsWith = 3, Wildcard = 4 };

// "Contains", "Exact Match", "Begins with", "Ends with", "Wildcard".
const QStringList &NameComparisonItems();

inline const QString GroupNameField = QStringLiteral("element_group.element_group_name");
inline const QString GroupTypesSql = QStringLiteral("SELECT * FROM d_element_group_type ORDER BY display_order");
// No rows, only the working list's fields: the empty result grid.
inline const QString EmptyResultsSql = QStringLiteral("select * from ELGroup_WL_VW where 1=0");

// The criteria as the user typed and picked them, untrimmed.
struct SearchCriteria {
    QString groupId;
    QString groupName;
    int comparison = Contains;
    QString groupType;
};

// Each "'" doubled to "''".
QString DoubleQuotes(const QString &text);

// The clause comparing `field` with `value` (quotes doubled, then upper-cased) in the manner of
// `comparison`; an index outside the list raises talv::Error (InvalidArgument).
QString NameCriterion(const QString &field, const QString &value, int comparison);

// Whether a group id the user typed is a number: an optional sign, digits with an optional
// decimal point, blanks around. Anything else could not go into the statement.
bool IsNumericGroupId(const QString &text);

// False only when id, name and type are all blank.
bool CriteriaEntered(const SearchCriteria &criteria);

// The search statement. An id that is not blank decides alone (inserted as typed); otherwise the
// name and type clauses are joined by " AND "; with neither, every group. An id that is not
// numeric answers the empty text.
QString BuildSearchSQL(const SearchCriteria &criteria);

// The row of the group `newId`, saved in a modal record screen, in the layout of the search
// results.
QString NewGroupSql(qint32 newId);

} // namespace talv::search

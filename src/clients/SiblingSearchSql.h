#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The statement of a sibling search (elements, references), built from the typed criteria alone
// so that it can be checked without a screen.
namespace talv::clients {

// How a criterion compares its column with what the user typed.
enum class CriterionMatch {
    Number,   // the column equals a whole number
    Contains, // the column contains the text, letter case aside
    AllWords, // the column contains every blank-separated word, in any order
};

struct SearchCriterion {
    QString objectName; // the text box: "txtScientificName"
    QString caption;    // its label: "Scientific Name"
    QString column;     // the list view's column: "SCIENTIFIC_NAME"
    CriterionMatch match = CriterionMatch::Contains;
};

// What one sibling search looks in and how it orders what it finds.
struct SearchStatement {
    QString listView; // the working-list view whose rows are found and handed back
    QList<SearchCriterion> criteria;
    QString kindColumn; // the column the kind of record is in; empty when the search has no kinds
    QString orderBy;
};

// `value` inside a LIKE pattern that uses "\" as its escape: "%", "_" and "\" stand for
// themselves, quotes are doubled.
QString LikeLiteral(const QString &value);

// The kind named by an extra text such as "Global, Plant": the text after the last comma, when it
// is one of `kinds` (exact); otherwise the empty text (every kind).
QString KindFromExtraText(const QString &extraText, const QStringList &kinds);

// The statement for the typed `values` (one per criterion, in order) and the chosen `kind` (empty:
// any). Blank values are left out; with none, every row. A Number criterion whose value is not a
// whole number raises talv::Error (InvalidArgument) naming the criterion.
QString BuildSiblingSearchSql(const SearchStatement &statement, const QStringList &values, const QString &kind);

} // namespace talv::clients

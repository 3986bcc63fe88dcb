#pragma once

#include "Recordset.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

namespace talv::internal {

enum class CompareOp { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Like };

// One "field operator literal" term, its literal already converted for the field's type.
struct CriterionTerm {
    int field = -1;
    FieldType type = FieldType::VarChar;
    CompareOp op = CompareOp::Equal;
    QVariant literal;    // null for the NULL literal
    QString likePattern; // LIKE only: case-folded, '*' and '%' match any run of characters

    bool matches(const QVariant &stored) const;
};

// "field = whole number" with a plain field name: the form of every lookup by id, recognised
// without building a criterion. Anything else answers std::nullopt and goes to the parser.
struct WholeEquality {
    QStringView field;
    qint64 value;
};
std::optional<WholeEquality> recogniseWholeEquality(QStringView text);

// Parsed criterion text of Find and Filter:
//   term := field op literal,  op := = <> < > <= >= LIKE,
//   literal := number | 'text' ('' for a quote) | #date# | bare word | NULL,
//   Filter only: terms joined by AND / OR (AND binds tighter) and grouped by parentheses.
// Field names may be bracketed ([Group Name]) and are matched without regard to case.
class Criterion
{
public:
    struct FieldInfo {
        int index;
        FieldType type;
        QString name;
    };
    using FieldLookup = std::function<std::optional<FieldInfo>(QStringView name)>;

    // Raises InvalidArgument for text that does not parse, FieldNotFound for an unknown field
    // and TypeMismatch for a literal the field cannot compare with; each names the problem.
    static Criterion parse(const QString &text, const FieldLookup &lookup, bool allowJoins);

    // The row's values are read through `valueOf(fieldIndex)`.
    template <typename ValueOf> bool matches(const ValueOf &valueOf) const { return evaluate(m_root, valueOf); }

    // The criterion's only term, when it has just one (Find always has).
    const CriterionTerm *singleTerm() const;

private:
    struct Node {
        enum Kind { Term, And, Or } kind;
        int left = -1;
        int right = -1;
        CriterionTerm term;
    };

    template <typename ValueOf> bool evaluate(int node, const ValueOf &valueOf) const
    {
        const Node &n = m_nodes[static_cast<size_t>(node)];
        switch (n.kind) {
        case Node::Term:
            return n.term.matches(valueOf(n.term.field));
        case Node::And:
            return evaluate(n.left, valueOf) && evaluate(n.right, valueOf);
        case Node::Or:
            return evaluate(n.left, valueOf) || evaluate(n.right, valueOf);
        }
        return false;
    }

    friend class CriterionParser;
    std::vector<Node> m_nodes;
    int m_root = -1;
};

} // namespace talv::internal

#pragma once

#include "Recordset.h"

#include <QHash>
#include <QVariant>

#include <optional>
#include <vector>

namespace talv::internal {

// The hash index behind a field's "Optimize" property. Rows with equal keys are chained in
// ascending physical order, so "the first match at or after row r" costs one hash probe plus
// a walk over the duplicates; a unique key such as ID costs O(1). Nulls are not indexed.
class RecordsetIndex
{
public:
    explicit RecordsetIndex(FieldType type) : m_type(type) {}

    void build(const QList<QVariant> &column, const std::vector<bool> &deleted);
    void insert(qsizetype row, const QVariant &value);
    void remove(qsizetype row, const QVariant &value);

    // The first row >= `from` whose value equals `literal` (already converted for the field),
    // or -1. std::nullopt when the literal has no key (the caller scans instead).
    std::optional<qsizetype> findFrom(const QVariant &literal, qsizetype from) const;

private:
    struct Chain {
        qsizetype first = -1;
        qsizetype last = -1;
    };
    // Whole numbers, doubles, booleans and dates hash as 64-bit keys; text as case-folded text.
    std::optional<qint64> numericKey(const QVariant &value) const;
    Chain *chainFor(const QVariant &value, bool create);
    const Chain *chainFor(const QVariant &value) const;
    qsizetype next(qsizetype row) const { return m_next[static_cast<size_t>(row)]; }
    qsizetype &next(qsizetype row) { return m_next[static_cast<size_t>(row)]; }

    FieldType m_type;
    QHash<qint64, Chain> m_numeric;
    QHash<QString, Chain> m_text;
    std::vector<qsizetype> m_next;  // per physical row: the next row with the same key, or -1
};

} // namespace talv::internal

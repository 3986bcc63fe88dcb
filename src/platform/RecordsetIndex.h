#pragma once

#include "Recordset.h"
#include "RecordsetKeyTable.h"

#include <QHash>
#include <QVariant>

#include <optional>
#include <vector>

namespace talv::internal {

class Column;

// The hash index behind a field's "Optimize" property. Rows with equal keys form a ring in
// ascending physical order (each row points to the next, the last back to the first), and the
// table holds the last row, so "the first match at or after row r" costs one probe plus a walk
// over the duplicates, and appending a row with a known key costs O(1). Nulls are not indexed.
class RecordsetIndex
{
public:
    explicit RecordsetIndex(FieldType type) : m_type(type) {}

    void build(const Column &column, const std::vector<bool> &deleted);
    void insert(qsizetype row, const QVariant &value);
    void remove(qsizetype row, const QVariant &value);

    // The first row >= `from` whose value equals `literal` (already converted for the field),
    // or -1. std::nullopt when the literal has no key (the caller scans instead).
    std::optional<qsizetype> findFrom(const QVariant &literal, qsizetype from) const;

private:
    // Whole numbers, doubles, booleans and dates hash as 64-bit keys; text as case-folded text.
    std::optional<qint64> numericKey(const QVariant &value) const;
    qsizetype *lastFor(const QVariant &value, bool create);
    const qsizetype *lastFor(const QVariant &value) const;
    void link(qsizetype row, qsizetype &last);
    void forget(const QVariant &value);
    qsizetype next(qsizetype row) const { return m_next[static_cast<size_t>(row)]; }
    qsizetype &next(qsizetype row) { return m_next[static_cast<size_t>(row)]; }

    FieldType m_type;
    KeyTable m_numeric;
    QHash<QString, qsizetype> m_text;
    std::vector<qsizetype> m_next; // per physical row: the next row of its ring
};

} // namespace talv::internal

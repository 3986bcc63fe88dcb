#include "RecordsetIndex.h"

#include "RecordsetColumn.h"
#include "RecordsetValue.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace talv::internal {

std::optional<qint64> RecordsetIndex::numericKey(const QVariant &value) const
{
    switch (m_type) {
    case FieldType::Integer:
    case FieldType::BigInt:
        // The stored types first: building the index of a million-row list reads every value.
        if (value.typeId() == QMetaType::Int)
            return *static_cast<const int *>(value.constData());
        if (value.typeId() == QMetaType::LongLong)
            return *static_cast<const qlonglong *>(value.constData());
        if (value.typeId() == QMetaType::Double) {
            // A literal such as 5.0 finds 5; 5.5 can match no whole number.
            const double d = value.toDouble();
            if (d != std::trunc(d) || std::fabs(d) >= 9.2e18)
                return std::nullopt;
            return static_cast<qint64>(d);
        }
        return value.toLongLong();
    case FieldType::Double: {
        double d = value.toDouble();
        if (std::isnan(d))
            return std::nullopt;
        if (d == 0.0)
            d = 0.0; // -0.0 and 0.0 compare equal, so they share a key
        return std::bit_cast<qint64>(d);
    }
    case FieldType::Boolean:
        return value.toBool() ? 1 : 0;
    case FieldType::Date:
        return dateKey(value);
    case FieldType::VarChar:
        break;
    }
    return std::nullopt;
}

// ---------------------------------------------------------------- RecordsetIndex

qsizetype *RecordsetIndex::lastFor(const QVariant &value, bool create)
{
    if (m_type == FieldType::VarChar) {
        const QString key = value.toString().toCaseFolded();
        auto it = m_text.find(key);
        if (it == m_text.end()) {
            if (!create)
                return nullptr;
            it = m_text.insert(key, -1);
        }
        return &it.value();
    }
    const auto key = numericKey(value);
    if (!key)
        return nullptr;
    return create ? &m_numeric.findOrInsert(*key) : m_numeric.find(*key);
}

const qsizetype *RecordsetIndex::lastFor(const QVariant &value) const
{
    if (m_type == FieldType::VarChar) {
        auto it = m_text.constFind(value.toString().toCaseFolded());
        return it == m_text.cend() ? nullptr : &it.value();
    }
    const auto key = numericKey(value);
    return key ? m_numeric.find(*key) : nullptr;
}

void RecordsetIndex::forget(const QVariant &value)
{
    if (m_type == FieldType::VarChar)
        m_text.remove(value.toString().toCaseFolded());
    else if (const auto key = numericKey(value))
        m_numeric.erase(*key);
}

void RecordsetIndex::link(qsizetype row, qsizetype &last)
{
    if (last < 0) {
        next(row) = row;
        last = row;
        return;
    }
    const qsizetype first = next(last);
    if (row > last) { // rows are mostly appended: link at the tail
        next(row) = first;
        next(last) = row;
        last = row;
    } else if (row < first) {
        next(row) = first;
        next(last) = row;
    } else {
        qsizetype at = first;
        while (next(at) < row)
            at = next(at);
        next(row) = next(at);
        next(at) = row;
    }
}

void RecordsetIndex::build(const Column &column, const std::vector<bool> &deleted)
{
    m_numeric.clear();
    m_text.clear();
    const qsizetype rows = column.size();
    m_next.assign(static_cast<size_t>(rows), -1);
    auto skip = [&](qsizetype row) {
        return (!deleted.empty() && deleted[static_cast<size_t>(row)]) || column.isNull(row);
    };
    // Whole numbers straight from their array: building the index of a million-row list is
    // part of every merge into it.
    if (m_type == FieldType::Integer || m_type == FieldType::BigInt) {
        const bool checkEach = !deleted.empty() || column.hasNulls();
        auto keyAt = [&](qsizetype row) -> qint64 { return column.wholeAt(row); };
        qint64 lowest = std::numeric_limits<qint64>::max(), highest = std::numeric_limits<qint64>::min();
        for (qsizetype row = 0; row < rows; ++row) {
            if (checkEach && skip(row))
                continue;
            lowest = std::min(lowest, keyAt(row));
            highest = std::max(highest, keyAt(row));
        }
        m_numeric.prepare(rows, lowest, highest);
        for (qsizetype row = 0; row < rows; ++row)
            if (!checkEach || !skip(row))
                link(row, m_numeric.findOrInsert(keyAt(row)));
        return;
    }
    if (m_type == FieldType::VarChar)
        m_text.reserve(rows);
    for (qsizetype row = 0; row < rows; ++row)
        if (!skip(row))
            insert(row, column.value(row));
}

void RecordsetIndex::insert(qsizetype row, const QVariant &value)
{
    if (value.isNull())
        return;
    if (static_cast<size_t>(row) >= m_next.size())
        m_next.resize(static_cast<size_t>(row) + 1, -1);
    if (qsizetype *last = lastFor(value, true))
        link(row, *last);
}

void RecordsetIndex::remove(qsizetype row, const QVariant &value)
{
    if (value.isNull())
        return;
    qsizetype *last = lastFor(value, false);
    if (!last)
        return;
    if (*last == row && next(row) == row) {
        forget(value);
        return;
    }
    qsizetype at = *last; // the ring's walk starts behind its first row
    while (next(at) != row) {
        at = next(at);
        if (at == *last)
            return; // the row is not in this ring
    }
    next(at) = next(row);
    if (*last == row)
        *last = at;
    next(row) = -1;
}

std::optional<qsizetype> RecordsetIndex::findFrom(const QVariant &literal, qsizetype from) const
{
    if (m_type != FieldType::VarChar && !numericKey(literal))
        return (m_type == FieldType::Double) ? std::nullopt : std::optional<qsizetype>(-1);
    const qsizetype *last = lastFor(literal);
    if (!last || *last < from)
        return -1;
    qsizetype at = next(*last);
    while (at < from)
        at = next(at);
    return at;
}

} // namespace talv::internal

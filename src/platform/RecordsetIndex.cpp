#include "RecordsetIndex.h"

#include "RecordsetValue.h"

#include <bit>
#include <cmath>

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
            d = 0.0;  // -0.0 and 0.0 compare equal, so they share a key
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

RecordsetIndex::Chain *RecordsetIndex::chainFor(const QVariant &value, bool create)
{
    if (m_type == FieldType::VarChar) {
        const QString key = value.toString().toCaseFolded();
        if (create)
            return &m_text[key];  // one hash probe, inserting an empty chain when new
        auto it = m_text.find(key);
        return it == m_text.end() ? nullptr : &it.value();
    }
    const auto key = numericKey(value);
    if (!key)
        return nullptr;
    if (create)
        return &m_numeric[*key];
    auto it = m_numeric.find(*key);
    return it == m_numeric.end() ? nullptr : &it.value();
}

const RecordsetIndex::Chain *RecordsetIndex::chainFor(const QVariant &value) const
{
    if (m_type == FieldType::VarChar) {
        auto it = m_text.constFind(value.toString().toCaseFolded());
        return it == m_text.cend() ? nullptr : &it.value();
    }
    const auto key = numericKey(value);
    if (!key)
        return nullptr;
    auto it = m_numeric.constFind(*key);
    return it == m_numeric.cend() ? nullptr : &it.value();
}

void RecordsetIndex::build(const QList<QVariant> &column, const std::vector<bool> &deleted)
{
    m_numeric.clear();
    m_text.clear();
    m_next.assign(static_cast<size_t>(column.size()), -1);
    if (m_type == FieldType::VarChar)
        m_text.reserve(column.size());
    else
        m_numeric.reserve(column.size());
    for (qsizetype row = 0; row < column.size(); ++row) {
        if (!deleted.empty() && deleted[static_cast<size_t>(row)])
            continue;
        insert(row, column[row]);
    }
}

void RecordsetIndex::insert(qsizetype row, const QVariant &value)
{
    if (value.isNull())
        return;
    if (static_cast<size_t>(row) >= m_next.size())
        m_next.resize(static_cast<size_t>(row) + 1, -1);
    Chain *chain = chainFor(value, true);
    if (!chain)
        return;
    next(row) = -1;
    if (chain->first < 0) {
        *chain = {row, row};
    } else if (chain->last < row) {  // rows are mostly appended: link at the tail
        next(chain->last) = row;
        chain->last = row;
    } else if (row < chain->first) {
        next(row) = chain->first;
        chain->first = row;
    } else {
        qsizetype at = chain->first;
        while (next(at) >= 0 && next(at) < row)
            at = next(at);
        next(row) = next(at);
        next(at) = row;
    }
}

void RecordsetIndex::remove(qsizetype row, const QVariant &value)
{
    if (value.isNull())
        return;
    Chain *chain = chainFor(value, false);
    if (!chain)
        return;
    if (chain->first == row) {
        chain->first = next(row);
        if (chain->first < 0) {
            if (m_type == FieldType::VarChar)
                m_text.remove(value.toString().toCaseFolded());
            else
                m_numeric.remove(*numericKey(value));
            return;
        }
    } else {
        qsizetype at = chain->first;
        while (at >= 0 && next(at) != row)
            at = next(at);
        if (at < 0)
            return;
        next(at) = next(row);
        if (chain->last == row)
            chain->last = at;
    }
    next(row) = -1;
}

std::optional<qsizetype> RecordsetIndex::findFrom(const QVariant &literal, qsizetype from) const
{
    if (m_type != FieldType::VarChar && !numericKey(literal))
        return (m_type == FieldType::Double) ? std::nullopt : std::optional<qsizetype>(-1);
    const Chain *chain = chainFor(literal);
    if (!chain)
        return -1;
    if (chain->last < from)
        return -1;
    qsizetype at = chain->first;
    while (at >= 0 && at < from)
        at = next(at);
    return at;
}

} // namespace talv::internal

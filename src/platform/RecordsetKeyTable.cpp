#include "RecordsetKeyTable.h"

#include <algorithm>
#include <limits>

namespace talv::internal {

namespace {
// A dense array may hold up to this many slots per key, plus a little, before hashing pays off.
constexpr quint64 kSlotsPerKey = 3;
constexpr quint64 kDenseSlack = 4096;

qint64 plus(qint64 key, qint64 room)
{
    return key > std::numeric_limits<qint64>::max() - room ? std::numeric_limits<qint64>::max() : key + room;
}

qint64 minus(qint64 key, qint64 room)
{
    return key < std::numeric_limits<qint64>::min() + room ? std::numeric_limits<qint64>::min() : key - room;
}
} // namespace

bool KeyTable::fitsDense(qint64 lowest, qint64 highest, qsizetype count) const
{
    const quint64 span = static_cast<quint64>(highest) - static_cast<quint64>(lowest);
    return highest >= lowest && span < static_cast<quint64>(count) * kSlotsPerKey + kDenseSlack;
}

void KeyTable::prepare(qsizetype count, qint64 lowest, qint64 highest)
{
    clear();
    if (count > 0 && fitsDense(lowest, highest, count)) {
        // Room above the highest key for ids appended later.
        makeDense(lowest, plus(highest, count / 8 + 16));
    } else if (count > 0) {
        m_dense = false;
        makeHashed(count);
    }
}

void KeyTable::clear()
{
    m_dense = true;
    m_base = 0;
    m_rows.clear();
    m_slots.clear();
    m_shift = 64;
    m_count = 0;
}

void KeyTable::makeDense(qint64 lowest, qint64 highest)
{
    std::vector<qsizetype> rows(static_cast<size_t>(static_cast<quint64>(highest) - static_cast<quint64>(lowest)) + 1,
                                -1);
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i] >= 0)
            rows[static_cast<size_t>(m_base - lowest) + i] = m_rows[i];
    m_rows = std::move(rows);
    m_base = lowest;
}

size_t KeyTable::home(qint64 key) const
{
    // Fibonacci hashing: keys in a regular pattern land far apart.
    return static_cast<size_t>((static_cast<quint64>(key) * 0x9E3779B97F4A7C15ull) >> m_shift);
}

void KeyTable::makeHashed(qsizetype capacityFor)
{
    size_t capacity = 16;
    int shift = 60;
    while (capacity * 7 < static_cast<size_t>(capacityFor) * 10) {
        capacity *= 2;
        --shift;
    }
    std::vector<Slot> old = std::move(m_slots);
    m_slots.assign(capacity, Slot{0, -1});
    m_shift = shift;
    m_count = 0;
    for (const Slot &slot : old)
        if (slot.row >= 0)
            hashedFindOrInsert(slot.key) = slot.row;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i] >= 0)
            hashedFindOrInsert(m_base + static_cast<qint64>(i)) = m_rows[i];
    m_rows = {};
}

qsizetype *KeyTable::find(qint64 key)
{
    return const_cast<qsizetype *>(static_cast<const KeyTable *>(this)->find(key));
}

const qsizetype *KeyTable::find(qint64 key) const
{
    if (m_dense) {
        if (m_rows.empty() || key < m_base || static_cast<quint64>(key) - static_cast<quint64>(m_base) >= m_rows.size())
            return nullptr;
        const qsizetype &row = m_rows[static_cast<size_t>(key - m_base)];
        return row >= 0 ? &row : nullptr;
    }
    const size_t mask = m_slots.size() - 1;
    for (size_t i = home(key);; i = (i + 1) & mask) {
        const Slot &slot = m_slots[i];
        if (slot.row < 0)
            return nullptr;
        if (slot.key == key)
            return &slot.row;
    }
}

qsizetype &KeyTable::findOrInsert(qint64 key)
{
    if (m_dense) {
        if (m_rows.empty()) {
            makeDense(key, plus(key, 15));
        } else if (key < m_base || static_cast<quint64>(key) - static_cast<quint64>(m_base) >= m_rows.size()) {
            const qint64 top = m_base + static_cast<qint64>(m_rows.size()) - 1;
            const qint64 lowest = std::min(key, m_base), highest = std::max(key, top);
            if (fitsDense(lowest, highest, m_count + 1)) {
                // Grow by half again, so that ids appended one by one cost amortized O(1).
                const qint64 room = static_cast<qint64>(m_rows.size() / 2);
                if (key < m_base)
                    makeDense(minus(lowest, room), top);
                else
                    makeDense(m_base, plus(highest, room));
            } else {
                m_dense = false;
                makeHashed(std::max<qsizetype>(m_count * 2, 16));
                return hashedFindOrInsert(key);
            }
        }
        qsizetype &row = m_rows[static_cast<size_t>(key - m_base)];
        if (row < 0)
            ++m_count;
        return row;
    }
    if (static_cast<size_t>(m_count + 1) * 10 > m_slots.size() * 7)
        makeHashed(static_cast<qsizetype>(m_slots.size()));
    return hashedFindOrInsert(key);
}

qsizetype &KeyTable::hashedFindOrInsert(qint64 key)
{
    const size_t mask = m_slots.size() - 1;
    size_t i = home(key);
    for (; m_slots[i].row >= 0; i = (i + 1) & mask)
        if (m_slots[i].key == key)
            return m_slots[i].row;
    ++m_count;
    m_slots[i].key = key;
    return m_slots[i].row;
}

void KeyTable::erase(qint64 key)
{
    if (m_dense) {
        if (qsizetype *row = find(key)) {
            *row = -1;
            --m_count;
        }
        return;
    }
    const size_t mask = m_slots.size() - 1;
    size_t hole = home(key);
    for (;; hole = (hole + 1) & mask) {
        if (m_slots[hole].row < 0)
            return;
        if (m_slots[hole].key == key)
            break;
    }
    --m_count;
    // Backward shift: later entries of the same run move up, so no search stops early at the hole.
    for (size_t j = (hole + 1) & mask; m_slots[j].row >= 0; j = (j + 1) & mask) {
        const size_t want = home(m_slots[j].key);
        const bool stays = hole < j ? (want > hole && want <= j) : (want > hole || want <= j);
        if (!stays) {
            m_slots[hole] = m_slots[j];
            hole = j;
        }
    }
    m_slots[hole].row = -1;
}

} // namespace talv::internal

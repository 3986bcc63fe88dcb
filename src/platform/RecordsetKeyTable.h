#pragma once

#include <QtGlobal>

#include <vector>

namespace talv::internal {

// Whole-number keys to one row number each (-1: none), for the index behind "Optimize".
// Keys that lie close together, as database ids do, are held in one array indexed by key:
// no hashing and, for ids in row order, no scattered memory reads. Keys spread too thinly for
// that move into an open-addressed hash table.
class KeyTable
{
public:
    // Prepares for `count` keys between `lowest` and `highest`.
    void prepare(qsizetype count, qint64 lowest, qint64 highest);
    // The row held for `key`, or null.
    qsizetype *find(qint64 key);
    const qsizetype *find(qint64 key) const;
    // The row held for `key`; a new key holds -1, and the caller must store a row in it.
    qsizetype &findOrInsert(qint64 key);
    void erase(qint64 key);
    void clear();

private:
    struct Slot {
        qint64 key;
        qsizetype row; // -1: the slot is free
    };
    bool fitsDense(qint64 lowest, qint64 highest, qsizetype count) const;
    void makeDense(qint64 lowest, qint64 highest);
    void makeHashed(qsizetype capacityFor);
    size_t home(qint64 key) const;
    qsizetype &hashedFindOrInsert(qint64 key);

    bool m_dense = true;
    qint64 m_base = 0;             // the key of m_rows[0]
    std::vector<qsizetype> m_rows; // dense: per key from m_base
    std::vector<Slot> m_slots;     // hashed: linear probing, power-of-two size
    int m_shift = 64;
    qsizetype m_count = 0;
};

} // namespace talv::internal

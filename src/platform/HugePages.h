#pragma once

#include <QtGlobal>

#include <algorithm>

namespace talv::internal {

// Asks the system to back a large buffer with huge pages where it does so on request (Linux's
// transparent huge pages in "madvise" mode). A million-row result writes some 60 MB of fresh
// memory; in 4 KB pages each first touch is a fault, and on a virtual machine a fault costs
// microseconds, which made the faults a fifth of a search. In 2 MB pages they are a few dozen.
// Only the memory's advice changes, never its contents; where the system has no such advice,
// nothing happens.
void adviseHugePages(const void *data, qsizetype bytes);

// Below this a buffer grows as its container grows it.
inline constexpr qsizetype kLargeBufferBytes = qsizetype(1) << 20;

// Up to this a large buffer grows eightfold, beyond it twofold.
inline constexpr qsizetype kEightfoldBytes = qsizetype(64) << 20;

// Grows `list` (a QList or QString) to take `more` values: a large one moves to a bigger block that
// is advised before anything is written to it, copy included. Only the pages written take memory,
// so spare room costs address space alone: growing eightfold copies a million-row column once or
// twice, where doubling copied about as much as the column holds; past kEightfoldBytes doubling
// keeps the address space claimed within twice the data.
template <typename List> void growAdvised(List &list, qsizetype more)
{
    const qsizetype needed = list.size() + more;
    constexpr auto width = qsizetype(sizeof(typename List::value_type));
    if (needed * width < kLargeBufferBytes)
        return;
    const qsizetype factor = list.capacity() * width < kEightfoldBytes ? 8 : 2;
    List bigger;
    bigger.reserve(std::max(needed, list.capacity() * factor));
    adviseHugePages(bigger.constData(), bigger.capacity() * width);
    bigger.append(list);
    list.swap(bigger);
}

// Before appending `more` values to `list`: inline, as every value a reader hands over passes it.
template <typename List> inline void makeRoom(List &list, qsizetype more = 1)
{
    if (list.size() + more > list.capacity()) [[unlikely]]
        growAdvised(list, more);
}

} // namespace talv::internal

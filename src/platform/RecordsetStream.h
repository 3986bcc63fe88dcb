#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

namespace talv::internal {

// Layout of a persisted recordset (all numbers little-endian):
//   "TALVRSET" u16 version u16 reserved u32 fieldCount u64 rowCount
//   per field: u32 nameLength (UTF-16 units) name i32 type i32 definedSize i32 attributes
//   per field, all its rows at once:
//     Integer, BigInt, Double: u8 hasNulls, [rowCount u8 null flags], rowCount i32 / i64 / f64 bits
//     Boolean: rowCount u8 (0 false, 1 true, 2 null)
//     Date: per row u8 tag (see ValueTag: Null, Date or DateTime) and the value
//     VarChar: u8 form, u8 wide, u64 charCount, the characters (wide: UTF-16 units, else
//       Latin-1 bytes), then by form
//       0 coded: u16 entries, per entry i64 start i32 length, rowCount u8 codes (255 for null)
//       1 packed: rowCount i32 lengths (-1 for null), the texts back to back in row order
//   u64 xxHash64 of everything before it
// Columns as arrays let a million-row list be written and read back with a few block copies.
enum class ValueTag : quint8 { Null = 0, Date = 5, DateTime = 6 };

constexpr quint16 kStreamVersion = 2;
constexpr qsizetype kStreamHeaderSize = 8 + 2 + 2 + 4 + 8;
constexpr qsizetype kStreamTrailerSize = 8;

// The public xxHash64 algorithm (seed 0): several times faster than CRC-32 by table, which a
// stream of many megabytes written on every merge into a working list needs.
quint64 xxhash64(QByteArrayView data);

// Rewrites the trailer of `stream` to match its body (for tools that alter streams on purpose).
void resealStream(QByteArray &stream);

} // namespace talv::internal

#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace talv::internal {

// Layout of a persisted recordset (all numbers little-endian):
//   "TALVRSET" u16 version u16 reserved u32 fieldCount u64 rowCount
//   per field: u32 nameLength (UTF-16 units) name i32 type i32 definedSize i32 attributes
//   per row, per field: u8 tag, then the value (see ValueTag)
//   u32 CRC-32 of everything before it
enum class ValueTag : quint8 { Null = 0, Int32 = 1, Int64 = 2, Double = 3, Bool = 4, Date = 5, DateTime = 6, Text = 7 };

constexpr quint16 kStreamVersion = 1;
constexpr qsizetype kStreamHeaderSize = 8 + 2 + 2 + 4 + 8;
constexpr qsizetype kStreamTrailerSize = 4;

quint32 crc32(QByteArrayView data);

} // namespace talv::internal

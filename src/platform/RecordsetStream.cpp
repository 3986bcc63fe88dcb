#include "Recordset.h"

#include "RecordsetColumn.h"
#include "RecordsetIndex.h"
#include "RecordsetStream.h"

#include <QDate>
#include <QDateTime>
#include <QTimeZone>
#include <QtEndian>

#include <cstring>
#include <optional>
#include <vector>

namespace talv {

namespace internal {

namespace {
constexpr quint64 P1 = 0x9E3779B185EBCA87ull;
constexpr quint64 P2 = 0xC2B2AE3D27D4EB4Full;
constexpr quint64 P3 = 0x165667B19E3779F9ull;
constexpr quint64 P4 = 0x85EBCA77C2B2AE63ull;
constexpr quint64 P5 = 0x27D4EB2F165667C5ull;

constexpr quint64 rotl(quint64 x, int r)
{
    return (x << r) | (x >> (64 - r));
}
constexpr quint64 xxRound(quint64 acc, quint64 input)
{
    return rotl(acc + input * P2, 31) * P1;
}
constexpr quint64 mergeRound(quint64 acc, quint64 v)
{
    return (acc ^ xxRound(0, v)) * P1 + P4;
}
} // namespace

quint64 xxhash64(QByteArrayView data)
{
    const auto *p = reinterpret_cast<const uchar *>(data.data());
    const auto *const end = p + data.size();
    quint64 h;
    if (data.size() >= 32) {
        quint64 v1 = P1 + P2, v2 = P2, v3 = 0, v4 = 0 - P1;
        for (; end - p >= 32; p += 32) {
            v1 = xxRound(v1, qFromLittleEndian<quint64>(p));
            v2 = xxRound(v2, qFromLittleEndian<quint64>(p + 8));
            v3 = xxRound(v3, qFromLittleEndian<quint64>(p + 16));
            v4 = xxRound(v4, qFromLittleEndian<quint64>(p + 24));
        }
        h = rotl(v1, 1) + rotl(v2, 7) + rotl(v3, 12) + rotl(v4, 18);
        h = mergeRound(mergeRound(mergeRound(mergeRound(h, v1), v2), v3), v4);
    } else {
        h = P5;
    }
    h += static_cast<quint64>(data.size());
    for (; end - p >= 8; p += 8)
        h = rotl(h ^ xxRound(0, qFromLittleEndian<quint64>(p)), 27) * P1 + P4;
    if (end - p >= 4) {
        h = rotl(h ^ (quint64(qFromLittleEndian<quint32>(p)) * P1), 23) * P2 + P3;
        p += 4;
    }
    for (; p < end; ++p)
        h = rotl(h ^ (*p * P5), 11) * P1;
    h ^= h >> 33;
    h *= P2;
    h ^= h >> 29;
    h *= P3;
    h ^= h >> 32;
    return h;
}

void resealStream(QByteArray &stream)
{
    if (stream.size() < kStreamTrailerSize)
        return;
    const qsizetype body = stream.size() - kStreamTrailerSize;
    qToLittleEndian(xxhash64(QByteArrayView(stream.constData(), body)), stream.data() + body);
}

namespace {

constexpr char kMagic[8] = {'T', 'A', 'L', 'V', 'R', 'S', 'E', 'T'};

enum class TextForm : quint8 { Coded = 0, Packed = 1 };

[[noreturn]] void corrupt(const QString &problem)
{
    throw Error(Error::CorruptStream, QStringLiteral("The persisted recordset cannot be read: %1.").arg(problem));
}

class Writer
{
public:
    explicit Writer(qsizetype expected) { m_out.reserve(expected); }

    template <typename T> void number(T value)
    {
        const T le = qToLittleEndian(value);
        m_out.append(reinterpret_cast<const char *>(&le), sizeof le);
    }
    template <typename T> void array(const T *values, qsizetype count)
    {
        if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN || sizeof(T) == 1)
            m_out.append(reinterpret_cast<const char *>(values), count * qsizetype(sizeof(T)));
        else
            for (qsizetype i = 0; i < count; ++i)
                number(values[i]);
    }
    void text(const QString &s)
    {
        number<quint32>(static_cast<quint32>(s.size()));
        array(s.utf16(), s.size());
    }
    void raw(const char *data, qsizetype size) { m_out.append(data, size); }
    QByteArray finish()
    {
        number<quint64>(xxhash64(m_out));
        return std::move(m_out);
    }

private:
    QByteArray m_out;
};

// Bounds-checked reads over the stream; every count is checked against the bytes left before
// anything is allocated for it.
class Reader
{
public:
    explicit Reader(QByteArrayView data) : m_data(data) {}

    qsizetype left() const { return m_data.size() - m_pos; }
    void need(quint64 count, qsizetype unit) const
    {
        if (count > static_cast<quint64>(left()) / static_cast<quint64>(unit))
            corrupt(QStringLiteral("it ends too early"));
    }
    template <typename T> T number()
    {
        need(1, sizeof(T));
        T value;
        std::memcpy(&value, m_data.data() + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return qFromLittleEndian(value);
    }
    template <typename T> void array(T *out, qsizetype count)
    {
        need(static_cast<quint64>(count), sizeof(T));
        if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN || sizeof(T) == 1) {
            std::memcpy(out, m_data.data() + m_pos, static_cast<size_t>(count) * sizeof(T));
            m_pos += count * qsizetype(sizeof(T));
        } else {
            for (qsizetype i = 0; i < count; ++i)
                out[i] = number<T>();
        }
    }
    // Read sets are often appended to next (a working list after a merge): the room reserved
    // spares copying every array at the first append.
    static qsizetype withRoom(qsizetype count) { return count + count / 8 + 16; }

    template <typename T> QList<T> list(qsizetype count)
    {
        need(static_cast<quint64>(count), sizeof(T));
        QList<T> values;
        values.reserve(withRoom(count));
        values.resize(count);
        array(values.data(), count);
        return values;
    }
    QString text()
    {
        const quint32 units = number<quint32>();
        need(units, 2);
        QString s(static_cast<qsizetype>(units), Qt::Uninitialized);
        array(reinterpret_cast<char16_t *>(s.data()), s.size());
        return s;
    }
    bool bytesEqual(const char *expected, qsizetype size)
    {
        need(static_cast<quint64>(size), 1);
        const bool same = std::memcmp(m_data.data() + m_pos, expected, static_cast<size_t>(size)) == 0;
        m_pos += size;
        return same;
    }

private:
    QByteArrayView m_data;
    qsizetype m_pos = 0;
};

void writeDate(Writer &w, const QVariant &v)
{
    if (v.isNull()) {
        w.number<quint8>(quint8(ValueTag::Null));
    } else if (v.typeId() == QMetaType::QDate) {
        w.number<quint8>(quint8(ValueTag::Date));
        w.number<qint64>(v.toDate().toJulianDay());
    } else {
        // Wall-clock time plus how it relates to UTC, so local times read back as written.
        QDateTime dt = v.toDateTime();
        quint8 kind = 0;
        qint32 offset = 0;
        if (dt.timeSpec() == Qt::OffsetFromUTC) {
            kind = 2;
            offset = dt.offsetFromUtc();
        } else if (dt.timeSpec() != Qt::LocalTime) {
            dt = dt.toUTC();
            kind = 1;
        }
        w.number<quint8>(quint8(ValueTag::DateTime));
        w.number<qint64>(dt.date().toJulianDay());
        w.number<qint32>(dt.time().msecsSinceStartOfDay());
        w.number<quint8>(kind);
        w.number<qint32>(offset);
    }
}

QVariant readDate(Reader &r)
{
    switch (static_cast<ValueTag>(r.number<quint8>())) {
    case ValueTag::Null:
        return {};
    case ValueTag::Date: {
        const QDate d = QDate::fromJulianDay(r.number<qint64>());
        if (!d.isValid())
            corrupt(QStringLiteral("a date is out of range"));
        return d;
    }
    case ValueTag::DateTime: {
        const QDate d = QDate::fromJulianDay(r.number<qint64>());
        const qint32 ms = r.number<qint32>();
        const quint8 kind = r.number<quint8>();
        const qint32 offset = r.number<qint32>();
        if (!d.isValid() || ms < 0 || ms >= 86'400'000 || kind > 2 || offset < -14 * 3600 || offset > 14 * 3600)
            corrupt(QStringLiteral("a date and time is out of range"));
        const QTime t = QTime::fromMSecsSinceStartOfDay(ms);
        const QDateTime dt =
            kind == 0 ? QDateTime(d, t) : QDateTime(d, t, kind == 1 ? Qt::UTC : Qt::OffsetFromUTC, offset);
        if (!dt.isValid())
            corrupt(QStringLiteral("a date and time is out of range"));
        return dt;
    }
    }
    corrupt(QStringLiteral("a date has an unknown kind"));
}

} // namespace

// Moves a column's arrays in and out of a stream.
class ColumnStreamAccess
{
public:
    static qsizetype sizeOf(const Column &c)
    {
        const qsizetype n = c.m_size;
        switch (c.m_type) {
        case FieldType::Integer:
            return 1 + (c.m_nullCount > 0 ? n : 0) + 4 * n;
        case FieldType::BigInt:
        case FieldType::Double:
            return 1 + (c.m_nullCount > 0 ? n : 0) + 8 * n;
        case FieldType::Boolean:
            return n;
        case FieldType::Date:
            return 22 * n;
        case FieldType::VarChar:
            return 2 + 8 + (c.m_wide ? 2 : 1) * c.charCount() + (c.m_coded ? 2 + 12 * c.m_dict.size() + n : 4 * n);
        }
        return 0;
    }

    static void write(Writer &w, const Column &c)
    {
        const qsizetype n = c.m_size;
        auto nulls = [&] {
            w.number<quint8>(c.m_nullCount > 0 ? 1 : 0);
            if (c.m_nullCount > 0)
                w.array(c.m_nulls.constData(), n);
        };
        switch (c.m_type) {
        case FieldType::Integer:
            nulls();
            w.array(c.m_int32.constData(), n);
            return;
        case FieldType::BigInt:
            nulls();
            if (c.m_wideWholes) {
                w.array(c.m_int64.constData(), n);
            } else {
                const QList<qint64> wide(c.m_int32.cbegin(), c.m_int32.cend());
                w.array(wide.constData(), n);
            }
            return;
        case FieldType::Double:
            nulls();
            w.array(reinterpret_cast<const quint64 *>(c.m_double.constData()), n);
            return;
        case FieldType::Boolean:
            w.array(c.m_bool.constData(), n);
            return;
        case FieldType::Date:
            for (const QVariant &v : c.m_dates)
                writeDate(w, v);
            return;
        case FieldType::VarChar: {
            // Save packs every other text column first.
            const TextForm form = c.m_coded ? TextForm::Coded : TextForm::Packed;
            w.number<quint8>(quint8(form));
            w.number<quint8>(c.m_wide ? 1 : 0);
            w.number<quint64>(static_cast<quint64>(c.charCount()));
            if (c.m_wide)
                w.array(c.m_chars.utf16(), c.m_chars.size());
            else
                w.array(reinterpret_cast<const quint8 *>(c.m_narrow.constData()), c.m_narrow.size());
            if (form == TextForm::Coded) {
                w.number<quint16>(quint16(c.m_dict.size()));
                for (const Column::Span &span : c.m_dict) {
                    w.number<qint64>(span.start);
                    w.number<qint32>(span.length);
                }
                w.array(c.m_codes.constData(), n);
                return;
            }
            const QList<qint32> lengths = c.textLengths();
            w.array(lengths.constData(), n);
            return;
        }
        }
    }

    static Column read(Reader &r, FieldType type, qsizetype n)
    {
        Column c(type);
        c.m_size = n;
        auto nulls = [&] {
            const quint8 has = r.number<quint8>();
            if (has > 1)
                corrupt(QStringLiteral("a column's null marker is invalid"));
            if (has == 0)
                return;
            c.m_nulls = r.list<quint8>(n);
            for (const quint8 flag : std::as_const(c.m_nulls)) {
                if (flag > 1)
                    corrupt(QStringLiteral("a null flag is invalid"));
                c.m_nullCount += flag;
            }
            c.m_hasNullFlags = c.m_nullCount > 0;
            if (!c.m_hasNullFlags)
                c.m_nulls.clear();
        };
        switch (type) {
        case FieldType::Integer:
            nulls();
            c.m_int32 = r.list<qint32>(n);
            break;
        case FieldType::BigInt:
            nulls();
            c.m_int64 = r.list<qint64>(n);
            c.m_wideWholes = true;
            break;
        case FieldType::Double: {
            nulls();
            const QList<quint64> bits = r.list<quint64>(n);
            c.m_double.reserve(Reader::withRoom(n));
            c.m_double.resize(n);
            std::memcpy(c.m_double.data(), bits.constData(), static_cast<size_t>(n) * sizeof(double));
            break;
        }
        case FieldType::Boolean:
            c.m_bool = r.list<quint8>(n);
            for (const quint8 b : std::as_const(c.m_bool))
                if (b > 2)
                    corrupt(QStringLiteral("a boolean is neither true, false nor null"));
            break;
        case FieldType::Date:
            r.need(static_cast<quint64>(n), 1);
            c.m_dates.reserve(n);
            for (qsizetype i = 0; i < n; ++i)
                c.m_dates.append(readDate(r));
            break;
        case FieldType::VarChar:
            readTexts(r, c, n);
            break;
        }
        return c;
    }

private:
    static void readTexts(Reader &r, Column &c, qsizetype n)
    {
        const auto form = static_cast<TextForm>(r.number<quint8>());
        if (form != TextForm::Coded && form != TextForm::Packed)
            corrupt(QStringLiteral("a text column has an unknown form"));
        const quint8 wide = r.number<quint8>();
        if (wide > 1)
            corrupt(QStringLiteral("a text column's character width is invalid"));
        c.m_wide = wide == 1;
        const quint64 chars = r.number<quint64>();
        r.need(chars, c.m_wide ? 2 : 1);
        const auto total = static_cast<qsizetype>(chars);
        if (c.m_wide) {
            c.m_chars.reserve(Reader::withRoom(total));
            c.m_chars.resize(total);
            r.array(reinterpret_cast<char16_t *>(c.m_chars.data()), total);
        } else {
            c.m_narrow.reserve(Reader::withRoom(total));
            c.m_narrow.resize(total);
            r.array(reinterpret_cast<quint8 *>(c.m_narrow.data()), total);
        }
        auto inside = [&](qint64 start, qint32 length) {
            return length == -1 || (length >= 0 && start >= 0 && start <= total - length);
        };
        if (form == TextForm::Coded) {
            const quint16 entries = r.number<quint16>();
            if (entries > Column::kNullCode)
                corrupt(QStringLiteral("a text column's dictionary is too large"));
            for (quint16 i = 0; i < entries; ++i) {
                const Column::Span span{r.number<qint64>(), r.number<qint32>()};
                if (span.length < 0 || !inside(span.start, span.length))
                    corrupt(QStringLiteral("a text lies outside the column's characters"));
                c.m_dict.append(span);
            }
            c.hashDictionary();
            c.m_codes = r.list<quint8>(n);
            for (const quint8 code : std::as_const(c.m_codes))
                if (code >= entries && code != Column::kNullCode)
                    corrupt(QStringLiteral("a text code is not in the column's dictionary"));
            return;
        }
        c.m_coded = false;
        const QList<qint32> lengths = r.list<qint32>(n);
        c.m_spans = total > qsizetype(Column::kEndMask);
        if (c.m_spans) {
            c.m_textLength = lengths;
            c.m_textStart.reserve(Reader::withRoom(n));
        } else {
            c.m_textEnd.reserve(Reader::withRoom(n));
        }
        qint64 next = 0;
        for (const qint32 length : lengths) {
            if (!inside(next, length))
                corrupt(QStringLiteral("a text lies outside the column's characters"));
            if (c.m_spans)
                c.m_textStart.append(length < 0 ? 0 : next);
            next += qMax(length, 0);
            if (!c.m_spans)
                c.m_textEnd.append(length < 0 ? quint32(next) | Column::kNullEnd : quint32(next));
        }
        if (next != total)
            corrupt(QStringLiteral("a text column's lengths do not add up to its characters"));
    }
};

} // namespace internal

using internal::Column;
using internal::ColumnStreamAccess;

QByteArray Recordset::Save() const
{
    requireOpen();
    const std::vector<qsizetype> *rows = m_view ? &*m_view : nullptr;
    // Only visible rows are written, and texts that no row uses any more are left behind.
    std::vector<std::optional<Column>> packed(m_columns.size());
    qsizetype size = internal::kStreamHeaderSize + internal::kStreamTrailerSize;
    for (size_t f = 0; f < m_columns.size(); ++f) {
        if (rows || !m_columns[f].isPacked())
            packed[f] = m_columns[f].gathered(rows);
        size += 12 + 2 * m_fields[qsizetype(f)].name.size() + 4 +
                ColumnStreamAccess::sizeOf(packed[f] ? *packed[f] : m_columns[f]);
    }

    internal::Writer w(size);
    w.raw(internal::kMagic, sizeof internal::kMagic);
    w.number<quint16>(internal::kStreamVersion);
    w.number<quint16>(0);
    w.number<quint32>(static_cast<quint32>(m_fields.size()));
    w.number<quint64>(static_cast<quint64>(visibleCount()));
    for (const FieldDef &f : m_fields) {
        w.text(f.name);
        w.number<qint32>(static_cast<qint32>(f.type));
        w.number<qint32>(f.definedSize);
        w.number<qint32>(f.attributes);
    }
    for (size_t f = 0; f < m_columns.size(); ++f)
        ColumnStreamAccess::write(w, packed[f] ? *packed[f] : m_columns[f]);
    return w.finish();
}

void Recordset::OpenFromStream(const QByteArray &stream)
{
    requireClosed("Opening from a stream");
    if (stream.size() < internal::kStreamHeaderSize + internal::kStreamTrailerSize)
        internal::corrupt(QStringLiteral("it is too short"));
    const qsizetype bodySize = stream.size() - internal::kStreamTrailerSize;
    const quint64 stored = qFromLittleEndian<quint64>(stream.constData() + bodySize);
    if (internal::xxhash64(QByteArrayView(stream.constData(), bodySize)) != stored)
        internal::corrupt(QStringLiteral("its checksum does not match"));

    internal::Reader r(QByteArrayView(stream.constData(), bodySize));
    if (!r.bytesEqual(internal::kMagic, sizeof internal::kMagic))
        internal::corrupt(QStringLiteral("it is not a persisted recordset"));
    const quint16 version = r.number<quint16>();
    if (version != internal::kStreamVersion)
        internal::corrupt(QStringLiteral("its format version %1 is not supported").arg(version));
    r.number<quint16>();
    const quint32 fieldCount = r.number<quint32>();
    const quint64 rowCount = r.number<quint64>();
    // Each field takes at least 18 bytes and each value at least one: counts that the bytes left
    // cannot hold are rejected before anything is allocated for them.
    if (fieldCount == 0 || fieldCount > static_cast<quint64>(r.left()) / 18)
        internal::corrupt(QStringLiteral("its field count %1 is impossible").arg(fieldCount));

    QList<FieldDef> fields;
    fields.reserve(fieldCount);
    for (quint32 i = 0; i < fieldCount; ++i) {
        FieldDef f{r.text(), FieldType::VarChar, 0, 0};
        const qint32 type = r.number<qint32>();
        f.definedSize = r.number<qint32>();
        f.attributes = r.number<qint32>();
        if (f.name.trimmed().isEmpty() || !isKnownFieldType(type))
            internal::corrupt(QStringLiteral("field %1 is malformed").arg(i + 1));
        f.type = static_cast<FieldType>(type);
        for (const FieldDef &earlier : fields)
            if (earlier.name.compare(f.name, Qt::CaseInsensitive) == 0)
                internal::corrupt(QStringLiteral("the field name \"%1\" appears twice").arg(f.name));
        fields.append(f);
    }
    if (rowCount > static_cast<quint64>(r.left()) / fieldCount)
        internal::corrupt(QStringLiteral("its row count %1 is impossible").arg(rowCount));

    const auto rows = static_cast<qsizetype>(rowCount);
    std::vector<Column> columns;
    columns.reserve(fields.size());
    for (const FieldDef &f : fields)
        columns.push_back(ColumnStreamAccess::read(r, f.type, rows));
    if (r.left() != 0)
        internal::corrupt(QStringLiteral("unexpected bytes follow the last column"));

    // Only a stream read whole replaces the set's layout and rows.
    m_fields = std::move(fields);
    resetRows();
    m_columns = std::move(columns);
    m_physicalRows = rows;
    m_open = true;
    m_pos = rows == 0 ? -1 : 0;
}

} // namespace talv

#include "Recordset.h"

#include "RecordsetIndex.h"
#include "RecordsetStream.h"
#include "TextInterner.h"

#include <QDate>
#include <QDateTime>
#include <QTimeZone>
#include <QtEndian>

#include <array>
#include <cstring>
#include <vector>

namespace talv {

namespace internal {

quint32 crc32(QByteArrayView data)
{
    // Slicing-by-8: eight table lookups per eight bytes, several times faster than a byte at a
    // time, which matters when a million-row working list is persisted on every merge.
    static const auto tables = [] {
        std::array<std::array<quint32, 256>, 8> t{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[0][i] = c;
        }
        for (quint32 i = 0; i < 256; ++i)
            for (size_t s = 1; s < 8; ++s)
                t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
        return t;
    }();
    quint32 crc = 0xFFFFFFFFu;
    const auto *p = reinterpret_cast<const quint8 *>(data.data());
    qsizetype n = data.size();
    while (n >= 8) {
        const quint32 lo = qFromLittleEndian<quint32>(p) ^ crc;
        const quint32 hi = qFromLittleEndian<quint32>(p + 4);
        crc = tables[7][lo & 0xFF] ^ tables[6][(lo >> 8) & 0xFF] ^ tables[5][(lo >> 16) & 0xFF] ^ tables[4][lo >> 24]
              ^ tables[3][hi & 0xFF] ^ tables[2][(hi >> 8) & 0xFF] ^ tables[1][(hi >> 16) & 0xFF] ^ tables[0][hi >> 24];
        p += 8;
        n -= 8;
    }
    while (n-- > 0)
        crc = tables[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

} // namespace internal

namespace {

using internal::ValueTag;

constexpr char kMagic[8] = {'T', 'A', 'L', 'V', 'R', 'S', 'E', 'T'};

class Writer
{
public:
    explicit Writer(qsizetype expected) { m_out.reserve(expected); }

    template <typename T>
    void number(T value)
    {
        const T le = qToLittleEndian(value);
        m_out.append(reinterpret_cast<const char *>(&le), sizeof le);
    }
    void tag(ValueTag t) { m_out.append(static_cast<char>(t)); }
    void text(const QString &s)
    {
        number<quint32>(static_cast<quint32>(s.size()));
        if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
            m_out.append(reinterpret_cast<const char *>(s.utf16()), s.size() * 2);
        } else {
            for (const QChar c : s)
                number<quint16>(c.unicode());
        }
    }
    void raw(const char *data, qsizetype size) { m_out.append(data, size); }
    QByteArray finish()
    {
        number<quint32>(internal::crc32(m_out));
        return std::move(m_out);
    }

private:
    QByteArray m_out;
};

[[noreturn]] void corrupt(const QString &problem)
{
    throw Error(Error::CorruptStream, QStringLiteral("The persisted recordset cannot be read: %1.").arg(problem));
}

// Bounds-checked reads over the stream; every count is checked against the bytes left before
// anything is allocated for it.
class Reader
{
public:
    explicit Reader(QByteArrayView data) : m_data(data) {}

    qsizetype left() const { return m_data.size() - m_pos; }
    void need(qsizetype bytes) const
    {
        if (bytes < 0 || bytes > left())
            corrupt(QStringLiteral("it ends too early"));
    }
    template <typename T>
    T number()
    {
        need(sizeof(T));
        T value;
        std::memcpy(&value, m_data.data() + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return qFromLittleEndian(value);
    }
    QString text()
    {
        QString s;
        textInto(s);
        return s;
    }
    // Reads a text into `buffer`, reusing its storage: values that repeat then cost no allocation.
    void textInto(QString &buffer)
    {
        const quint32 units = number<quint32>();
        need(static_cast<qsizetype>(units) * 2);
        buffer.resize(static_cast<qsizetype>(units));
        if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
            std::memcpy(buffer.data(), m_data.data() + m_pos, static_cast<size_t>(units) * 2);
            m_pos += static_cast<qsizetype>(units) * 2;
        } else {
            for (quint32 i = 0; i < units; ++i)
                buffer[i] = QChar(number<quint16>());
        }
    }
    bool bytesEqual(const char *expected, qsizetype size)
    {
        need(size);
        const bool same = std::memcmp(m_data.data() + m_pos, expected, static_cast<size_t>(size)) == 0;
        m_pos += size;
        return same;
    }

private:
    QByteArrayView m_data;
    qsizetype m_pos = 0;
};

bool tagFits(ValueTag tag, FieldType type)
{
    switch (tag) {
    case ValueTag::Null:
        return true;
    case ValueTag::Int32:
        return type == FieldType::Integer;
    case ValueTag::Int64:
        return type == FieldType::BigInt;
    case ValueTag::Double:
        return type == FieldType::Double;
    case ValueTag::Bool:
        return type == FieldType::Boolean;
    case ValueTag::Date:
    case ValueTag::DateTime:
        return type == FieldType::Date;
    case ValueTag::Text:
        return type == FieldType::VarChar;
    }
    return false;
}

void writeValue(Writer &w, const QVariant &v)
{
    if (v.isNull()) {
        w.tag(ValueTag::Null);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Int:
        w.tag(ValueTag::Int32);
        w.number<qint32>(v.toInt());
        return;
    case QMetaType::LongLong:
        w.tag(ValueTag::Int64);
        w.number<qint64>(v.toLongLong());
        return;
    case QMetaType::Double: {
        w.tag(ValueTag::Double);
        const double d = v.toDouble();
        quint64 bits;
        std::memcpy(&bits, &d, sizeof bits);
        w.number<quint64>(bits);
        return;
    }
    case QMetaType::Bool:
        w.tag(ValueTag::Bool);
        w.number<quint8>(v.toBool() ? 1 : 0);
        return;
    case QMetaType::QDate:
        w.tag(ValueTag::Date);
        w.number<qint64>(v.toDate().toJulianDay());
        return;
    case QMetaType::QDateTime: {
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
        w.tag(ValueTag::DateTime);
        w.number<qint64>(dt.date().toJulianDay());
        w.number<qint32>(dt.time().msecsSinceStartOfDay());
        w.number<quint8>(kind);
        w.number<qint32>(offset);
        return;
    }
    default:
        w.tag(ValueTag::Text);
        w.text(v.toString());
        return;
    }
}

// Per field while a stream is read: repeated texts (a group type over a million rows) are held once.
struct TextReading {
    TextInterner interner;
    QString buffer;
};

QVariant readValue(Reader &r, FieldType type, TextReading &texts)
{
    const auto tag = static_cast<ValueTag>(r.number<quint8>());
    if (!tagFits(tag, type))
        corrupt(QStringLiteral("a value does not fit its field's type"));
    switch (tag) {
    case ValueTag::Null:
        return {};
    case ValueTag::Int32:
        return QVariant(r.number<qint32>());
    case ValueTag::Int64:
        return QVariant(static_cast<qlonglong>(r.number<qint64>()));
    case ValueTag::Double: {
        const quint64 bits = r.number<quint64>();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return QVariant(d);
    }
    case ValueTag::Bool: {
        const quint8 b = r.number<quint8>();
        if (b > 1)
            corrupt(QStringLiteral("a boolean is neither true nor false"));
        return QVariant(b == 1);
    }
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
        const QDateTime dt = kind == 0 ? QDateTime(d, t) : QDateTime(d, t, kind == 1 ? Qt::UTC : Qt::OffsetFromUTC, offset);
        if (!dt.isValid())
            corrupt(QStringLiteral("a date and time is out of range"));
        return dt;
    }
    case ValueTag::Text:
        r.textInto(texts.buffer);
        return texts.interner.take(texts.buffer);
    }
    corrupt(QStringLiteral("a value has an unknown kind"));
}

} // namespace

QByteArray Recordset::Save() const
{
    requireOpen();
    const qsizetype rows = visibleCount();
    Writer w(internal::kStreamHeaderSize + rows * m_fields.size() * 12 + 64);
    w.raw(kMagic, sizeof kMagic);
    w.number<quint16>(internal::kStreamVersion);
    w.number<quint16>(0);
    w.number<quint32>(static_cast<quint32>(m_fields.size()));
    w.number<quint64>(static_cast<quint64>(rows));
    for (const FieldDef &f : m_fields) {
        w.text(f.name);
        w.number<qint32>(static_cast<qint32>(f.type));
        w.number<qint32>(f.definedSize);
        w.number<qint32>(f.attributes);
    }
    for (qsizetype pos = 0; pos < rows; ++pos) {
        const qsizetype row = physicalAt(pos);
        for (const QList<QVariant> &column : m_columns)
            writeValue(w, column[row]);
    }
    return w.finish();
}

void Recordset::OpenFromStream(const QByteArray &stream)
{
    requireClosed("Opening from a stream");
    if (stream.size() < internal::kStreamHeaderSize + internal::kStreamTrailerSize)
        corrupt(QStringLiteral("it is too short"));
    const qsizetype bodySize = stream.size() - internal::kStreamTrailerSize;
    const quint32 stored = qFromLittleEndian<quint32>(stream.constData() + bodySize);
    if (internal::crc32(QByteArrayView(stream.constData(), bodySize)) != stored)
        corrupt(QStringLiteral("its checksum does not match"));

    Reader r(QByteArrayView(stream.constData(), bodySize));
    if (!r.bytesEqual(kMagic, sizeof kMagic))
        corrupt(QStringLiteral("it is not a persisted recordset"));
    const quint16 version = r.number<quint16>();
    if (version != internal::kStreamVersion)
        corrupt(QStringLiteral("its format version %1 is not supported").arg(version));
    r.number<quint16>();
    const quint32 fieldCount = r.number<quint32>();
    const quint64 rowCount = r.number<quint64>();
    // Each field takes at least 18 bytes and each value at least one: counts that the bytes left
    // cannot hold are rejected before anything is allocated for them.
    if (fieldCount == 0 || fieldCount > static_cast<quint64>(r.left()) / 18)
        corrupt(QStringLiteral("its field count %1 is impossible").arg(fieldCount));

    QList<FieldDef> fields;
    fields.reserve(fieldCount);
    for (quint32 i = 0; i < fieldCount; ++i) {
        FieldDef f{r.text(), FieldType::VarChar, 0, 0};
        const qint32 type = r.number<qint32>();
        f.definedSize = r.number<qint32>();
        f.attributes = r.number<qint32>();
        if (f.name.trimmed().isEmpty() || !isKnownFieldType(type))
            corrupt(QStringLiteral("field %1 is malformed").arg(i + 1));
        f.type = static_cast<FieldType>(type);
        for (const FieldDef &earlier : fields)
            if (earlier.name.compare(f.name, Qt::CaseInsensitive) == 0)
                corrupt(QStringLiteral("the field name \"%1\" appears twice").arg(f.name));
        fields.append(f);
    }
    if (rowCount > static_cast<quint64>(r.left()) / fieldCount)
        corrupt(QStringLiteral("its row count %1 is impossible").arg(rowCount));

    const auto rows = static_cast<qsizetype>(rowCount);
    QList<QList<QVariant>> columns(fields.size());
    for (auto &column : columns)
        column.reserve(rows);
    std::vector<TextReading> texts(static_cast<size_t>(fields.size()));
    for (qsizetype row = 0; row < rows; ++row)
        for (qsizetype f = 0; f < fields.size(); ++f)
            columns[f].append(readValue(r, fields[f].type, texts[static_cast<size_t>(f)]));
    if (r.left() != 0)
        corrupt(QStringLiteral("unexpected bytes follow the last row"));

    // Only a stream read whole replaces the set's layout and rows.
    m_fields = std::move(fields);
    resetRows();
    m_columns = std::move(columns);
    m_physicalRows = rows;
    m_open = true;
    m_pos = rows == 0 ? -1 : 0;
}

} // namespace talv

#include "RecordsetColumn.h"

#include "HugePages.h"

#include "RecordsetValue.h"

#include <algorithm>

namespace talv::internal {

namespace {
constexpr quint8 kBoolNull = 2;

bool fits32(qint64 value)
{
    return qint64(qint32(value)) == value;
}

} // namespace

Column::Column(FieldType type) : m_type(type)
{}

void Column::reserve(qsizetype rows)
{
    switch (m_type) {
    case FieldType::Integer:
    case FieldType::BigInt:
        if (m_wideWholes)
            m_int64.reserve(rows);
        else
            m_int32.reserve(rows);
        break;
    case FieldType::Double:
        m_double.reserve(rows);
        break;
    case FieldType::Boolean:
        m_bool.reserve(rows);
        break;
    case FieldType::Date:
        m_dates.reserve(rows);
        break;
    case FieldType::VarChar:
        if (m_coded) {
            m_codes.reserve(rows);
        } else if (m_spans) {
            m_textStart.reserve(rows);
            m_textLength.reserve(rows);
        } else {
            m_textEnd.reserve(rows);
        }
        break;
    }
}

bool Column::isNull(qsizetype row) const
{
    switch (m_type) {
    case FieldType::Integer:
    case FieldType::BigInt:
    case FieldType::Double:
        return m_nullCount > 0 && m_nulls[row] != 0; // flags exist whenever a null does
    case FieldType::Boolean:
        return m_bool[row] == kBoolNull;
    case FieldType::Date:
        return m_dates[row].isNull();
    case FieldType::VarChar:
        if (m_coded)
            return m_codes[row] == kNullCode;
        return m_spans ? m_textLength[row] < 0 : (m_textEnd[row] & kNullEnd) != 0;
    }
    return true;
}

QVariant Column::value(qsizetype row) const
{
    if (isNull(row))
        return {};
    switch (m_type) {
    case FieldType::Integer:
        return QVariant(int(m_int32[row]));
    case FieldType::BigInt:
        return QVariant(qlonglong(wholeAt(row)));
    case FieldType::Double:
        return QVariant(m_double[row]);
    case FieldType::Boolean:
        return QVariant(m_bool[row] == 1);
    case FieldType::Date:
        return m_dates[row];
    case FieldType::VarChar:
        return QVariant(text(row).toString()); // Latin-1 widens here
    }
    return {};
}

bool Column::takesAsIs(const QVariant &value) const
{
    return value.isNull() || holdsFieldType(value, m_type) ||
           (m_type == FieldType::VarChar && value.typeId() == QMetaType::QByteArray);
}

void Column::append(const QVariant &value)
{
    if (value.isNull()) {
        appendNull();
        return;
    }
    switch (m_type) {
    case FieldType::Integer:
        appendWhole(value.toInt());
        return;
    case FieldType::BigInt:
        appendWhole(value.toLongLong());
        return;
    case FieldType::Double:
        appendReal(value.toDouble());
        return;
    case FieldType::Boolean:
        m_bool.append(value.toBool() ? 1 : 0);
        break;
    case FieldType::Date:
        m_dates.append(value);
        break;
    case FieldType::VarChar:
        if (value.typeId() == QMetaType::QString) {
            appendText(*static_cast<const QString *>(value.constData()));
        } else if (value.typeId() == QMetaType::QByteArray) {
            const auto *bytes = static_cast<const QByteArray *>(value.constData());
            appendUtf8(bytes->constData(), bytes->size());
            return;
        } else {
            appendText(value.toString());
        }
        break;
    }
    ++m_size;
}

void Column::appendNull()
{
    switch (m_type) {
    case FieldType::Integer:
    case FieldType::BigInt:
        appendNullFlag(true);
        pushWhole(0);
        break;
    case FieldType::Double:
        appendNullFlag(true);
        m_double.append(0.0);
        break;
    case FieldType::Boolean:
        m_bool.append(kBoolNull);
        break;
    case FieldType::Date:
        m_dates.append(QVariant());
        break;
    case FieldType::VarChar:
        appendNullText();
        break;
    }
    ++m_size;
}

void Column::appendWholeSlowly(qint64 value)
{
    appendNullFlag(false);
    pushWhole(value);
    ++m_size;
}

void Column::pushWhole(qint64 value)
{
    if (!m_wideWholes && m_type == FieldType::BigInt && !fits32(value))
        widenWholes();
    if (m_wideWholes) {
        makeRoom(m_int64);
        m_int64.append(value);
    } else {
        makeRoom(m_int32);
        m_int32.append(static_cast<qint32>(value));
    }
}

void Column::widenWholes()
{
    m_int64.reserve(m_int32.capacity());
    for (const qint32 value : std::as_const(m_int32))
        m_int64.append(value);
    m_int32 = {};
    m_wideWholes = true;
}

void Column::appendReal(double value)
{
    appendNullFlag(false);
    makeRoom(m_double);
    m_double.append(value);
    ++m_size;
}

void Column::appendFrom(const Column &source, qsizetype row)
{
    const bool null = source.isNull(row);
    switch (m_type) {
    case FieldType::Integer:
    case FieldType::BigInt:
        appendNullFlag(null);
        pushWhole(source.wholeAt(row));
        break;
    case FieldType::Double:
        appendNullFlag(null);
        m_double.append(source.m_double[row]);
        break;
    case FieldType::Boolean:
        m_bool.append(source.m_bool[row]);
        break;
    case FieldType::Date:
        m_dates.append(source.m_dates[row]);
        break;
    case FieldType::VarChar:
        if (null)
            appendNullText();
        else
            appendText(source.text(row));
        break;
    }
    ++m_size;
}

void Column::set(qsizetype row, const QVariant &value)
{
    const bool null = value.isNull();
    switch (m_type) {
    case FieldType::Integer:
        setNullFlag(row, null);
        m_int32[row] = null ? 0 : value.toInt();
        return;
    case FieldType::BigInt: {
        const qint64 whole = null ? 0 : value.toLongLong();
        if (!m_wideWholes && !fits32(whole))
            widenWholes();
        setNullFlag(row, null);
        if (m_wideWholes)
            m_int64[row] = whole;
        else
            m_int32[row] = qint32(whole);
        return;
    }
    case FieldType::Double:
        setNullFlag(row, null);
        m_double[row] = null ? 0.0 : value.toDouble();
        return;
    case FieldType::Boolean:
        m_bool[row] = null ? kBoolNull : (value.toBool() ? 1 : 0);
        return;
    case FieldType::Date:
        m_dates[row] = value;
        return;
    case FieldType::VarChar: {
        const QString converted = null || value.typeId() == QMetaType::QString ? QString() : value.toString();
        const QAnyStringView text = null ? QAnyStringView()
                                    : value.typeId() == QMetaType::QString
                                        ? QAnyStringView(*static_cast<const QString *>(value.constData()))
                                        : QAnyStringView(converted);
        if (m_coded) {
            if (null) {
                m_codes[row] = kNullCode;
                return;
            }
            if (const auto code = codeFor(text)) {
                m_codes[row] = *code;
                return;
            }
            stopCoding();
        }
        if (!m_spans)
            toSpans();
        // The old text stays behind unused until the set is next persisted.
        const Span span = null ? Span{0, -1} : storeText(text);
        m_textStart[row] = span.start;
        m_textLength[row] = span.length;
        return;
    }
    }
}

void Column::removeLast()
{
    if (m_size == 0)
        return;
    switch (m_type) {
    case FieldType::Integer:
    case FieldType::BigInt:
        if (m_wideWholes)
            m_int64.removeLast();
        else
            m_int32.removeLast();
        break;
    case FieldType::Double:
        m_double.removeLast();
        break;
    case FieldType::Boolean:
        m_bool.removeLast();
        break;
    case FieldType::Date:
        m_dates.removeLast();
        break;
    case FieldType::VarChar:
        if (m_coded) {
            m_codes.removeLast();
        } else if (m_spans) {
            m_textStart.removeLast();
            m_textLength.removeLast();
        } else {
            // The row's text is the last one stored: it goes too, and the column stays packed.
            m_textEnd.removeLast();
            const qint64 end = packedEndBefore(m_textEnd.size());
            if (m_wide)
                m_chars.truncate(end);
            else
                m_narrow.resize(end);
        }
        break;
    }
    if (m_hasNullFlags) {
        if (m_nulls.last() != 0)
            --m_nullCount;
        m_nulls.removeLast();
    }
    --m_size;
}

bool Column::isPacked() const
{
    if (m_type != FieldType::VarChar || m_coded || !m_spans)
        return true;
    qint64 expected = 0;
    for (qsizetype row = 0; row < m_size; ++row) {
        const qint32 length = m_textLength[row];
        if (length < 0)
            continue;
        if (m_textStart[row] != expected)
            return false;
        expected += length;
    }
    return expected == charCount();
}

Column Column::gathered(const std::vector<qsizetype> *rows) const
{
    Column out(m_type);
    const qsizetype n = rows ? qsizetype(rows->size()) : m_size;
    out.reserve(n);
    for (qsizetype i = 0; i < n; ++i)
        out.appendFrom(*this, rows ? (*rows)[size_t(i)] : i);
    return out;
}

} // namespace talv::internal

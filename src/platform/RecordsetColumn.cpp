#include "RecordsetColumn.h"

namespace talv::internal {

namespace {
constexpr quint8 kBoolNull = 2;
} // namespace

Column::Column(FieldType type) : m_type(type) {}

void Column::reserve(qsizetype rows)
{
    switch (m_type) {
    case FieldType::Integer: m_int32.reserve(rows); break;
    case FieldType::BigInt: m_int64.reserve(rows); break;
    case FieldType::Double: m_double.reserve(rows); break;
    case FieldType::Boolean: m_bool.reserve(rows); break;
    case FieldType::Date: m_dates.reserve(rows); break;
    case FieldType::VarChar:
        if (m_coded) {
            m_codes.reserve(rows);
        } else {
            m_textStart.reserve(rows);
            m_textLength.reserve(rows);
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
        return m_nullCount > 0 && m_nulls[row] != 0;  // flags exist whenever a null does
    case FieldType::Boolean: return m_bool[row] == kBoolNull;
    case FieldType::Date: return m_dates[row].isNull();
    case FieldType::VarChar: return m_coded ? m_codes[row] == kNullCode : m_textLength[row] < 0;
    }
    return true;
}

QVariant Column::value(qsizetype row) const
{
    if (isNull(row))
        return {};
    switch (m_type) {
    case FieldType::Integer: return QVariant(int(m_int32[row]));
    case FieldType::BigInt: return QVariant(qlonglong(m_int64[row]));
    case FieldType::Double: return QVariant(m_double[row]);
    case FieldType::Boolean: return QVariant(m_bool[row] == 1);
    case FieldType::Date: return m_dates[row];
    case FieldType::VarChar: return QVariant(text(row).toString());
    }
    return {};
}

Column::Span Column::spanAt(qsizetype row) const
{
    if (m_coded) {
        const quint8 code = m_codes[row];
        return code == kNullCode ? Span{0, -1} : m_dict[code];
    }
    return {m_textStart[row], m_textLength[row]};
}

QStringView Column::text(qsizetype row) const
{
    if (m_type != FieldType::VarChar)
        return {};
    const Span span = spanAt(row);
    return span.length < 0 ? QStringView() : QStringView(m_chars).sliced(span.start, span.length);
}

void Column::startNullFlags()
{
    m_nulls.resize(m_size, 0);
    m_hasNullFlags = true;
}

void Column::appendNullFlag(bool null)
{
    if (null && !m_hasNullFlags)
        startNullFlags();
    if (m_hasNullFlags)
        m_nulls.append(null ? 1 : 0);
    m_nullCount += null ? 1 : 0;
}

void Column::setNullFlag(qsizetype row, bool null)
{
    if (!m_hasNullFlags) {
        if (!null)
            return;
        startNullFlags();
    }
    if ((m_nulls[row] != 0) != null) {
        m_nullCount += null ? 1 : -1;
        m_nulls[row] = null ? 1 : 0;
    }
}

std::optional<quint8> Column::codeFor(QStringView text)
{
    const size_t hash = qHash(text);
    auto holds = [&](qsizetype code) {
        const Span span = m_dict[code];
        return QStringView(m_chars).sliced(span.start, span.length) == text;
    };
    const auto it = m_codeByHash.constFind(hash);
    if (it != m_codeByHash.cend()) {
        if (holds(*it))
            return *it;
        for (qsizetype code = 0; code < m_dict.size(); ++code)  // another text with the same hash
            if (holds(code))
                return quint8(code);
    }
    if (m_dict.size() >= kNullCode)
        return std::nullopt;
    const auto code = quint8(m_dict.size());
    m_dict.append(storeText(text));
    if (it == m_codeByHash.cend())
        m_codeByHash.insert(hash, code);
    return code;
}

void Column::stopCoding()
{
    m_textStart.reserve(m_codes.capacity());
    m_textLength.reserve(m_codes.capacity());
    for (const quint8 code : std::as_const(m_codes)) {
        const Span span = code == kNullCode ? Span{0, -1} : m_dict[code];
        m_textStart.append(span.start);
        m_textLength.append(span.length);
    }
    m_codes = {};
    m_dict = {};
    m_codeByHash = {};
    m_coded = false;
}

Column::Span Column::storeText(QStringView text)
{
    const Span span{m_chars.size(), qint32(text.size())};
    m_chars.append(text);
    return span;
}

void Column::appendText(QStringView text)
{
    if (m_coded) {
        if (const auto code = codeFor(text)) {
            m_codes.append(*code);
            return;
        }
        stopCoding();
    }
    const Span span = storeText(text);
    m_textStart.append(span.start);
    m_textLength.append(span.length);
}

void Column::appendNullText()
{
    if (m_coded) {
        m_codes.append(kNullCode);
    } else {
        m_textStart.append(0);
        m_textLength.append(-1);
    }
}

void Column::append(const QVariant &value)
{
    const bool null = value.isNull();
    switch (m_type) {
    case FieldType::Integer:
        appendNullFlag(null);
        m_int32.append(null ? 0 : value.toInt());
        break;
    case FieldType::BigInt:
        appendNullFlag(null);
        m_int64.append(null ? 0 : value.toLongLong());
        break;
    case FieldType::Double:
        appendNullFlag(null);
        m_double.append(null ? 0.0 : value.toDouble());
        break;
    case FieldType::Boolean:
        m_bool.append(null ? kBoolNull : (value.toBool() ? 1 : 0));
        break;
    case FieldType::Date:
        m_dates.append(value);
        break;
    case FieldType::VarChar:
        if (null) {
            appendNullText();
        } else if (value.typeId() == QMetaType::QString) {
            appendText(*static_cast<const QString *>(value.constData()));
        } else {
            appendText(value.toString());
        }
        break;
    }
    ++m_size;
}

void Column::appendFrom(const Column &source, qsizetype row)
{
    const bool null = source.isNull(row);
    switch (m_type) {
    case FieldType::Integer:
        appendNullFlag(null);
        m_int32.append(source.m_int32[row]);
        break;
    case FieldType::BigInt:
        appendNullFlag(null);
        m_int64.append(source.m_int64[row]);
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
    case FieldType::BigInt:
        setNullFlag(row, null);
        m_int64[row] = null ? 0 : value.toLongLong();
        return;
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
        const QStringView text = null ? QStringView()
                                 : value.typeId() == QMetaType::QString ? *static_cast<const QString *>(value.constData())
                                                                         : QStringView(converted);
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
        // The old text stays in m_chars as waste, dropped when the set is next persisted.
        m_wastedChars += qMax<qint32>(m_textLength[row], 0);
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
    case FieldType::Integer: m_int32.removeLast(); break;
    case FieldType::BigInt: m_int64.removeLast(); break;
    case FieldType::Double: m_double.removeLast(); break;
    case FieldType::Boolean: m_bool.removeLast(); break;
    case FieldType::Date: m_dates.removeLast(); break;
    case FieldType::VarChar:
        if (m_coded) {
            m_codes.removeLast();
        } else {
            m_wastedChars += qMax<qint32>(m_textLength.last(), 0);
            m_textStart.removeLast();
            m_textLength.removeLast();
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

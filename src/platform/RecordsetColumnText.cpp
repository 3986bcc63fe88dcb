#include "RecordsetColumn.h"

#include "HugePages.h"

#include <cstring>
#include <type_traits>

// How a text column keeps its texts: back to back in one buffer (one byte a character until a text
// needs two), with an end position per row while rows are filled in order, a start and a length
// per row once one is overwritten, or a one-byte code per row while the column has few distinct
// texts.

namespace talv::internal {

namespace {
char16_t unitOf(QChar c)
{
    return c.unicode();
}
char16_t unitOf(char c)
{
    return static_cast<uchar>(c);
} // Latin-1 views walk as char

// The same value for a text in either width (FNV-1a over its UTF-16 units).
size_t hashText(QAnyStringView text)
{
    quint64 h = 14695981039346656037ull;
    text.visit([&](auto view) {
        for (const auto c : view)
            h = (h ^ unitOf(c)) * 1099511628211ull;
    });
    return static_cast<size_t>(h);
}

qsizetype withRoom(qsizetype count)
{
    return count + count / 2 + 16;
}
} // namespace

Column::Span Column::spanAt(qsizetype row) const
{
    if (m_coded) {
        const quint8 code = m_codes[row];
        return code == kNullCode ? Span{0, -1} : m_dict[code];
    }
    if (m_spans)
        return {m_textStart[row], m_textLength[row]};
    const quint32 end = m_textEnd[row];
    if (end & kNullEnd)
        return {0, -1};
    const qint64 start = packedEndBefore(row);
    return {start, qint32(qint64(end) - start)};
}

QAnyStringView Column::viewOf(Span span) const
{
    if (m_wide)
        return QStringView(m_chars).sliced(span.start, span.length);
    return QLatin1StringView(m_narrow.constData() + span.start, span.length);
}

QAnyStringView Column::text(qsizetype row) const
{
    if (m_type != FieldType::VarChar)
        return {};
    const Span span = spanAt(row);
    return span.length < 0 ? QAnyStringView() : viewOf(span);
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

std::optional<quint8> Column::codeFor(QAnyStringView text)
{
    auto holds = [&](qsizetype code) {
        const Span span = m_dict[code];
        if (span.length != text.size())
            return false;
        return text.visit([&](auto view) {
            if constexpr (std::is_same_v<decltype(view), QLatin1StringView>)
                if (!m_wide) // the common case, compared without Qt's general text comparison
                    return std::memcmp(m_narrow.constData() + span.start, view.data(), size_t(span.length)) == 0;
            return QAnyStringView::equal(viewOf(span), view);
        });
    };
    // A handful of texts (a type, a status) is found sooner by comparing than by hashing.
    if (m_dict.size() <= kScannedCodes) {
        for (qsizetype code = 0; code < m_dict.size(); ++code)
            if (holds(code))
                return quint8(code);
    }
    const size_t hash = hashText(text);
    const auto it = m_codeByHash.constFind(hash);
    if (m_dict.size() > kScannedCodes && it != m_codeByHash.cend()) {
        if (holds(*it))
            return *it;
        for (qsizetype code = 0; code < m_dict.size(); ++code) // another text with the same hash
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

void Column::fillCodeByHead()
{
    m_codeByHead.fill(0);
    m_codeByHeadFor = m_dict.size();
    for (qsizetype code = 0; code < std::min(m_dict.size(), kHeadedCodes); ++code) {
        const Span span = m_dict.at(code);
        qsizetype slot = slotOf(headOf(m_narrow.constData() + span.start, span.length));
        while (m_codeByHead[size_t(slot)] != 0)
            slot = (slot + 1) % qsizetype(m_codeByHead.size());
        m_codeByHead[size_t(slot)] = quint8(code + 1);
    }
}

void Column::hashDictionary()
{
    m_codeByHash.clear();
    for (qsizetype code = 0; code < m_dict.size(); ++code) {
        const size_t hash = hashText(viewOf(m_dict[code]));
        if (!m_codeByHash.contains(hash))
            m_codeByHash.insert(hash, quint8(code));
    }
}

void Column::stopCoding()
{
    // The texts are laid out again in row order, so that a column filled by appends stays packed.
    const QList<quint8> codes = std::move(m_codes);
    const QList<Span> dict = std::move(m_dict);
    const QList<char> narrow = std::move(m_narrow);
    const QString wide = std::move(m_chars);
    m_narrow = QList<char>();
    m_chars = QString();
    m_codes = {};
    m_dict = {};
    m_codeByHead.fill(0);
    m_codeByHeadFor = 0;
    m_codeByHash = {};
    m_coded = false;
    m_textEnd.reserve(codes.capacity());
    for (const quint8 code : codes) {
        if (code == kNullCode) {
            appendNullText();
            continue;
        }
        const Span span = dict[code];
        appendSpan(m_wide ? storeText(QStringView(wide).sliced(span.start, span.length))
                          : storeText(QLatin1StringView(narrow.constData() + span.start, span.length)));
    }
}

void Column::appendSpan(Span span)
{
    if (!m_spans) {
        if (charCount() <= qsizetype(kEndMask)) {
            makeRoom(m_textEnd);
            m_textEnd.append(span.length < 0 ? quint32(packedEndBefore(m_textEnd.size())) | kNullEnd
                                             : quint32(span.start + span.length));
            return;
        }
        toSpans();
    }
    m_textStart.append(span.start);
    m_textLength.append(span.length);
}

void Column::toSpans()
{
    QList<qint32> lengths = textLengths();
    m_textStart.reserve(lengths.capacity());
    for (qsizetype row = 0; row < lengths.size(); ++row)
        m_textStart.append(spanAt(row).start);
    m_textLength = std::move(lengths);
    m_textEnd = {};
    m_spans = true;
}

QList<qint32> Column::textLengths() const
{
    if (m_spans)
        return m_textLength;
    QList<qint32> lengths;
    lengths.reserve(m_textEnd.size());
    for (qsizetype row = 0; row < m_textEnd.size(); ++row)
        lengths.append(spanAt(row).length);
    return lengths;
}

char *Column::growNarrow(qsizetype size)
{
    // The list grows by itself, geometrically and in place where the allocator can: reserving
    // ahead would copy the characters into a new block every time.
    const qsizetype at = m_narrow.size();
    m_narrow.resize(at + size);
    return m_narrow.data() + at;
}

void Column::appendNarrow(const char *data, qsizetype size)
{
    // As growNarrow, without first filling the new room with zeros.
    makeRoom(m_narrow, size);
    m_narrow.append(QList<char>::const_iterator(data), QList<char>::const_iterator(data + size));
}

void Column::widen()
{
    QString wide;
    wide.reserve(withRoom(m_narrow.size()));
    wide.append(QLatin1StringView(m_narrow.constData(), m_narrow.size()));
    m_chars = std::move(wide);
    m_narrow = QList<char>();
    m_wide = true;
}

Column::Span Column::storeText(QAnyStringView text)
{
    const Span span{charCount(), qint32(text.size())};
    text.visit([this](auto view) {
        using View = std::decay_t<decltype(view)>;
        if constexpr (std::is_same_v<View, QLatin1StringView>) {
            if (m_wide)
                m_chars.append(view);
            else
                appendNarrow(view.data(), view.size());
        } else if constexpr (std::is_same_v<View, QStringView>) {
            if (!m_wide) {
                if (std::all_of(view.begin(), view.end(), [](QChar c) { return c.unicode() < 256; })) {
                    char *out = growNarrow(view.size());
                    for (const QChar c : view)
                        *out++ = static_cast<char>(c.unicode());
                    return;
                }
                widen();
            }
            m_chars.append(view);
        } else {
            const QString utf16 = view.toString();
            if (!m_wide)
                widen();
            m_chars.append(utf16);
        }
    });
    return span;
}

void Column::appendText(QAnyStringView text)
{
    if (m_coded) {
        if (const auto code = codeFor(text)) {
            m_codes.append(*code);
            return;
        }
        stopCoding();
    }
    appendSpan(storeText(text));
}

void Column::appendNullText()
{
    if (m_coded)
        m_codes.append(kNullCode);
    else
        appendSpan({0, -1});
}

} // namespace talv::internal

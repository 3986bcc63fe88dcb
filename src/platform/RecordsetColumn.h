#pragma once

#include "HugePages.h"
#include "Recordset.h"

#include <QAnyStringView>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace talv::internal {

class ColumnStreamAccess;

// One field's values, stored by type: whole numbers, reals and booleans in plain arrays, texts back
// to back in one buffer with where each row's text ends. A million-row working list then costs a
// few bytes per value instead of a variant and an allocation each, and persisting it copies arrays
// instead of visiting values. Every member is implicitly shared, so copying a column is cheap and
// the copies part only when one of them is written.
class Column
{
public:
    explicit Column(FieldType type = FieldType::VarChar);

    FieldType type() const { return m_type; }
    qsizetype size() const { return m_size; }
    void reserve(qsizetype rows);

    bool isNull(qsizetype row) const;
    QVariant value(qsizetype row) const;

    // Whether append takes `value` without conversion: null, the field's own type, or UTF-8
    // bytes for a text.
    bool takesAsIs(const QVariant &value) const;
    // `value` is one that takesAsIs, or converted by toFieldType.
    void append(const QVariant &value);
    // Typed appends for readers of large results, without a variant per value. The value must
    // suit the column: a whole number in range for Integer and BigInt, a real for Double, text for
    // VarChar; a null suits every column.
    void appendNull();
    inline void appendWhole(qint64 value);
    void appendReal(double value);
    inline void appendUtf8(const char *data, qsizetype size);
    void set(qsizetype row, const QVariant &value);
    // Takes back the last append (used when a row fails half-way).
    void removeLast();
    // Appends one row of a column of the same type without passing through a variant.
    void appendFrom(const Column &source, qsizetype row);

    // The rows given, in that order, as a new column (texts packed without gaps).
    Column gathered(const std::vector<qsizetype> *rows) const;
    // False when texts are out of row order or leave gaps (after overwrites): such a column is
    // packed again (gathered) before it is persisted.
    bool isPacked() const;

    // Typed reads for the index and comparisons.
    qint64 wholeAt(qsizetype row) const { return m_wideWholes ? m_int64[row] : m_int32[row]; } // 0 for null
    bool hasNulls() const { return m_nullCount > 0; }
    QAnyStringView text(qsizetype row) const; // empty for null

private:
    friend class ColumnStreamAccess;

    struct Span {
        qint64 start;
        qint32 length;
    };
    static constexpr quint8 kNullCode = 255;
    // A packed row's end: the top bit marks a null, the rest counts characters.
    static constexpr quint32 kNullEnd = 0x80000000u;
    static constexpr quint32 kEndMask = kNullEnd - 1;
    static constexpr qsizetype kScannedCodes = 8; // dictionaries up to this size are searched without hashing

    void appendWholeSlowly(qint64 value);
    void appendText(QAnyStringView text); // Latin-1 or UTF-16
    // Appends the code of a text already in a small dictionary; false when it is not there.
    inline bool appendKnownText(const char *data, qsizetype size);
    static inline quint64 headOf(const char *data, qsizetype size);
    static qsizetype slotOf(quint64 head) { return qsizetype((head * 0x9e3779b97f4a7c15ull) >> 58); }
    static constexpr qsizetype kHeadedCodes = 48; // leaves a quarter of m_codeByHead free
    void fillCodeByHead();
    void appendNullText();
    void appendSpan(Span span); // a text just stored at the end of the characters, or a null
    void toSpans();
    qint64 packedEndBefore(qsizetype row) const { return row == 0 ? 0 : qint64(m_textEnd[row - 1] & kEndMask); }
    QList<qint32> textLengths() const; // per row, -1 for null
    Span storeText(QAnyStringView text);
    char *growNarrow(qsizetype size); // room for `size` more Latin-1 characters
    void appendNarrow(const char *data, qsizetype size);
    void widen();
    qsizetype charCount() const { return m_wide ? m_chars.size() : m_narrow.size(); }
    QAnyStringView viewOf(Span span) const;
    // The text's code, added to the dictionary when new; none when the dictionary is full.
    std::optional<quint8> codeFor(QAnyStringView text);
    void stopCoding();
    void hashDictionary(); // fills m_codeByHash from m_dict
    Span spanAt(qsizetype row) const;
    void pushWhole(qint64 value);
    void widenWholes();
    void startNullFlags();
    void appendNullFlag(bool null);
    void setNullFlag(qsizetype row, bool null);

    FieldType m_type;
    qsizetype m_size = 0;
    // Integer: m_int32; BigInt: m_int32 while every value fits (an id column does, at half the
    // memory), m_int64 from the first that does not (m_wideWholes); Double: m_double; each with
    // m_nulls (1 = null), kept only from the first null on.
    QList<qint32> m_int32;
    QList<qint64> m_int64;
    bool m_wideWholes = false;
    QList<double> m_double;
    QList<quint8> m_nulls;
    bool m_hasNullFlags = false;
    qsizetype m_nullCount = 0;
    // Boolean: 0 false, 1 true, 2 null.
    QList<quint8> m_bool;
    // Date: QDate or QDateTime (few per set; no need for more than a variant).
    QList<QVariant> m_dates;
    // VarChar: every text back to back, one byte per character (Latin-1) in m_narrow until a text
    // needs more, then UTF-16 in m_chars; starts and lengths count characters either way. While a
    // column has few distinct texts (a group type) each row holds a one-byte code into m_dict.
    // From the 256th distinct text on, texts lie in row order, so a row needs only where its text
    // ends (m_textEnd, four bytes); an overwrite, or more characters than those bytes count, gives
    // each row its own start and length instead (m_spans; -1 for null).
    QList<char> m_narrow; // not a QByteArray: growing a list by one text is inline code
    QString m_chars;
    bool m_wide = false;
    bool m_coded = true;
    QList<quint8> m_codes;
    QList<Span> m_dict;
    // While the texts are narrow: by a few bits of a text's length and first bytes, its code plus
    // one (the next free place when that one is taken), so that looking a text up goes straight to
    // the one known text it can be instead of walking them, whose random exit the processor cannot
    // predict. Filled again whenever the dictionary has grown since (m_codeByHeadFor, its size
    // then); texts past kHeadedCodes are found the slow way.
    qsizetype m_codeByHeadFor = 0;
    std::array<quint8, 64> m_codeByHead{};
    QHash<size_t, quint8> m_codeByHash; // a text whose hash collides is found by a walk of m_dict
    bool m_spans = false;
    QList<quint32> m_textEnd;
    QList<qint64> m_textStart;
    QList<qint32> m_textLength;
};

// Eight bytes from anywhere, as one number.
inline quint64 loadWord(const char *at)
{
    quint64 word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// Whether the bytes are all below 0x80: every text a reader hands over passes here. Sixteen bytes
// at a time where the processor has them, eight otherwise; the last block overlaps the one before
// it rather than ending in a loop over single bytes.
inline bool isAscii(const char *data, qsizetype size)
{
#if defined(__SSE2__)
    if (size >= 16) {
        auto block = [data](qsizetype at) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at)); };
        __m128i any = block(size - 16);
        for (qsizetype i = 0; i + 16 < size; i += 16)
            any = _mm_or_si128(any, block(i));
        return _mm_movemask_epi8(any) == 0;
    }
#endif
    constexpr quint64 highBits = 0x8080808080808080ull;
    if (size >= 8) {
        quint64 any = loadWord(data + size - 8);
        for (qsizetype i = 0; i + 8 < size; i += 8)
            any |= loadWord(data + i);
        return (any & highBits) == 0;
    }
    quint64 any = 0;
    for (qsizetype i = 0; i < size; ++i)
        any |= static_cast<uchar>(data[i]);
    return (any & highBits) == 0;
}

// Whether two short byte runs of the same length are equal, without a library call per text.
inline bool sameBytes(const char *a, const char *b, qsizetype size)
{
    if (size >= 8) {
        for (qsizetype i = 0; i + 8 < size; i += 8)
            if (loadWord(a + i) != loadWord(b + i))
                return false;
        return loadWord(a + size - 8) == loadWord(b + size - 8);
    }
    for (qsizetype i = 0; i < size; ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

// The two appends below are inline because every value of a large result passes through one of
// them: the common cases (a whole number that fits in 32 bits, a plain ASCII text in a column whose
// texts lie in row order or that is one of a handful of known texts) go straight into the arrays,
// the rest takes the general path.

Q_ALWAYS_INLINE void Column::appendWhole(qint64 value)
{
    if (!m_hasNullFlags && !m_wideWholes && qint64(qint32(value)) == value) [[likely]] {
        makeRoom(m_int32);
        m_int32.append(static_cast<qint32>(value));
        ++m_size;
        return;
    }
    appendWholeSlowly(value);
}

Q_ALWAYS_INLINE quint64 Column::headOf(const char *data, qsizetype size)
{
    quint64 head = 0;
    if (size >= 8) {
        head = loadWord(data);
    } else {
        for (qsizetype i = 0; i < size; ++i)
            head |= quint64(static_cast<uchar>(data[i])) << (8 * i);
    }
    return head ^ (quint64(size) * 0x9e3779b97f4a7c15ull);
}

Q_ALWAYS_INLINE bool Column::appendKnownText(const char *data, qsizetype size)
{
    if (m_codeByHeadFor != m_dict.size()) [[unlikely]]
        fillCodeByHead();
    int codePlusOne = 0;
    for (qsizetype slot = slotOf(headOf(data, size));; slot = (slot + 1) % qsizetype(m_codeByHead.size())) {
        codePlusOne = m_codeByHead[size_t(slot)];
        if (codePlusOne == 0)
            return false;
        const Span known = m_dict.at(codePlusOne - 1);
        if (known.length == size && sameBytes(m_narrow.constData() + known.start, data, size))
            break;
    }
    m_codes.append(quint8(codePlusOne - 1));
    return true;
}

Q_ALWAYS_INLINE void Column::appendUtf8(const char *data, qsizetype size)
{
    // Plain ASCII is Latin-1 as it stands; other UTF-8 becomes UTF-16 first, so that a text has one
    // form whatever its source.
    if (!isAscii(data, size)) [[unlikely]] {
        appendText(QString::fromUtf8(data, size));
    } else if (!m_wide && !m_coded && !m_spans && m_narrow.size() + size <= qsizetype(kEndMask)) [[likely]] {
        makeRoom(m_narrow, size);
        m_narrow.append(QList<char>::const_iterator(data), QList<char>::const_iterator(data + size));
        makeRoom(m_textEnd);
        m_textEnd.append(quint32(m_narrow.size()));
    } else if (!(m_coded && !m_wide && appendKnownText(data, size))) {
        appendText(QLatin1StringView(data, size));
    }
    ++m_size;
}

} // namespace talv::internal

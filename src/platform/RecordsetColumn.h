#pragma once

#include "Recordset.h"

#include <QAnyStringView>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

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
    void appendWhole(qint64 value);
    void appendReal(double value);
    void appendUtf8(const char *data, qsizetype size);
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

    void appendText(QAnyStringView text); // Latin-1 or UTF-16
    void appendUtf8Text(const char *data, qsizetype size);
    void appendLatin1(const char *data, qsizetype size);
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
    QHash<size_t, quint8> m_codeByHash; // a text whose hash collides is found by a walk of m_dict
    bool m_spans = false;
    QList<quint32> m_textEnd;
    QList<qint64> m_textStart;
    QList<qint32> m_textLength;
};

} // namespace talv::internal

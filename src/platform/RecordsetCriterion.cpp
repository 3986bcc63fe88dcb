#include "RecordsetCriterion.h"

#include "RecordsetValue.h"

#include <QLocale>

namespace talv::internal {

namespace {

// [-+] digits [. digits] [e [-+] digits], or [-+] . digits [e ...]; checked by hand because
// every "ID = n" lookup of a merge parses one.
bool isNumberLiteral(QStringView word)
{
    qsizetype i = 0;
    const qsizetype n = word.size();
    auto digits = [&] {
        const qsizetype start = i;
        while (i < n && word[i].isDigit() && word[i].unicode() < 128)
            ++i;
        return i - start;
    };
    if (i < n && (word[i] == u'-' || word[i] == u'+'))
        ++i;
    qsizetype mantissa = digits();
    if (i < n && word[i] == u'.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return false;
    if (i < n && (word[i] == u'e' || word[i] == u'E')) {
        ++i;
        if (i < n && (word[i] == u'-' || word[i] == u'+'))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == n;
}

bool likeMatch(QStringView text, QStringView pattern)
{
    // Greedy wildcard match with backtracking to the last '*': linear in practice, no recursion.
    qsizetype t = 0, p = 0, starP = -1, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == u'\x01') {
            starP = p++;
            starT = t;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'\x01')
        ++p;
    return p == pattern.size();
}

} // namespace

std::optional<WholeEquality> recogniseWholeEquality(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto blanks = [&] {
        while (i < n && text[i] == u' ')
            ++i;
    };
    auto isAsciiDigit = [&](qsizetype at) { return at < n && text[at] >= u'0' && text[at] <= u'9'; };
    blanks();
    const qsizetype nameStart = i;
    while (i < n && (isAsciiDigit(i) || text[i] == u'_' || (text[i] >= u'a' && text[i] <= u'z') ||
                     (text[i] >= u'A' && text[i] <= u'Z')))
        ++i;
    const qsizetype nameEnd = i;
    blanks();
    if (nameEnd == nameStart || i >= n || text[i] != u'=')
        return std::nullopt;
    ++i;
    blanks();
    const bool negative = i < n && text[i] == u'-';
    if (negative)
        ++i;
    const qsizetype digitsStart = i;
    qint64 value = 0;
    while (isAsciiDigit(i) && i - digitsStart < 18) // 18 digits cannot overflow
        value = value * 10 + (text[i++].unicode() - u'0');
    blanks();
    if (i == digitsStart || i != n)
        return std::nullopt;
    return WholeEquality{text.sliced(nameStart, nameEnd - nameStart), negative ? -value : value};
}

bool CriterionTerm::matches(const QVariant &stored) const
{
    if (op == CompareOp::Like)
        return !stored.isNull() && likeMatch(displayText(stored).toCaseFolded(), likePattern);
    if (literal.isNull()) {
        // Only "= NULL" and "<> NULL" reach here; the parser refuses other operators with NULL.
        return (op == CompareOp::Equal) == stored.isNull();
    }
    if (stored.isNull())
        return false;
    const int c = compareValues(stored, literal, type);
    switch (op) {
    case CompareOp::Equal:
        return c == 0;
    case CompareOp::NotEqual:
        return c != 0;
    case CompareOp::Less:
        return c < 0;
    case CompareOp::Greater:
        return c > 0;
    case CompareOp::LessEqual:
        return c <= 0;
    case CompareOp::GreaterEqual:
        return c >= 0;
    case CompareOp::Like:
        break;
    }
    return false;
}

const CriterionTerm *Criterion::singleTerm() const
{
    if (m_root < 0 || m_nodes[static_cast<size_t>(m_root)].kind != Node::Term)
        return nullptr;
    return &m_nodes[static_cast<size_t>(m_root)].term;
}

// Recursive descent over the criterion text; one instance per parse.
class CriterionParser
{
public:
    CriterionParser(const QString &text, const Criterion::FieldLookup &lookup, bool allowJoins)
        : m_text(text), m_lookup(lookup), m_allowJoins(allowJoins)
    {}

    Criterion run()
    {
        skipBlanks();
        if (atEnd())
            fail(QStringLiteral("the criterion is empty"));
        m_result.m_root = parseOr();
        skipBlanks();
        if (!atEnd()) {
            if (!m_allowJoins && (peekKeyword(u"AND") || peekKeyword(u"OR")))
                fail(QStringLiteral("Find accepts a single comparison, not terms joined by AND or OR"));
            fail(QStringLiteral("unexpected \"%1\" at position %2").arg(rest(), QString::number(m_pos + 1)));
        }
        return std::move(m_result);
    }

private:
    using Node = Criterion::Node;

    [[noreturn]] void fail(const QString &problem) const
    {
        throw Error(Error::InvalidArgument, QStringLiteral("Invalid criterion \"%1\": %2.").arg(m_text, problem));
    }

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text[m_pos]; }
    QString rest() const { return m_text.mid(m_pos, 20); }
    void skipBlanks()
    {
        while (!atEnd() && m_text[m_pos].isSpace())
            ++m_pos;
    }

    // A keyword is a whole word: followed by a blank, a parenthesis, a quote or the end.
    bool peekKeyword(QStringView word) const
    {
        if (m_text.size() - m_pos < word.size())
            return false;
        if (QStringView(m_text).mid(m_pos, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            return false;
        const qsizetype after = m_pos + word.size();
        return after >= m_text.size() || m_text[after].isSpace() || m_text[after] == u'(' || m_text[after] == u'\'' ||
               m_text[after] == u'#';
    }
    bool takeKeyword(QStringView word)
    {
        skipBlanks();
        if (!peekKeyword(word))
            return false;
        m_pos += word.size();
        return true;
    }

    int addNode(Node node)
    {
        m_result.m_nodes.push_back(std::move(node));
        return static_cast<int>(m_result.m_nodes.size()) - 1;
    }

    int join(Node::Kind kind, int left, int right)
    {
        if (!m_allowJoins)
            fail(QStringLiteral("Find accepts a single comparison, not terms joined by AND or OR"));
        Node n{kind, left, right, {}};
        return addNode(std::move(n));
    }

    int parseOr()
    {
        int left = parseAnd();
        while (takeKeyword(u"OR"))
            left = join(Node::Or, left, parseAnd());
        return left;
    }

    int parseAnd()
    {
        int left = parsePrimary();
        while (takeKeyword(u"AND"))
            left = join(Node::And, left, parsePrimary());
        return left;
    }

    int parsePrimary()
    {
        skipBlanks();
        if (peek() == u'(') {
            if (!m_allowJoins)
                fail(QStringLiteral("Find accepts a single comparison without parentheses"));
            ++m_pos;
            const int inner = parseOr();
            skipBlanks();
            if (peek() != u')')
                fail(QStringLiteral("a \")\" is missing at position %1").arg(m_pos + 1));
            ++m_pos;
            return inner;
        }
        Node n{Node::Term, -1, -1, parseTerm()};
        return addNode(std::move(n));
    }

    CriterionTerm parseTerm()
    {
        const QStringView name = parseFieldName();
        const auto info = m_lookup(name);
        if (!info)
            throw Error(Error::FieldNotFound,
                        QStringLiteral("Invalid criterion \"%1\": the recordset has no field \"%2\".")
                            .arg(m_text, name.toString()));
        CriterionTerm term;
        term.field = info->index;
        term.type = info->type;
        term.op = parseOperator(name);
        skipBlanks();
        const auto [raw, kind] = parseLiteral();
        bindLiteral(term, *info, raw, kind);
        return term;
    }

    // Views into the criterion text: a lookup by id parses one criterion per row, and copies add up.
    QStringView parseFieldName()
    {
        skipBlanks();
        if (peek() == u'[') {
            const qsizetype close = m_text.indexOf(u']', m_pos + 1);
            if (close < 0)
                fail(QStringLiteral("a \"]\" is missing after the field name"));
            const QStringView name = QStringView(m_text).mid(m_pos + 1, close - m_pos - 1).trimmed();
            m_pos = close + 1;
            if (name.isEmpty())
                fail(QStringLiteral("the field name is empty"));
            return name;
        }
        const qsizetype start = m_pos;
        while (!atEnd() && (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == u'_' || m_text[m_pos] == u'$' ||
                            m_text[m_pos] == u'#' || m_text[m_pos] == u'.'))
            ++m_pos;
        if (m_pos == start)
            fail(QStringLiteral("a field name is expected at position %1").arg(start + 1));
        return QStringView(m_text).mid(start, m_pos - start);
    }

    CompareOp parseOperator(QStringView field)
    {
        skipBlanks();
        const QChar c = peek();
        const QChar next = m_pos + 1 < m_text.size() ? m_text[m_pos + 1] : QChar();
        if (c == u'<' && next == u'>') {
            m_pos += 2;
            return CompareOp::NotEqual;
        }
        if (c == u'<' && next == u'=') {
            m_pos += 2;
            return CompareOp::LessEqual;
        }
        if (c == u'>' && next == u'=') {
            m_pos += 2;
            return CompareOp::GreaterEqual;
        }
        if (c == u'<') {
            ++m_pos;
            return CompareOp::Less;
        }
        if (c == u'>') {
            ++m_pos;
            return CompareOp::Greater;
        }
        if (c == u'=') {
            ++m_pos;
            return CompareOp::Equal;
        }
        if (takeKeyword(u"LIKE"))
            return CompareOp::Like;
        fail(QStringLiteral("an operator (=, <>, <, >, <=, >=, LIKE) is expected after \"%1\"").arg(field.toString()));
    }

    enum class LiteralKind { Quoted, Date, Number, Word, Null };

    // The literal's text: a view into the criterion, or into m_quoted for a quoted text.
    std::pair<QStringView, LiteralKind> parseLiteral()
    {
        if (atEnd())
            fail(QStringLiteral("a value is expected at the end"));
        if (peek() == u'\'') {
            m_quoted = parseQuoted();
            return {m_quoted, LiteralKind::Quoted};
        }
        if (peek() == u'#') {
            const qsizetype close = m_text.indexOf(u'#', m_pos + 1);
            if (close < 0)
                fail(QStringLiteral("a closing \"#\" is missing after the date"));
            const QStringView raw = QStringView(m_text).mid(m_pos + 1, close - m_pos - 1);
            m_pos = close + 1;
            return {raw, LiteralKind::Date};
        }
        if (peek() == u'=' || peek() == u'<' || peek() == u'>')
            fail(QStringLiteral("a value is expected at position %1, not \"%2\"").arg(m_pos + 1).arg(peek()));
        const qsizetype start = m_pos;
        while (!atEnd() && !m_text[m_pos].isSpace() && m_text[m_pos] != u')' && m_text[m_pos] != u'(')
            ++m_pos;
        const QStringView word = QStringView(m_text).mid(start, m_pos - start);
        if (word.isEmpty())
            fail(QStringLiteral("a value is expected at position %1").arg(start + 1));
        if (word.compare(u"NULL", Qt::CaseInsensitive) == 0)
            return {word, LiteralKind::Null};
        return {word, isNumberLiteral(word) ? LiteralKind::Number : LiteralKind::Word};
    }

    QString parseQuoted()
    {
        QString out;
        ++m_pos; // opening quote
        while (!atEnd()) {
            const QChar c = m_text[m_pos++];
            if (c != u'\'') {
                out.append(c);
                continue;
            }
            if (peek() == u'\'') { // '' is one quote
                out.append(u'\'');
                ++m_pos;
                continue;
            }
            return out;
        }
        fail(QStringLiteral("a closing quote is missing"));
    }

    void bindLiteral(CriterionTerm &term, const Criterion::FieldInfo &info, QStringView raw, LiteralKind kind)
    {
        if (kind == LiteralKind::Null) {
            if (term.op != CompareOp::Equal && term.op != CompareOp::NotEqual)
                fail(QStringLiteral("NULL can only be compared with = or <>"));
            return;
        }
        if (term.op == CompareOp::Like) {
            QString pattern = raw.toString().toCaseFolded();
            pattern.replace(u'*', u'\x01').replace(u'%', u'\x01');
            term.likePattern = pattern;
            return;
        }
        if (isWholeNumberType(info.type) && kind != LiteralKind::Date) {
            // A fractional literal stays a double so that "ID = 5.5" simply matches nothing.
            bool ok = false;
            const qlonglong whole = raw.trimmed().toLongLong(&ok);
            if (ok) {
                term.literal = whole;
                return;
            }
            const double real = QLocale::c().toDouble(raw.trimmed(), &ok);
            if (!ok)
                literalMismatch(info, raw);
            term.literal = real;
            return;
        }
        try {
            term.literal = toFieldType(raw.toString(), info.type, info.name);
        } catch (const Error &) {
            literalMismatch(info, raw);
        }
    }

    [[noreturn]] void literalMismatch(const Criterion::FieldInfo &info, QStringView raw) const
    {
        throw Error(Error::TypeMismatch,
                    QStringLiteral("Invalid criterion \"%1\": \"%2\" cannot be compared with field \"%3\".")
                        .arg(m_text, raw.toString(), info.name));
    }

    const QString &m_text;
    const Criterion::FieldLookup &m_lookup;
    bool m_allowJoins;
    qsizetype m_pos = 0;
    QString m_quoted;
    Criterion m_result;
};

Criterion Criterion::parse(const QString &text, const FieldLookup &lookup, bool allowJoins)
{
    return CriterionParser(text, lookup, allowJoins).run();
}

} // namespace talv::internal

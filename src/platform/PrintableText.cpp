#include "PrintableText.h"

namespace talv {

namespace {

// How many UTF-16 units the code point at `at` takes when it is printable; 0 when it is not.
qsizetype printableUnits(const QString &text, qsizetype at)
{
    const QChar c = text.at(at);
    if (c.isHighSurrogate()) {
        if (at + 1 >= text.size() || !text.at(at + 1).isLowSurrogate())
            return 0;
        const char32_t code = QChar::surrogateToUcs4(c, text.at(at + 1));
        return QChar::isNonCharacter(code) ? 0 : 2;
    }
    if (c.isLowSurrogate() || c.category() == QChar::Other_Control || QChar::isNonCharacter(c.unicode()))
        return 0;
    return 1;
}

} // namespace

QString printableOnly(const QString &text)
{
    int pos = 0;
    QString copy = text;
    PrintableTextValidator().validate(copy, pos);
    return copy;
}

QValidator::State PrintableTextValidator::validate(QString &input, int &pos) const
{
    QString kept;
    kept.reserve(input.size());
    int keptPos = pos;
    for (qsizetype at = 0; at < input.size();) {
        const qsizetype units = printableUnits(input, at);
        if (units > 0) {
            kept.append(QStringView(input).mid(at, units));
            at += units;
            continue;
        }
        if (at < pos)
            --keptPos;
        ++at;
    }
    input = kept;
    pos = qBound(0, keptPos, int(input.size()));
    return Acceptable;
}

} // namespace talv

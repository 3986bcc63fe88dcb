#pragma once

#include <QString>
#include <QValidator>

namespace talv {

// The text without the characters that cannot be stored and shown again: control characters
// (NUL, tabs, line breaks ...), unpaired surrogates and Unicode non-characters (U+FFFE ...).
QString printableOnly(const QString &text);

// Keeps a text box to printable characters: whatever else is typed or pasted is dropped, the
// rest stays, and the cursor keeps its place among what stays.
class PrintableTextValidator : public QValidator
{
    Q_OBJECT
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override;
};

} // namespace talv

#include "SpellingHighlighter.h"

#include "Speller.h"

namespace talv {

SpellingHighlighter::SpellingHighlighter(QTextDocument *document, std::shared_ptr<Speller> speller)
    : QSyntaxHighlighter(document), m_speller(std::move(speller)), m_misspelt(misspeltFormat())
{
    // A word added in another field, or by the spelling dialog, is no longer wrong here either.
    connect(m_speller.get(), &Speller::wordsAccepted, this, &SpellingHighlighter::rehighlight);
}

QTextCharFormat SpellingHighlighter::misspeltFormat()
{
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    format.setUnderlineColor(Qt::red);
    return format;
}

void SpellingHighlighter::highlightBlock(const QString &text)
{
    for (const WordSpan &span : wordsOf(text)) {
        if (!m_speller->isCorrect(text.mid(span.start, span.length)))
            setFormat(int(span.start), int(span.length), m_misspelt);
    }
}

} // namespace talv

#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include <memory>

namespace talv {

class Speller;

// Underlines the misspelt words of a document as the user types. The underline lives in the
// layout, not in the text, so it never reaches what the field stores.
class SpellingHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    SpellingHighlighter(QTextDocument *document, std::shared_ptr<Speller> speller);

    // How a misspelt word is marked.
    static QTextCharFormat misspeltFormat();

protected:
    void highlightBlock(const QString &text) override;

private:
    std::shared_ptr<Speller> m_speller;
    QTextCharFormat m_misspelt;
};

} // namespace talv

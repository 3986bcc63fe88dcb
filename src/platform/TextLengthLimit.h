#pragma once

#include <QList>
#include <QObject>
#include <QStringView>

class QTextCursor;
class QTextDocument;

namespace talv {

// Where the characters of `text` begin as the user sees them (grapheme clusters: an emoji with
// its skin tone, a letter with its combining accents), with text.size() as the last entry.
QList<qsizetype> characterBoundaries(QStringView text);

// The number of characters of `text` as the user sees them.
qsizetype visibleLength(QStringView text);

// Keeps a document within a number of visible characters, whatever brought the text in: typing,
// pasting, dropping, code or undo. It acts after each edit, so no way in is missed: what the edit
// added beyond the limit is cut from the end of what it added, in the same undo step.
class TextLengthLimit : public QObject
{
    Q_OBJECT

public:
    explicit TextLengthLimit(QTextDocument &document, QObject *parent = nullptr);

    // 0: no limit.
    int maximum() const { return m_maximum; }
    // A lower limit cuts the text already there from its end.
    void setMaximum(int maximum);
    // Cuts `text` to what fits in place of the selection of `at` before it goes in, so a huge
    // paste is not laid out first only to be cut; answers how many characters it cut.
    int fit(QString &text, const QTextCursor &at) const;
    // True while the limit itself is editing the document.
    bool isCutting() const { return m_cutting; }

signals:
    // An edit lost `characters` visible characters to the limit.
    void cut(int characters);

private:
    void noteChange(int from, int added);
    void enforce();
    // Removes up to `count` characters of the text, from the end of [from, to) backwards;
    // answers how many it removed.
    qsizetype cutBackwards(qsizetype from, qsizetype to, qsizetype count);

    QTextDocument &m_document;
    int m_maximum = 0;
    qsizetype m_addedFrom = -1; // the text the last edits added, in document positions
    qsizetype m_addedTo = -1;
    bool m_cutting = false;
};

} // namespace talv

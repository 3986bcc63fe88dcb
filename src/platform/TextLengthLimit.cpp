#include "TextLengthLimit.h"

#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace talv {

QList<qsizetype> characterBoundaries(QStringView text)
{
    QList<qsizetype> boundaries;
    boundaries.reserve(text.size() + 1);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    for (qsizetype at = 0; at >= 0; at = finder.toNextBoundary())
        boundaries.append(at);
    if (boundaries.isEmpty() || boundaries.constLast() != text.size())
        boundaries.append(text.size());
    return boundaries;
}

qsizetype visibleLength(QStringView text)
{
    return characterBoundaries(text).size() - 1;
}

TextLengthLimit::TextLengthLimit(QTextDocument &document, QObject *parent) : QObject(parent), m_document(document)
{
    // A document without a layout reports no changes.
    m_document.documentLayout();
    connect(&m_document, &QTextDocument::contentsChange, this,
            [this](int from, int, int added) { noteChange(from, added); });
    // Edits are safe here, unlike during contentsChange, where the layout is still catching up.
    connect(&m_document, &QTextDocument::contentsChanged, this, &TextLengthLimit::enforce);
}

void TextLengthLimit::setMaximum(int maximum)
{
    m_maximum = std::max(0, maximum);
    m_addedFrom = m_addedTo = -1;
    enforce();
}

int TextLengthLimit::fit(QString &text, const QTextCursor &at) const
{
    if (m_maximum <= 0 || text.isEmpty())
        return 0;
    const QList<qsizetype> boundaries = characterBoundaries(text);
    const qsizetype length = boundaries.size() - 1;
    const qsizetype kept = visibleLength(m_document.toPlainText()) - visibleLength(at.selectedText());
    const qsizetype room = std::clamp<qsizetype>(m_maximum - kept, 0, length);
    text.truncate(boundaries.at(room));
    return int(length - room);
}

void TextLengthLimit::noteChange(int from, int added)
{
    if (m_cutting)
        return;
    if (m_addedFrom < 0) {
        m_addedFrom = from;
        m_addedTo = from + added;
    } else {
        m_addedFrom = std::min<qsizetype>(m_addedFrom, from);
        m_addedTo = std::max<qsizetype>(m_addedTo, from + added);
    }
}

void TextLengthLimit::enforce()
{
    if (m_cutting)
        return;
    const qsizetype addedFrom = m_addedFrom;
    const qsizetype addedTo = m_addedTo;
    m_addedFrom = m_addedTo = -1;
    // A character the user sees is at least one UTF-16 unit: a short text cannot be too long.
    if (m_maximum <= 0 || m_document.characterCount() - 1 <= m_maximum)
        return;
    const qsizetype excess = visibleLength(m_document.toPlainText()) - m_maximum;
    if (excess <= 0)
        return;

    m_cutting = true;
    QTextCursor cursor(&m_document);
    cursor.joinPreviousEditBlock();
    qsizetype removed = 0;
    if (addedFrom >= 0 && addedTo > addedFrom)
        removed = cutBackwards(addedFrom, addedTo, excess);
    // The edit added too little to make room (a lower limit, a combining mark): cut the end.
    if (removed < excess)
        removed += cutBackwards(0, m_document.characterCount() - 1, excess - removed);
    cursor.endEditBlock();
    m_cutting = false;
    emit cut(int(removed));
}

qsizetype TextLengthLimit::cutBackwards(qsizetype from, qsizetype to, qsizetype count)
{
    const QList<qsizetype> boundaries = characterBoundaries(m_document.toPlainText());
    // The end of the range may fall inside a character (a base letter typed before an accent
    // that was already there): the whole character goes.
    auto end = std::lower_bound(boundaries.cbegin(), boundaries.cend(), std::min(to, boundaries.constLast()));
    auto begin = end;
    qsizetype taken = 0;
    while (taken < count && begin != boundaries.cbegin() && *(begin - 1) >= from) {
        --begin;
        ++taken;
    }
    if (taken == 0)
        return 0;
    QTextCursor cursor(&m_document);
    cursor.setPosition(int(*begin));
    cursor.setPosition(int(*end), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    return taken;
}

} // namespace talv

#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace talv {

// A column's list of choices in the grid's list text: items separated by "|", each either plain
// text ("Open|Closed") or "#key;text" when the cell holds a key that is shown as text
// ("#1;Head office|#2;Branch|"). A cell whose value is not a listed key shows the value itself.
class FlexGridValueList
{
public:
    FlexGridValueList() = default;
    explicit FlexGridValueList(const QString &source);

    bool IsEmpty() const { return m_keys.isEmpty(); }
    qsizetype Count() const { return m_keys.size(); }
    const QString &KeyAt(qsizetype i) const { return m_keys.at(i); }
    const QString &TextAt(qsizetype i) const { return m_texts.at(i); }
    // True when any item maps a key to a different text, so cells must be translated for display.
    bool Translates() const { return !m_textByKey.isEmpty(); }
    QString DisplayText(const QString &value) const;

private:
    QStringList m_keys;
    QStringList m_texts;
    QHash<QString, QString> m_textByKey; // only the "#key;text" items
};

} // namespace talv

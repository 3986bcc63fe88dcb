#pragma once

#include <QHash>
#include <QString>
#include <QStringView>
#include <QVariant>

namespace talv {

// Result columns such as a group type repeat a handful of texts over many rows; holding each
// distinct text once saves an allocation per row and most of the memory. One interner serves one
// column; a column that turns out to hold many distinct texts stops being interned.
class TextInterner
{
public:
    // The text as a value, the held one when the text was seen before.
    QVariant take(QStringView text)
    {
        if (m_givenUp)
            return QVariant(text.toString());
        const size_t hash = qHash(text);
        if (const QVariant *held = find(hash, text))
            return *held;
        QVariant value(text.toString());
        remember(hash, value);
        return value;
    }

    // Replaces a text value by the held one, or holds it.
    void intern(QVariant &value)
    {
        if (m_givenUp || value.typeId() != QMetaType::QString || value.isNull())
            return;
        const QStringView text = *static_cast<const QString *>(value.constData());
        const size_t hash = qHash(text);
        if (const QVariant *held = find(hash, text))
            value = *held;
        else
            remember(hash, value);
    }

private:
    // Keyed by the text's hash, so that looking up a repeated text costs no allocation; texts
    // whose hashes collide are simply not shared.
    const QVariant *find(size_t hash, QStringView text) const
    {
        const auto it = m_seen.constFind(hash);
        if (it != m_seen.cend() && *static_cast<const QString *>(it->constData()) == text)
            return &it.value();
        return nullptr;
    }

    void remember(size_t hash, const QVariant &value)
    {
        if (m_seen.contains(hash))
            return;
        if (m_seen.size() >= kMaxDistinct) {
            m_givenUp = true;
            m_seen.clear();
            return;
        }
        m_seen.insert(hash, value);
    }

    static constexpr qsizetype kMaxDistinct = 256;
    QHash<size_t, QVariant> m_seen;
    bool m_givenUp = false;
};

} // namespace talv

#include "FlexGridValueList.h"

namespace talv {

FlexGridValueList::FlexGridValueList(const QString &source)
{
    const QStringList items = source.split(QLatin1Char('|'));
    for (const QString &item : items) {
        // The list text conventionally ends with "|", which leaves an empty last item.
        if (item.isEmpty())
            continue;
        if (item.startsWith(QLatin1Char('#'))) {
            const qsizetype semicolon = item.indexOf(QLatin1Char(';'));
            const QString key = semicolon < 0 ? item.mid(1) : item.mid(1, semicolon - 1);
            const QString text = semicolon < 0 ? key : item.mid(semicolon + 1);
            m_keys.append(key);
            m_texts.append(text);
            if (!m_textByKey.contains(key))
                m_textByKey.insert(key, text);
        } else {
            m_keys.append(item);
            m_texts.append(item);
        }
    }
}

QString FlexGridValueList::DisplayText(const QString &value) const
{
    const auto it = m_textByKey.constFind(value);
    return it == m_textByKey.cend() ? value : *it;
}

} // namespace talv

#pragma once

#include "platform/UiServices.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace talv::host {

// The host's texts behind the message ids that the screens pass to AppManager::Message. A text
// may hold "%1" ... "%9", filled from the caller's arguments in order.
class MessageCatalogue
{
public:
    struct Entry {
        QString text;
        MsgButtons buttons = MsgButtons::OK;
        MsgIcon icon = MsgIcon::Information;
    };

    // The catalogue of every id the element-group screens use.
    MessageCatalogue();

    // The entry of `messageId` (ids match without regard to case); an unknown id answers an OK
    // box that names the id, so a missing text shows up instead of silently answering.
    Entry entry(const QString &messageId) const;
    bool contains(const QString &messageId) const;
    QStringList ids() const;

    // The text with its placeholders filled; a placeholder without an argument becomes empty and
    // arguments are never read as placeholders themselves.
    QString format(const QString &messageId, const QStringList &arguments) const;

    // Shows the message through UiServices::current() and answers the pressed button (Answer::...).
    int show(const QString &messageId, const QStringList &arguments = {}) const;

    // Adds or replaces an entry (the host's own messages).
    void add(const QString &messageId, Entry entry);

private:
    QHash<QString, Entry> m_entries; // keyed by the id in capitals
};

// Fills "%1" ... "%9" in one pass.
QString fillPlaceholders(const QString &text, const QStringList &arguments);

} // namespace talv::host

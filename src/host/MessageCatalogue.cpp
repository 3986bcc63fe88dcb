#include "MessageCatalogue.h"

#include <algorithm>

namespace talv::host {

namespace {

QString key(const QString &messageId)
{
    return messageId.trimmed().toUpper();
}

} // namespace

QString fillPlaceholders(const QString &text, const QStringList &arguments)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'%' && i + 1 < text.size() && text.at(i + 1) >= u'1' && text.at(i + 1) <= u'9') {
            const qsizetype index = text.at(i + 1).unicode() - u'1';
            if (index < arguments.size())
                out += arguments.at(index);
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

MessageCatalogue::MessageCatalogue()
{
    using B = MsgButtons;
    using I = MsgIcon;
    const struct {
        const char *id;
        const char *text;
        B buttons;
        I icon;
    } texts[] = {
        // Shared by the screens of the application.
        {"APP001",
         "Attribute maintenance works on one field. Click into the field whose history you want to see, then try "
         "again.",
         B::OK, I::Information},
        {"APP002", "Printing is not available from this screen.", B::OK, I::Information},
        {"APP003",
         "There is no record at that position. Type a number between 1 and the number of records in the list.", B::OK,
         I::Exclamation},
        {"APP027",
         "Copy the data of the selected element group into the group on screen?\n\n"
         "Its description, comments and member type are replaced; the members and references of the selected "
         "group are added to its lists. The group's name, type and key stay as they are.",
         B::YesNo, I::Question},
        {"APP028", "Nothing was copied.", B::OK, I::Information},
        {"APP029",
         "The group on screen has changes that are not saved yet. They must be saved before data can be copied "
         "into it.\n\nPress OK to save them now, or Cancel to stop.",
         B::OKCancel, I::Question},
        {"APP036", "The data could not be copied.\n\n%1", B::OK, I::Exclamation},
        {"APP043",
         "No search criteria were entered. Search for all element groups?\n\nThis may take a while on a large "
         "database.",
         B::YesNo, I::Question},
        {"APP046", "This record no longer exists. Another user may have deleted it; the list may need to be refreshed.",
         B::OK, I::Exclamation},
        // The element-group screens.
        {"EGP002",
         "Delete this element group?\n\nIts member list and references are deleted with it. This cannot be "
         "undone.",
         B::YesNo, I::Question},
        {"EGP003", "The element could not be found. It may have been deleted by another user.", B::OK, I::Exclamation},
        {"EGP004", "Save the changes to this element group?", B::YesNoCancel, I::Question},
        {"EGP005", "Please enter a group name before saving.", B::OK, I::Exclamation},
        {"EGP006", "Please choose a group type before saving.", B::OK, I::Exclamation},
        {"EGP007", "Please choose the kind of members (group member type) before saving.", B::OK, I::Exclamation},
        {"EGP008",
         "The element group could not be loaded. It may have been deleted, or the database is not "
         "reachable.",
         B::OK, I::Critical},
        {"EGP009", "The group ID must be a whole number, such as 125.", B::OK, I::Exclamation},
        {"EGP010", "Another element group already has this name. Please choose a different name.", B::OK,
         I::Exclamation},
        {"EGP011", "No matching %1 record was found.", B::OK, I::Information},
        {"MGA013", "The %1 screen could not be opened.", B::OK, I::Exclamation},
    };
    for (const auto &t : texts)
        add(QString::fromLatin1(t.id), Entry{QString::fromUtf8(t.text), t.buttons, t.icon});
}

void MessageCatalogue::add(const QString &messageId, Entry entry)
{
    m_entries.insert(key(messageId), std::move(entry));
}

bool MessageCatalogue::contains(const QString &messageId) const
{
    return m_entries.contains(key(messageId));
}

QStringList MessageCatalogue::ids() const
{
    QStringList all = m_entries.keys();
    std::sort(all.begin(), all.end());
    return all;
}

MessageCatalogue::Entry MessageCatalogue::entry(const QString &messageId) const
{
    const auto it = m_entries.constFind(key(messageId));
    if (it != m_entries.cend())
        return it.value();
    return Entry{QStringLiteral("Message %1 has no text in this version of the program.").arg(messageId.trimmed()),
                 MsgButtons::OK, MsgIcon::Exclamation};
}

QString MessageCatalogue::format(const QString &messageId, const QStringList &arguments) const
{
    if (!contains(messageId)) {
        // Show what the caller wanted to say, so the box still helps.
        QString text = entry(messageId).text;
        if (!arguments.isEmpty())
            text += QStringLiteral("\n\n") + arguments.join(u'\n');
        return text;
    }
    return fillPlaceholders(entry(messageId).text, arguments);
}

int MessageCatalogue::show(const QString &messageId, const QStringList &arguments) const
{
    const Entry e = entry(messageId);
    return UiServices::current().messageBox(format(messageId, arguments), e.buttons, e.icon, QString());
}

} // namespace talv::host

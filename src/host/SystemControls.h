#pragma once

#include <QSqlDatabase>
#include <QString>

#include <optional>

namespace talv::host {

// The system-control entries: what the database records about the fields of the screens (their
// kind, whether they hold rich text, how wide they may be), shown to the user by F9.
class SystemControls
{
public:
    struct Entry {
        QString formName;
        QString controlName;
        QString controlType;
        QString isRichText;
        QString maxWidth;
        QString description;
    };

    explicit SystemControls(QSqlDatabase connection) : m_connection(std::move(connection)) {}

    // The entry of the control named `controlName`, the one of `formName` first when several
    // screens have a control of that name; nothing when none has. Raises talv::Error (Database).
    std::optional<Entry> find(const QString &controlName, const QString &formName) const;

    // The entry as the F9 box shows it, one line per column.
    static QString describe(const Entry &entry);

private:
    QSqlDatabase m_connection;
};

} // namespace talv::host

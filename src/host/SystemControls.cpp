#include "SystemControls.h"

#include "BoundSql.h"

#include <QObject>

namespace talv::host {

std::optional<SystemControls::Entry> SystemControls::find(const QString &controlName, const QString &formName) const
{
    const RecordsetPtr rows = sql::recordset(
        m_connection,
        QStringLiteral("SELECT form_name, control_name, control_type, is_rich_text, max_width, control_desc "
                       "FROM system_control WHERE control_name = ? "
                       "ORDER BY CASE WHEN form_name = ? THEN 0 ELSE 1 END, form_name"),
        {controlName, formName});
    if (rows->RecordCount() == 0)
        return std::nullopt;
    rows->MoveFirst();
    const auto text = [&rows](const char *field) { return rows->Value(QString::fromLatin1(field)).toString(); };
    return Entry{text("form_name"),    text("control_name"), text("control_type"),
                 text("is_rich_text"), text("max_width"),    text("control_desc")};
}

QString SystemControls::describe(const Entry &entry)
{
    return QObject::tr("Form: %1\nControl: %2\nType: %3\nRich text: %4\nMaximum width: %5\nDescription: %6")
        .arg(entry.formName, entry.controlName, entry.controlType, entry.isRichText, entry.maxWidth, entry.description);
}

} // namespace talv::host

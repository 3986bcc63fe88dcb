#pragma once

#include <QString>

namespace talv {
class AppManager;
class FlexGrid;
} // namespace talv

namespace Misc_Functions {

// Rewrites every heading cell of row 0 as a caption: words split at blanks and underscores,
// each capitalised, "id" as "ID", one blank between words ("element_group_id" becomes
// "Element Group ID"). Only row 0 changes.
void FormatGridCaptions(talv::FlexGrid &grid);

// Asks the host whether `table` has a row whose `column` equals `value`. Query errors pass to
// the caller.
bool RecordExists(const QString &table, const QString &column, qint32 value, talv::AppManager &appManager);

} // namespace Misc_Functions

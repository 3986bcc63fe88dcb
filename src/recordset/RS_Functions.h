#pragma once

#include "platform/Recordset.h"

namespace talv {
class FlexGrid;
}

// Free functions that turn the host's query results into sets the screens own and move rows into
// the working list. They keep no state, match rows by their "ID" field and copy values by field
// name, driven by the target's fields. Only MergeRecord catches errors; the others let recordset
// errors pass to the calling command (rows appended before a failure stay).
namespace RS_Functions {

// Releases `result` and makes it a new, open, empty set with the source's fields in order:
// "ID", "EO_NUMBER", "UNCERTAINTY_DISTANCE" and "ELEMENT_SUBNATIONAL_ID" keep their type, every
// other field becomes variable-length text of the source's defined size.
void CloneStructure(talv::Recordset &source, talv::RecordsetPtr &result);

// CloneStructure, then a copy of every visible source row; the source ends at EOF and the last
// copied row of `result` is current.
void CopyRecordset(talv::Recordset &source, talv::RecordsetPtr &result);

// Appends to `target` the source rows of the grid's selected rows (ids in column 0, selection
// order) that it lacks; ids the source lacks are skipped. Then persists and reopens the target,
// which leaves it open on its first row. Nothing happens without a selection or source rows.
void AddSelectedToList(talv::FlexGrid &grid, talv::Recordset &source, talv::Recordset &target);

// Without a selection nothing happens; otherwise the target is emptied first and then filled as
// AddSelectedToList does.
void ReplaceListWithSelected(talv::FlexGrid &grid, talv::Recordset &source, talv::Recordset &target);

// Replaces `result` with a clone of the source's layout holding the source row of the grid's
// current row (none when its id is not in the source). A grid without data rows, or an empty
// source, leaves `result` as it was.
void MakeCurrentRowRecordset(talv::FlexGrid &grid, talv::Recordset &source, talv::RecordsetPtr &result);

// Removes every row and keeps the layout; the set ends open, empty and unfiltered.
void ClearRecordset(talv::Recordset &rs);

// Overwrites the target row with the record's id, or appends one, from the record set's current
// row. Errors are reported in an "Application Error" box and end the merge where it got to.
void MergeRecord(talv::Recordset &record, talv::Recordset &target);

} // namespace RS_Functions

#pragma once

#include "platform/Recordset.h"

// Free functions that turn the host's query results into sets the screens own. They keep no
// state and let recordset errors pass to the calling command.
namespace RS_Functions {

// Releases `result` and makes it a new, open, empty set with the source's fields in order:
// "ID", "EO_NUMBER", "UNCERTAINTY_DISTANCE" and "ELEMENT_SUBNATIONAL_ID" keep their type, every
// other field becomes variable-length text of the source's defined size.
void CloneStructure(talv::Recordset &source, talv::RecordsetPtr &result);

// CloneStructure, then a copy of every visible source row; the source ends at EOF and the last
// copied row of `result` is current.
void CopyRecordset(talv::Recordset &source, talv::RecordsetPtr &result);

} // namespace RS_Functions

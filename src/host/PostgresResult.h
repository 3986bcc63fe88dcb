#pragma once

#include "platform/Recordset.h"

struct pg_result;

namespace talv::host {

// The rows of a PostgreSQL answer, taken whole from libpq (text format), as an open recordset with
// the cursor on the first row. Qt's driver reads a forward-only query one row per network result
// and makes a variant per value; here the values go to the set as the server sent them. Fields and
// values come out as Qt's driver would give them: its type mapping, its sizes, its reading of dates
// and times. A value that its field cannot hold raises talv::Error (TypeMismatch).
RecordsetPtr recordsetFromResult(const pg_result *result);

} // namespace talv::host

#pragma once

#include <QSqlDatabase>

namespace talv::host {

// Replaces SQLite's ASCII-only UPPER and LOWER on this connection with Unicode-aware ones, so that
// "UPPER(element_group_name) LIKE 'ÉTANG%'" agrees with the screen's own upper-casing.
void registerUnicodeCaseFunctions(QSqlDatabase &db);

} // namespace talv::host

#pragma once

#include "platform/Recordset.h"

#include <QSqlDatabase>
#include <QString>

namespace talv::host {

// The audit rows of a record (and of one column when `columnName` is not empty), oldest first,
// in the viewer's twelve columns: ID, CHANGE_DATE, USER_NAME, TABLE_NAME, ACTION, COLUMN_NAME,
// OLD_VALUE, COMMENTS, PRIMARY_KEY, ORG_UNIT_ID, RECORD_ID, AUDIT_LOG_COLUMN_ID.
RecordsetPtr auditTrailRows(const QSqlDatabase &db, const QString &tableName, qint32 recordId,
                            const QString &columnName);

} // namespace talv::host

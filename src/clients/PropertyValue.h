#pragma once

#include "BusinessClass.h"

#include <QDateTime>
#include <QVariant>

namespace talv::clients {

// `value` as the property holds it: whole numbers as qlonglong, dates as QDateTime, text as
// QString; null stays null. Dates are wall-clock times without a zone, marked as UTC times
// (read them with date(), time() and toString()); they are also taken as "yyyy/MM/dd", the form
// the record screen writes. Raises TypeMismatch naming the property.
QVariant toPropertyValue(const QVariant &value, const PropertyInfo &property);

// A value read from either engine (SQLite answers dates as text) as the property holds it.
QVariant fromColumnValue(const QVariant &value, const PropertyInfo &property);

// The value to bind for a column: dates as ISO text, which both engines store and compare
// correctly, and typed nulls.
QVariant toColumnValue(const QVariant &value, const PropertyInfo &property);

// The current local time as the record stamps keep it: wall clock, whole seconds.
QDateTime stampNow();

} // namespace talv::clients

#pragma once

#include "Recordset.h"

#include <QVariant>

namespace talv::internal {

// Converts `value` to what a field of type `type` holds; a null or invalid value stays null.
// Raises TypeMismatch, naming the field, when the value cannot be held.
QVariant toFieldType(const QVariant &value, FieldType type, const QString &fieldName);
// Whether a non-null value already has the type a field of `type` holds (no conversion needed).
bool holdsFieldType(const QVariant &value, FieldType type);

// Orders two non-null values that a field of `type` holds (the second may be a criterion
// literal: for whole-number fields a double is allowed). Text compares without regard to case.
int compareValues(const QVariant &stored, const QVariant &other, FieldType type);

// The text a grid or a LIKE comparison sees for a stored value (empty for null).
QString displayText(const QVariant &value);

// Dates of either kind on one time line, for comparison and hashing.
qint64 dateKey(const QVariant &value);

bool isWholeNumberType(FieldType type);

} // namespace talv::internal

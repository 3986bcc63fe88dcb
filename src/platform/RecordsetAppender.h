#pragma once

#include "Recordset.h"

#include <QVariant>

namespace talv {

// Appends rows to an open recordset value by value, in field order, without a variant per value:
// the path of every reader of query results. A value goes into its field as SetValue would convert
// it; one that does not convert raises TypeMismatch and takes the row's earlier values back, as
// does a row with too many or too few values at EndRow. Each finished row is an ordinary row at
// once (current, visible under a filter until the filter is set again, indexed); a row left
// half-way when the appender goes is taken back.
class RecordsetAppender
{
public:
    explicit RecordsetAppender(Recordset &recordset);
    ~RecordsetAppender();
    RecordsetAppender(const RecordsetAppender &) = delete;
    RecordsetAppender &operator=(const RecordsetAppender &) = delete;

    void AppendNull();
    void AppendWhole(qint64 value);
    void AppendReal(double value);
    // Text as UTF-8 bytes; a reader need not make a string of it.
    void AppendUtf8(const char *data, qsizetype size);
    void AppendValue(const QVariant &value);
    void EndRow();

private:
    internal::Column &nextColumn();
    [[noreturn]] void tooManyValues();
    void appendConverted(const QVariant &value);
    void dropRow();

    Recordset &m_rs;
    int m_field = 0; // the field the next value goes into
};

} // namespace talv

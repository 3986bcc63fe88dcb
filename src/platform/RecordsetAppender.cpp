#include "RecordsetAppender.h"

#include "RecordsetColumn.h"
#include "RecordsetIndex.h"
#include "RecordsetValue.h"

#include <limits>

namespace talv {

RecordsetAppender::RecordsetAppender(Recordset &recordset) : m_rs(recordset)
{
    m_rs.requireOpen();
}

RecordsetAppender::~RecordsetAppender()
{
    dropRow();
}

inline internal::Column &RecordsetAppender::nextColumn()
{
    if (m_field >= m_rs.m_fields.size()) [[unlikely]]
        tooManyValues();
    return m_rs.m_columns[static_cast<size_t>(m_field)];
}

void RecordsetAppender::tooManyValues()
{
    dropRow();
    throw Error(Error::InvalidArgument,
                QStringLiteral("More values were given than the %1 fields.").arg(m_rs.m_fields.size()));
}

void RecordsetAppender::dropRow()
{
    for (int f = 0; f < m_field; ++f)
        m_rs.m_columns[static_cast<size_t>(f)].removeLast();
    m_field = 0;
}

void RecordsetAppender::appendConverted(const QVariant &value)
{
    internal::Column &column = nextColumn();
    try {
        if (column.takesAsIs(value)) {
            column.append(value);
        } else {
            const Recordset::FieldDef &def = m_rs.m_fields[m_field];
            column.append(internal::toFieldType(value, def.type, def.name));
        }
    } catch (...) {
        dropRow();
        throw;
    }
    ++m_field;
}

void RecordsetAppender::AppendNull()
{
    nextColumn().appendNull();
    ++m_field;
}

void RecordsetAppender::AppendWhole(qint64 value)
{
    internal::Column &column = nextColumn();
    const bool fits = column.type() == FieldType::BigInt ||
                      (column.type() == FieldType::Integer && value >= std::numeric_limits<qint32>::min() &&
                       value <= std::numeric_limits<qint32>::max());
    if (!fits) {
        appendConverted(QVariant(static_cast<qlonglong>(value)));
        return;
    }
    column.appendWhole(value);
    ++m_field;
}

void RecordsetAppender::AppendReal(double value)
{
    internal::Column &column = nextColumn();
    if (column.type() != FieldType::Double) {
        appendConverted(QVariant(value));
        return;
    }
    column.appendReal(value);
    ++m_field;
}

void RecordsetAppender::AppendUtf8(const char *data, qsizetype size)
{
    internal::Column &column = nextColumn();
    if (column.type() != FieldType::VarChar) {
        appendConverted(QVariant(QByteArray(data, size)));
        return;
    }
    column.appendUtf8(data, size);
    ++m_field;
}

void RecordsetAppender::AppendValue(const QVariant &value)
{
    appendConverted(value);
}

void RecordsetAppender::EndRow()
{
    if (m_field != m_rs.m_fields.size()) {
        const int given = m_field;
        dropRow();
        throw Error(Error::InvalidArgument,
                    QStringLiteral("%1 values were given for %2 fields.").arg(given).arg(m_rs.m_fields.size()));
    }
    m_field = 0;
    m_rs.rowAppended();
    const qsizetype row = m_rs.m_physicalRows - 1;
    for (size_t f = 0; f < m_rs.m_indexes.size(); ++f)
        if (m_rs.m_indexes[f])
            m_rs.m_indexes[f]->insert(row, m_rs.cell(static_cast<int>(f), row));
}

} // namespace talv

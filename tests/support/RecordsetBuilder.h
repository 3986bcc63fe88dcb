#pragma once

#include "platform/Recordset.h"

#include <QVariant>

#include <initializer_list>
#include <utility>

namespace talv::test {

struct FieldSpec {
    const char *name;
    FieldType type;
    int definedSize = 0;
};

// An open recordset with the given layout and rows, cursor on the first row.
inline RecordsetPtr makeRecordset(std::initializer_list<FieldSpec> fields,
                                  std::initializer_list<std::initializer_list<QVariant>> rows = {})
{
    auto rs = std::make_shared<Recordset>();
    for (const FieldSpec &f : fields)
        rs->AppendField(QString::fromUtf8(f.name), f.type, f.definedSize);
    rs->Open();
    for (const auto &row : rows) {
        rs->AddNew();
        int i = 0;
        for (const QVariant &v : row)
            rs->Fields(i++).SetValue(v);
        rs->Update();
    }
    rs->MoveFirst();
    return rs;
}

// The values of one field over every visible row, without disturbing the caller's expectations
// about the cursor (it is left at EOF).
inline QVariantList column(Recordset &rs, const QString &field)
{
    QVariantList out;
    if (rs.RecordCount() == 0)
        return out;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
        out.append(rs.Value(field));
    return out;
}

} // namespace talv::test

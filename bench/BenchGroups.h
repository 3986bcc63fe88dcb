#pragma once

#include "platform/Recordset.h"

#include <QString>
#include <QVariantList>

#include <memory>

namespace talv::bench {

// Synthetic working-list rows (ID, Group_Name, Group_Type) and the plain struct the baselines use.
struct GroupRow {
    int id;
    QString name;
    QString type;
};

inline QString groupName(int id)
{
    return QStringLiteral("Element group %1").arg(id);
}

inline QString groupType(int id)
{
    static const char *const types[] = {"Plant Community", "Animal Assemblage", "Habitat Group", "Watershed Group"};
    return QString::fromLatin1(types[id % 4]);
}

inline GroupRow groupRow(int id)
{
    return {id, groupName(id), groupType(id)};
}

// An open set in the working-list layout holding the rows with ids idAt(0) .. idAt(rows - 1).
template <typename IdAt> RecordsetPtr makeGroupSet(int rows, IdAt idAt)
{
    auto rs = std::make_shared<Recordset>();
    rs->AppendField(QStringLiteral("ID"), FieldType::Integer, 4);
    rs->AppendField(QStringLiteral("Group_Name"), FieldType::VarChar, 120);
    rs->AppendField(QStringLiteral("Group_Type"), FieldType::VarChar, 60);
    rs->Open();
    QVariantList row(3);
    for (int i = 0; i < rows; ++i) {
        const int id = idAt(i);
        row[0] = id;
        row[1] = groupName(id);
        row[2] = groupType(id);
        rs->AddNew(row);
    }
    rs->MoveFirst();
    return rs;
}

} // namespace talv::bench

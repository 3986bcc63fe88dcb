#include "RS_Functions.h"

#include <array>

namespace RS_Functions {

namespace {

// Identifiers and measures that screens filter and look up as numbers; all else is shown as text.
bool keepsItsType(const QString &fieldName)
{
    static const std::array<QString, 4> typed = {
        QStringLiteral("ID"), QStringLiteral("EO_NUMBER"), QStringLiteral("UNCERTAINTY_DISTANCE"),
        QStringLiteral("ELEMENT_SUBNATIONAL_ID")};
    for (const QString &name : typed)
        if (fieldName.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

void CloneStructure(talv::Recordset &source, talv::RecordsetPtr &result)
{
    result.reset();
    auto clone = std::make_shared<talv::Recordset>();
    for (int f = 0; f < source.FieldCount(); ++f) {
        const talv::Field field = source.Fields(f);
        const talv::FieldType type = keepsItsType(field.Name()) ? field.Type() : talv::FieldType::VarChar;
        clone->AppendField(field.Name(), type, field.DefinedSize(), field.Attributes());
    }
    clone->Open();
    result = std::move(clone);
}

void CopyRecordset(talv::Recordset &source, talv::RecordsetPtr &result)
{
    CloneStructure(source, result);
    if (source.RecordCount() < 1)
        return;
    // One bulk append has the effect of appending row by row, and shares the columns whose type
    // did not change instead of copying them.
    result->AppendRowsFrom(source);
    source.MoveLast();
    source.MoveNext();
}

} // namespace RS_Functions

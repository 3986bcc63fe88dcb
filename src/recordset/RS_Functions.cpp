#include "RS_Functions.h"

#include "platform/Error.h"
#include "platform/FlexGrid.h"
#include "platform/UiServices.h"

#include <array>
#include <vector>

namespace RS_Functions {

namespace {

// Identifiers and measures that screens filter and look up as numbers; all else is shown as text.
bool keepsItsType(const QString &fieldName)
{
    static const std::array<QString, 4> typed = {QStringLiteral("ID"), QStringLiteral("EO_NUMBER"),
                                                 QStringLiteral("UNCERTAINTY_DISTANCE"),
                                                 QStringLiteral("ELEMENT_SUBNATIONAL_ID")};
    for (const QString &name : typed)
        if (fieldName.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

const QString IdField = QStringLiteral("ID");

// The dynamic "Optimize" property of the ID field: a hash index that makes "ID = n" one lookup.
void optimizeId(talv::Recordset &rs, bool on)
{
    rs.Fields(IdField).SetProperty(QStringLiteral("Optimize"), on);
}

QString idCriterion(const QString &id)
{
    return QStringLiteral("ID = ") + id;
}

// Searches from the first row; answers whether a row was found (the cursor is on it).
bool findFromFirst(talv::Recordset &rs, const QString &criterion)
{
    rs.MoveFirst();
    rs.Find(criterion);
    return !rs.IsEOF();
}

// Per target field, the position of the source field of the same name (-1 when it has none).
std::vector<int> fieldsByName(const talv::Recordset &source, const talv::Recordset &target)
{
    std::vector<int> from(static_cast<size_t>(target.FieldCount()));
    for (int f = 0; f < target.FieldCount(); ++f)
        from[static_cast<size_t>(f)] = source.FieldIndex(target.FieldName(f));
    return from;
}

// Sets every field of the target's current row from the source's field of the same name; a field
// the source lacks raises, leaving the fields set before it. `from` comes from fieldsByName, so
// that a merge of many rows matches the names once.
void copyFieldsByName(talv::Recordset &source, talv::Recordset &target, const std::vector<int> &from)
{
    for (int f = 0; f < target.FieldCount(); ++f) {
        const int sf = from[static_cast<size_t>(f)];
        target.Fields(f).SetValue(sf >= 0 ? source.Fields(sf).Value() : source.Value(target.FieldName(f)));
    }
}

void copyFieldsByName(talv::Recordset &source, talv::Recordset &target)
{
    copyFieldsByName(source, target, fieldsByName(source, target));
}

// Turns appended rows into ordinary rows and drops filtered-out ones; the set ends on its first row.
void persistAndReopen(talv::Recordset &rs)
{
    const QByteArray stream = rs.Save();
    rs.Close();
    rs.OpenFromStream(stream);
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

void AddSelectedToList(talv::FlexGrid &grid, talv::Recordset &source, talv::Recordset &target)
{
    const int selected = grid.SelectedRows();
    if (selected == 0 || source.RecordCount() == 0)
        return;

    // Indexed for the merge only: every selected row costs two lookups by id.
    optimizeId(target, true);
    optimizeId(source, true);
    const std::vector<int> from = fieldsByName(source, target);
    for (int i = 0; i < selected; ++i) {
        const QString criterion = idCriterion(grid.TextMatrix(grid.SelectedRow(i), 0));
        if (!findFromFirst(source, criterion))
            continue;
        if (target.RecordCount() > 0 && findFromFirst(target, criterion))
            continue;
        target.AddNew();
        copyFieldsByName(source, target, from);
    }
    optimizeId(target, false);
    optimizeId(source, false);

    persistAndReopen(target);
}

void ReplaceListWithSelected(talv::FlexGrid &grid, talv::Recordset &source, talv::Recordset &target)
{
    if (grid.SelectedRows() == 0)
        return;
    source.MoveFirst();
    ClearRecordset(target);
    AddSelectedToList(grid, source, target);
}

void MakeCurrentRowRecordset(talv::FlexGrid &grid, talv::Recordset &source, talv::RecordsetPtr &result)
{
    const int row = grid.Row();
    const int headingRows = grid.FixedRows();
    if (row <= headingRows && grid.Rows() <= headingRows)
        return;
    if (source.RecordCount() == 0)
        return;

    CloneStructure(source, result);
    optimizeId(source, true);
    if (findFromFirst(source, idCriterion(grid.TextMatrix(row, 0)))) {
        result->AddNew();
        copyFieldsByName(source, *result);
    }
    optimizeId(source, false);
}

void ClearRecordset(talv::Recordset &rs)
{
    // No record has this id, so the persisted stream holds the layout alone.
    rs.SetFilter(QStringLiteral("ID = -12345678"));
    persistAndReopen(rs);
    rs.SetFilter(QString());
}

void MergeRecord(talv::Recordset &record, talv::Recordset &target)
{
    try {
        if (record.State() != talv::Recordset::StateOpen || record.RecordCount() < 1)
            return;
        if (target.RecordCount() == 0 || !findFromFirst(target, idCriterion(record.Value(IdField).toString())))
            target.AddNew();
        copyFieldsByName(record, target);
        target.Update();
        target.UpdateBatch();
    } catch (const std::exception &e) {
        const auto *error = dynamic_cast<const talv::Error *>(&e);
        const int number = error ? error->number() : int(talv::Error::Generic);
        talv::UiServices::current().messageBox(QStringLiteral("An error occurred while merging records.\r\n\r\n#") +
                                                   QString::number(number) + QStringLiteral(": ") + talv::describe(e),
                                               talv::MsgButtons::OK, talv::MsgIcon::Information,
                                               QStringLiteral("Application Error"));
    }
}

} // namespace RS_Functions

#include "Recordset.h"

#include "RecordsetAppender.h"
#include "RecordsetColumn.h"
#include "RecordsetCriterion.h"
#include "RecordsetIndex.h"
#include "RecordsetValue.h"

#include <algorithm>

namespace talv {

using internal::Criterion;
using internal::RecordsetIndex;

bool isKnownFieldType(int code)
{
    switch (static_cast<FieldType>(code)) {
    case FieldType::Integer:
    case FieldType::Double:
    case FieldType::Date:
    case FieldType::Boolean:
    case FieldType::BigInt:
    case FieldType::VarChar:
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- Field

const QString &Field::Name() const
{
    return m_rs->m_fields[m_index].name;
}
FieldType Field::Type() const
{
    return m_rs->m_fields[m_index].type;
}
int Field::DefinedSize() const
{
    return m_rs->m_fields[m_index].definedSize;
}
int Field::Attributes() const
{
    return m_rs->m_fields[m_index].attributes;
}

QVariant Field::Value() const
{
    return m_rs->cell(m_index, m_rs->requireCurrentPhysical());
}

void Field::SetValue(const QVariant &value)
{
    const qsizetype row = m_rs->requireCurrentPhysical();
    m_rs->setCell(m_index, row, internal::toFieldType(value, Type(), Name()));
}

bool Field::Optimize() const
{
    return m_rs->isOptimized(m_index);
}
void Field::SetOptimize(bool on)
{
    m_rs->setOptimize(m_index, on);
}

static bool isOptimizeProperty(const QString &name)
{
    return name.compare(u"Optimize", Qt::CaseInsensitive) == 0;
}

QVariant Field::Property(const QString &name) const
{
    if (!isOptimizeProperty(name))
        throw Error(Error::FieldNotFound, QStringLiteral("Field \"%1\" has no property \"%2\".").arg(Name(), name));
    return Optimize();
}

void Field::SetProperty(const QString &name, const QVariant &value)
{
    if (!isOptimizeProperty(name))
        throw Error(Error::FieldNotFound, QStringLiteral("Field \"%1\" has no property \"%2\".").arg(Name(), name));
    SetOptimize(value.toBool());
}

// ---------------------------------------------------------------- lifecycle

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

Recordset::Recordset(const Recordset &other)
{
    *this = other;
}

Recordset &Recordset::operator=(const Recordset &other)
{
    if (this == &other)
        return *this;
    m_fields = other.m_fields;
    m_columns = other.m_columns;
    m_physicalRows = other.m_physicalRows;
    m_deleted = other.m_deleted;
    m_deletedCount = other.m_deletedCount;
    m_view = other.m_view;
    m_filter = other.m_filter;
    m_filterText = other.m_filterText;
    m_pos = other.m_pos;
    m_onDeleted = other.m_onDeleted;
    m_open = other.m_open;
    m_indexes.clear();
    m_indexes.resize(other.m_indexes.size());
    for (size_t i = 0; i < other.m_indexes.size(); ++i)
        if (other.m_indexes[i])
            m_indexes[i] = std::make_unique<RecordsetIndex>(*other.m_indexes[i]);
    return *this;
}

void Recordset::requireOpen() const
{
    if (!m_open)
        throw Error(Error::ObjectClosed, QStringLiteral("Operation is not allowed when the recordset is closed."));
}

void Recordset::requireClosed(const char *operation) const
{
    if (m_open)
        throw Error(Error::IllegalOperation,
                    QStringLiteral("%1 is not allowed when the recordset is open.").arg(QLatin1String(operation)));
}

void Recordset::AppendField(const QString &name, FieldType type, int definedSize, int attributes)
{
    requireClosed("Appending a field");
    if (name.trimmed().isEmpty())
        throw Error(Error::InvalidArgument, QStringLiteral("A field needs a name."));
    if (!isKnownFieldType(static_cast<int>(type)))
        throw Error(Error::InvalidArgument,
                    QStringLiteral("Field \"%1\" has an unknown type %2.").arg(name).arg(static_cast<int>(type)));
    if (FieldIndex(name) >= 0)
        throw Error(Error::InvalidArgument, QStringLiteral("The recordset already has a field \"%1\".").arg(name));
    m_fields.append(FieldDef{name, type, definedSize, attributes});
}

void Recordset::resetRows()
{
    m_columns.clear();
    m_columns.reserve(static_cast<size_t>(m_fields.size()));
    for (const FieldDef &f : m_fields)
        m_columns.emplace_back(f.type);
    m_physicalRows = 0;
    m_deleted.clear();
    m_deletedCount = 0;
    m_view.reset();
    m_filter.reset();
    m_filterText.clear();
    m_pos = -1;
    m_onDeleted = false;
    m_indexes.clear();
    m_indexes.resize(static_cast<size_t>(m_fields.size()));
}

void Recordset::Open()
{
    requireClosed("Open");
    if (m_fields.isEmpty())
        throw Error(Error::IllegalOperation, QStringLiteral("A recordset cannot be opened without fields."));
    resetRows();
    m_open = true;
}

void Recordset::Close()
{
    requireOpen();
    resetRows();
    m_open = false;
}

// ---------------------------------------------------------------- fields

int Recordset::FieldCount() const
{
    return static_cast<int>(m_fields.size());
}

int Recordset::FieldIndex(QStringView name) const
{
    for (qsizetype i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

int Recordset::requireField(const QString &name) const
{
    const int index = FieldIndex(name);
    if (index < 0)
        throw Error(Error::FieldNotFound, QStringLiteral("The recordset has no field \"%1\".").arg(name));
    return index;
}

void Recordset::requireFieldIndex(int index) const
{
    if (index < 0 || index >= m_fields.size())
        throw Error(Error::FieldNotFound, QStringLiteral("The recordset has no field at position %1.").arg(index));
}

Field Recordset::Fields(int index)
{
    requireFieldIndex(index);
    return Field(this, index);
}

Field Recordset::Fields(const QString &name)
{
    return Field(this, requireField(name));
}

QString Recordset::FieldName(int index) const
{
    requireFieldIndex(index);
    return m_fields[index].name;
}

FieldType Recordset::FieldTypeAt(int index) const
{
    requireFieldIndex(index);
    return m_fields[index].type;
}

QVariant Recordset::Value(const QString &fieldName) const
{
    const int field = requireField(fieldName);
    return cell(field, requireCurrentPhysical());
}

void Recordset::SetValue(const QString &fieldName, const QVariant &value)
{
    Field(this, requireField(fieldName)).SetValue(value);
}

QVariant Recordset::ValueAt(qsizetype row, int field) const
{
    requireOpen();
    requireFieldIndex(field);
    if (row < 0 || row >= visibleCount())
        throw Error(Error::InvalidArgument, QStringLiteral("There is no row %1 in the recordset.").arg(row));
    return cell(field, physicalAt(row));
}

QVariant Recordset::cell(int field, qsizetype physical) const
{
    return m_columns[static_cast<size_t>(field)].value(physical);
}

void Recordset::setCell(int field, qsizetype physical, const QVariant &value)
{
    if (auto &index = m_indexes[static_cast<size_t>(field)]) {
        index->remove(physical, cell(field, physical));
        index->insert(physical, value);
    }
    m_columns[static_cast<size_t>(field)].set(physical, value);
}

// ---------------------------------------------------------------- rows and cursor

qsizetype Recordset::physicalAt(qsizetype visiblePos) const
{
    return m_view ? (*m_view)[static_cast<size_t>(visiblePos)] : visiblePos;
}

std::optional<qsizetype> Recordset::visiblePosOf(qsizetype physical) const
{
    if (!m_view) {
        if (physical < 0 || physical >= m_physicalRows)
            return std::nullopt;
        return physical;
    }
    const auto it = std::lower_bound(m_view->begin(), m_view->end(), physical);
    if (it == m_view->end() || *it != physical)
        return std::nullopt;
    return static_cast<qsizetype>(it - m_view->begin());
}

void Recordset::rebuildView()
{
    if (!m_filter && m_deletedCount == 0) {
        m_view.reset();
        return;
    }
    std::vector<qsizetype> view;
    view.reserve(static_cast<size_t>(m_physicalRows - m_deletedCount));
    for (qsizetype row = 0; row < m_physicalRows; ++row) {
        if (m_deletedCount > 0 && m_deleted[static_cast<size_t>(row)])
            continue;
        if (m_filter && !m_filter->matches([&](int f) { return cell(f, row); }))
            continue;
        view.push_back(row);
    }
    m_view = std::move(view);
}

qsizetype Recordset::requireCurrentPhysical() const
{
    requireOpen();
    if (m_onDeleted)
        throw Error(Error::NoCurrentRecord, QStringLiteral("The current record has been deleted."));
    if (m_pos < 0 || m_pos >= visibleCount())
        throw Error(Error::NoCurrentRecord,
                    QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
    return physicalAt(m_pos);
}

qsizetype Recordset::RecordCount() const
{
    requireOpen();
    return visibleCount();
}

bool Recordset::IsBOF() const
{
    requireOpen();
    return !m_onDeleted && (visibleCount() == 0 || m_pos < 0);
}

bool Recordset::IsEOF() const
{
    requireOpen();
    return !m_onDeleted && (visibleCount() == 0 || m_pos >= visibleCount());
}

void Recordset::MoveFirst()
{
    requireOpen();
    m_onDeleted = false;
    m_pos = visibleCount() == 0 ? -1 : 0;
}

void Recordset::MoveLast()
{
    requireOpen();
    m_onDeleted = false;
    m_pos = visibleCount() == 0 ? visibleCount() : visibleCount() - 1;
}

void Recordset::MoveNext()
{
    requireOpen();
    if (m_onDeleted) { // the rows behind the deleted one have moved up into its place
        m_onDeleted = false;
        return;
    }
    if (IsEOF())
        throw Error(Error::NoCurrentRecord, QStringLiteral("MoveNext is not possible: EOF is True."));
    ++m_pos;
}

void Recordset::MovePrevious()
{
    requireOpen();
    if (m_onDeleted) {
        m_onDeleted = false;
        --m_pos;
        return;
    }
    if (IsBOF())
        throw Error(Error::NoCurrentRecord, QStringLiteral("MovePrevious is not possible: BOF is True."));
    --m_pos;
}

void Recordset::Move(qsizetype offset)
{
    requireOpen();
    if (offset == 0)
        return;
    if ((offset > 0 && IsEOF()) || (offset < 0 && IsBOF()))
        throw Error(Error::NoCurrentRecord, QStringLiteral("Move is not possible: BOF or EOF is True."));
    qsizetype target = m_pos + offset;
    if (m_onDeleted && offset > 0)
        --target; // m_pos already names the row after the deleted one
    m_onDeleted = false;
    m_pos = std::clamp<qsizetype>(target, -1, visibleCount());
}

qsizetype Recordset::AbsolutePosition() const
{
    requireOpen();
    if (m_onDeleted)
        return PositionUnknown;
    if (IsBOF())
        return PositionBOF;
    if (IsEOF())
        return PositionEOF;
    return m_pos + 1;
}

void Recordset::SetAbsolutePosition(qsizetype position)
{
    requireOpen();
    if (position < 1 || position > visibleCount())
        throw Error(
            Error::InvalidArgument,
            QStringLiteral("Position %1 is outside the recordset's %2 rows.").arg(position).arg(visibleCount()));
    m_onDeleted = false;
    m_pos = position - 1;
}

QVariant Recordset::Bookmark() const
{
    return QVariant(static_cast<qlonglong>(requireCurrentPhysical()));
}

void Recordset::SetBookmark(const QVariant &bookmark)
{
    requireOpen();
    bool ok = false;
    const qlonglong physical = bookmark.toLongLong(&ok);
    const auto pos = ok ? visiblePosOf(physical) : std::nullopt;
    if (!pos)
        throw Error(Error::InvalidArgument, QStringLiteral("The bookmark does not name a row of this recordset."));
    m_onDeleted = false;
    m_pos = *pos;
}

// ---------------------------------------------------------------- editing

void Recordset::AddNew()
{
    requireOpen();
    for (auto &column : m_columns)
        column.append(QVariant());
    rowAppended();
}

void Recordset::AddNew(const QVariantList &values)
{
    requireOpen();
    if (values.size() != m_fields.size())
        throw Error(Error::InvalidArgument,
                    QStringLiteral("%1 values were given for %2 fields.").arg(values.size()).arg(m_fields.size()));
    RecordsetAppender row(*this);
    for (const QVariant &value : values)
        row.AppendValue(value);
    row.EndRow();
}

void Recordset::Update()
{
    requireCurrentPhysical();
}

void Recordset::UpdateBatch()
{
    requireOpen();
}

void Recordset::Delete()
{
    const qsizetype row = requireCurrentPhysical();
    if (m_deleted.empty())
        m_deleted.assign(static_cast<size_t>(m_physicalRows), false);
    m_deleted[static_cast<size_t>(row)] = true;
    ++m_deletedCount;
    for (size_t f = 0; f < m_indexes.size(); ++f)
        if (m_indexes[f])
            m_indexes[f]->remove(row, cell(static_cast<int>(f), row));
    if (!m_view) {
        std::vector<qsizetype> view(static_cast<size_t>(m_physicalRows));
        for (qsizetype i = 0; i < m_physicalRows; ++i)
            view[static_cast<size_t>(i)] = i;
        m_view = std::move(view);
    }
    m_view->erase(m_view->begin() + m_pos);
    m_onDeleted = true;
}

// ---------------------------------------------------------------- bulk copy

void Recordset::AppendRowsFrom(const Recordset &source)
{
    requireOpen();
    source.requireOpen();
    if (&source == this) { // a copy shares the columns, so reading it while appending is safe
        AppendRowsFrom(Recordset(source));
        return;
    }
    std::vector<int> from(static_cast<size_t>(m_fields.size()));
    for (qsizetype f = 0; f < m_fields.size(); ++f)
        from[static_cast<size_t>(f)] = source.requireField(m_fields[f].name);
    const qsizetype n = source.visibleCount();
    if (n == 0)
        return;

    // Convert what needs converting before touching this set, so a value that does not convert
    // leaves it as it was.
    std::vector<std::optional<internal::Column>> converted(static_cast<size_t>(m_fields.size()));
    for (qsizetype f = 0; f < m_fields.size(); ++f) {
        const int sf = from[static_cast<size_t>(f)];
        const FieldDef &def = m_fields[f];
        if (source.m_fields[sf].type == def.type)
            continue;
        const internal::Column &src = source.m_columns[static_cast<size_t>(sf)];
        internal::Column &out = converted[static_cast<size_t>(f)].emplace(def.type);
        out.reserve(n);
        for (qsizetype pos = 0; pos < n; ++pos)
            out.append(internal::toFieldType(src.value(source.physicalAt(pos)), def.type, def.name));
    }

    const qsizetype first = m_physicalRows;
    for (qsizetype f = 0; f < m_fields.size(); ++f) {
        internal::Column &column = m_columns[static_cast<size_t>(f)];
        auto &conversion = converted[static_cast<size_t>(f)];
        const internal::Column &src =
            conversion ? *conversion : source.m_columns[static_cast<size_t>(from[static_cast<size_t>(f)])];
        const bool inOrder = conversion || !source.m_view; // row i of `src` is visible row i
        if (m_physicalRows == 0 && inOrder) {
            column = src; // shared: no row is copied until one side writes
            continue;
        }
        column.reserve(m_physicalRows + n);
        for (qsizetype pos = 0; pos < n; ++pos)
            column.appendFrom(src, inOrder ? pos : source.physicalAt(pos));
    }
    m_physicalRows += n;
    if (!m_deleted.empty())
        m_deleted.resize(static_cast<size_t>(m_physicalRows), false);
    if (m_view)
        for (qsizetype row = first; row < m_physicalRows; ++row)
            m_view->push_back(row);
    for (size_t f = 0; f < m_indexes.size(); ++f)
        if (m_indexes[f])
            for (qsizetype row = first; row < m_physicalRows; ++row)
                m_indexes[f]->insert(row, cell(static_cast<int>(f), row));
    m_onDeleted = false;
    m_pos = visibleCount() - 1;
}

} // namespace talv

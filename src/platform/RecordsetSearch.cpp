// Recordset: Find, Filter and the index behind "Optimize".
#include "Recordset.h"

#include "RecordsetCriterion.h"
#include "RecordsetIndex.h"

namespace talv {

using internal::Criterion;
using internal::RecordsetIndex;

// ---------------------------------------------------------------- Find and Filter

static Criterion::FieldLookup lookupIn(const Recordset &rs)
{
    return [&rs](const QString &name) -> std::optional<Criterion::FieldInfo> {
        const int index = rs.FieldIndex(name);
        if (index < 0)
            return std::nullopt;
        return Criterion::FieldInfo{index, rs.FieldTypeAt(index), rs.FieldName(index)};
    };
}

bool Recordset::rowMeets(const Criterion &c, qsizetype physical) const
{
    return c.matches([&](int f) -> const QVariant & { return cell(f, physical); });
}

qsizetype Recordset::findWithIndex(const Criterion &c, qsizetype fromPhysical) const
{
    const internal::CriterionTerm *term = c.singleTerm();
    if (!term || term->op != internal::CompareOp::Equal || term->literal.isNull())
        return -2;
    const auto &index = m_indexes[static_cast<size_t>(term->field)];
    if (!index)
        return -2;
    qsizetype from = fromPhysical;
    for (;;) {
        const auto hit = index->findFrom(term->literal, from);
        if (!hit)
            return -2;
        if (*hit < 0)
            return -1;
        if (const auto pos = visiblePosOf(*hit))  // filtered-out rows are not found
            return *pos;
        from = *hit + 1;
    }
}

void Recordset::Find(const QString &criterion)
{
    requireOpen();
    const Criterion c = Criterion::parse(criterion, lookupIn(*this), false);
    const qsizetype count = visibleCount();
    qsizetype start = m_pos < 0 ? 0 : m_pos;
    m_onDeleted = false;
    if (start >= count) {
        m_pos = count;
        return;
    }
    const qsizetype indexed = findWithIndex(c, physicalAt(start));
    if (indexed != -2) {
        m_pos = indexed < 0 ? count : indexed;
        return;
    }
    for (qsizetype pos = start; pos < count; ++pos) {
        if (rowMeets(c, physicalAt(pos))) {
            m_pos = pos;
            return;
        }
    }
    m_pos = count;
}

void Recordset::SetFilter(const QString &criterion)
{
    requireOpen();
    if (criterion.trimmed().isEmpty()) {
        m_filter.reset();
        m_filterText.clear();
    } else {
        auto parsed = std::make_shared<const Criterion>(Criterion::parse(criterion, lookupIn(*this), true));
        m_filter = std::move(parsed);
        m_filterText = criterion;
    }
    rebuildView();
    m_onDeleted = false;
    m_pos = visibleCount() == 0 ? -1 : 0;
}

// ---------------------------------------------------------------- Optimize

bool Recordset::isOptimized(int field) const
{
    return static_cast<size_t>(field) < m_indexes.size() && m_indexes[static_cast<size_t>(field)];
}

void Recordset::setOptimize(int field, bool on)
{
    requireOpen();
    auto &index = m_indexes[static_cast<size_t>(field)];
    if (!on) {
        index.reset();
        return;
    }
    if (index)
        return;
    auto built = std::make_unique<RecordsetIndex>(m_fields[field].type);
    built->build(m_columns[field], m_deleted);
    index = std::move(built);
}

} // namespace talv

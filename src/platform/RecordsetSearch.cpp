// Recordset: Find, Filter and the index behind "Optimize".
#include "Recordset.h"

#include "RecordsetColumn.h"
#include "RecordsetCriterion.h"
#include "RecordsetIndex.h"
#include "RecordsetValue.h"

namespace talv {

using internal::Criterion;
using internal::RecordsetIndex;

// ---------------------------------------------------------------- Find and Filter

static Criterion::FieldLookup lookupIn(const Recordset &rs)
{
    return [&rs](QStringView name) -> std::optional<Criterion::FieldInfo> {
        const int index = rs.FieldIndex(name);
        if (index < 0)
            return std::nullopt;
        return Criterion::FieldInfo{index, rs.FieldTypeAt(index), rs.FieldName(index)};
    };
}

bool Recordset::rowMeets(const Criterion &c, qsizetype physical) const
{
    return c.matches([&](int f) { return cell(f, physical); });
}

qsizetype Recordset::findWithIndex(int field, const QVariant &literal, qsizetype fromPhysical) const
{
    const auto &index = m_indexes[static_cast<size_t>(field)];
    if (!index || literal.isNull())
        return -2;
    qsizetype from = fromPhysical;
    for (;;) {
        const auto hit = index->findFrom(literal, from);
        if (!hit)
            return -2;
        if (*hit < 0)
            return -1;
        if (const auto pos = visiblePosOf(*hit)) // filtered-out rows are not found
            return *pos;
        from = *hit + 1;
    }
}

void Recordset::Find(const QString &criterion)
{
    requireOpen();
    const qsizetype count = visibleCount();
    const qsizetype start = m_pos < 0 ? 0 : m_pos;
    // A lookup by id on an indexed whole-number field needs no parsed criterion: merges make
    // one per row.
    if (const auto quick = internal::recogniseWholeEquality(criterion)) {
        const int field = FieldIndex(quick->field);
        if (field >= 0 && internal::isWholeNumberType(m_fields[field].type) && isOptimized(field)) {
            const qsizetype indexed =
                start >= count ? -1 : findWithIndex(field, QVariant(qlonglong(quick->value)), physicalAt(start));
            if (indexed != -2) {
                m_onDeleted = false;
                m_pos = indexed < 0 ? count : indexed;
                return;
            }
        }
    }
    const Criterion c = Criterion::parse(criterion, lookupIn(*this), false);
    m_onDeleted = false;
    if (start >= count) {
        m_pos = count;
        return;
    }
    const internal::CriterionTerm *term = c.singleTerm();
    const qsizetype indexed = term && term->op == internal::CompareOp::Equal
                                  ? findWithIndex(term->field, term->literal, physicalAt(start))
                                  : -2;
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
    built->build(m_columns[static_cast<size_t>(field)], m_deleted);
    index = std::move(built);
}

} // namespace talv

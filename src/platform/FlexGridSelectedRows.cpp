#include "FlexGridSelectedRows.h"

#include <QAbstractItemModel>
#include <QItemSelectionModel>

#include <algorithm>
#include <utility>

namespace talv {

FlexGridSelectedRows::FlexGridSelectedRows(QItemSelectionModel *selection) : QObject(selection), m_selection(selection)
{
    connect(selection, &QItemSelectionModel::selectionChanged, this, &FlexGridSelectedRows::forget);
    connect(selection, &QItemSelectionModel::modelChanged, this, &FlexGridSelectedRows::forget);
    // Structural changes move the selection's persistent indexes without always announcing a
    // selection change.
    const QAbstractItemModel *model = selection->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, &FlexGridSelectedRows::forget);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &FlexGridSelectedRows::forget);
    connect(model, &QAbstractItemModel::rowsMoved, this, &FlexGridSelectedRows::forget);
    connect(model, &QAbstractItemModel::columnsRemoved, this, &FlexGridSelectedRows::forget);
    connect(model, &QAbstractItemModel::layoutChanged, this, &FlexGridSelectedRows::forget);
    connect(model, &QAbstractItemModel::modelReset, this, &FlexGridSelectedRows::forget);
}

int FlexGridSelectedRows::Count() const
{
    const std::vector<Span> &all = spans();
    return all.empty() ? 0 : all.back().before + all.back().last - all.back().first + 1;
}

int FlexGridSelectedRows::At(int index) const
{
    if (index < 0 || index >= Count())
        return -1;
    const std::vector<Span> &all = spans();
    const auto it =
        std::upper_bound(all.cbegin(), all.cend(), index, [](int i, const Span &span) { return i < span.before; });
    const Span &span = *std::prev(it);
    return span.first + (index - span.before);
}

bool FlexGridSelectedRows::Contains(int row) const
{
    const std::vector<Span> &all = spans();
    const auto it =
        std::upper_bound(all.cbegin(), all.cend(), row, [](int r, const Span &span) { return r < span.first; });
    return it != all.cbegin() && row <= std::prev(it)->last;
}

const std::vector<FlexGridSelectedRows::Span> &FlexGridSelectedRows::spans() const
{
    if (m_spans)
        return *m_spans;
    std::vector<std::pair<int, int>> ranges;
    const QItemSelection selection = m_selection->selection();
    ranges.reserve(size_t(selection.size()));
    for (const QItemSelectionRange &range : selection) {
        if (range.isValid())
            ranges.emplace_back(range.top(), range.bottom());
    }
    std::sort(ranges.begin(), ranges.end());
    std::vector<Span> merged;
    for (const auto &[top, bottom] : ranges) {
        if (!merged.empty() && top <= merged.back().last + 1) {
            merged.back().last = std::max(merged.back().last, bottom);
        } else {
            const int before = merged.empty() ? 0 : merged.back().before + merged.back().last - merged.back().first + 1;
            merged.push_back({top, bottom, before});
        }
    }
    m_spans = std::move(merged);
    return *m_spans;
}

} // namespace talv

#pragma once

#include <QObject>

#include <optional>
#include <vector>

class QItemSelectionModel;

namespace talv {

// The rows of a selection model that hold a selected cell, in ascending model rows. Selection
// ranges of any shape (overlapping cell blocks, whole rows, one range for a million rows) are
// merged into counted runs once per change, so walking every selected row by index stays cheap.
class FlexGridSelectedRows : public QObject
{
    Q_OBJECT

public:
    explicit FlexGridSelectedRows(QItemSelectionModel *selection);

    int Count() const;
    // The model row of the index-th selected row, or -1.
    int At(int index) const;
    bool Contains(int row) const;

private:
    // A run of selected rows, with the number of selected rows above it.
    struct Span {
        int first;
        int last;
        int before;
    };

    const std::vector<Span> &spans() const;
    void forget() { m_spans.reset(); }

    QItemSelectionModel *m_selection;
    mutable std::optional<std::vector<Span>> m_spans;
};

} // namespace talv

#include "FlexGrid.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QStyle>

#include <algorithm>

// Fitting row heights to the texts, quickly on long lists: Qt's own fit lays out every cell.

namespace talv {

namespace {

// Tells whether every shown cell of a model row holds one line of text that fits its column, as
// the grid's delegate would lay it out, measuring each distinct text once.
class OneLineTest
{
public:
    explicit OneLineTest(const FlexGrid &grid)
        : m_grid(grid), m_metrics(grid.font()),
          m_margins(2 * (grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1))
    {}

    bool operator()(int row)
    {
        const QAbstractItemModel &model = *m_grid.model();
        for (int col = 0; col < model.columnCount(); ++col) {
            if (m_grid.isColumnHidden(col))
                continue;
            const QString text = model.data(model.index(row, col), Qt::DisplayRole).toString();
            // Control characters (line breaks, tabs) and the line and paragraph separators may
            // start or widen lines.
            const bool breaks = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
                return c.unicode() < 0x20 || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
            });
            // The text is laid out in the column less its margins; a pixel spare for the grid line.
            if (breaks || (m_grid.wordWrap() && width(text) > m_grid.columnWidth(col) - m_margins - 1))
                return false;
        }
        return true;
    }

private:
    qreal width(const QString &text)
    {
        auto known = m_widths.constFind(text);
        if (known == m_widths.cend())
            known = m_widths.insert(text, m_metrics.horizontalAdvance(text));
        return *known;
    }

    const FlexGrid &m_grid;
    const QFontMetricsF m_metrics;
    const int m_margins;
    QHash<QString, qreal> m_widths;
};

} // namespace

void FlexGrid::fitRowHeights()
{
    // Measuring a row lays out the text of each of its cells, which is slow on long lists. A row
    // of single lines that fit their columns is as high as any other such row: only the first one
    // is measured. Cells carry no font or icon of their own, so nothing else sets a row apart.
    OneLineTest oneLineOnly(*this);
    // Each height change would otherwise find the row's place on screen anew, past every row above.
    QHeaderView *rows = verticalHeader();
    const bool updatesWereOff = rows->testAttribute(Qt::WA_ForceUpdatesDisabled);
    rows->setUpdatesEnabled(false);
    int oneLine = -1;
    for (int row = 0; row < model()->rowCount(); ++row) {
        if (oneLine >= 0 && oneLineOnly(row)) {
            setRowHeight(row, oneLine);
            continue;
        }
        resizeRowToContents(row);
        if (oneLine < 0 && oneLineOnly(row))
            oneLine = rowHeight(row);
    }
    if (!updatesWereOff)
        rows->setUpdatesEnabled(true);
    viewport()->update();
}

} // namespace talv

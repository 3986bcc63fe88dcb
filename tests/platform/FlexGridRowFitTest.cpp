// Fitting row heights measures only the rows that need it; every row must still end as high as
// Qt's own fit of each row to its contents makes it.
#include "platform/FlexGrid.h"

#include <QHeaderView>

#include <functional>

#include <gtest/gtest.h>

using namespace talv;

namespace {

// Each row's height after `fit`, every row first set to 1 pixel so that nothing is left over.
QList<int> heightsAfter(FlexGrid &grid, const std::function<void()> &fit)
{
    for (int row = 0; row < grid.Rows() - grid.FixedRows(); ++row)
        grid.setRowHeight(row, 1);
    fit();
    QList<int> heights;
    for (int row = 0; row < grid.Rows() - grid.FixedRows(); ++row)
        heights << grid.rowHeight(row);
    return heights;
}

TEST(FlexGridRowFit, EveryRowGetsTheHeightOfAFullFitWithAndWithoutWordWrap)
{
    FlexGrid grid;
    grid.SetCols(4);
    grid.SetRows(1);
    grid.SetFixedRows(1);
    const QString longText = QStringLiteral("a text far too long for its narrow column, so it wraps");
    // Plain rows around the ones that need their own height, which the fit must not carry over.
    const QStringList rows{
        "\t\t\t",
        "2020-01-01\tecarter\tshort\thidden",
        "2020-01-02\tecarter\t" + longText + "\thidden",
        "2020-01-03\tecarter\tfirst line\nsecond line\thidden",
        "2020-01-04\tecarter\ttab\there\thidden",
        "2020-01-05\tecarter\tone\u2028two\thidden",
        "2020-01-06\tecarter\tshort\t" + longText + "\n" + longText,
        "2020-01-07\tecarter\tshort\thidden",
    };
    for (const QString &row : rows)
        grid.AddItem(row);
    grid.SetTextMatrix(5, 2, "tab\there"); // AddItem splits at tabs
    grid.SetColHidden(3, true);            // a hidden cell's text sets no height
    grid.SetColWidth(2, 120);
    grid.AutoSize(0, 1); // fitted to the text exactly: the widest dates just fit, no room spare

    // The column where the long text stops or starts to wrap, pixel by pixel, on both sides.
    const int fitted = grid.fontMetrics().horizontalAdvance(longText) + 8;
    grid.SetAutoSizing(FlexGrid::AutoSizeMode::RowHeight);
    for (const bool wrap : {true, false}) {
        grid.SetWordWrap(wrap);
        for (int width : {120, fitted - 4, fitted - 3, fitted - 2, fitted - 1, fitted, fitted + 1, fitted + 2}) {
            grid.SetColWidth(2, width);
            const QList<int> full = heightsAfter(grid, [&] { grid.resizeRowsToContents(); });
            EXPECT_EQ(heightsAfter(grid, [&] { grid.AutoSize(0, 3); }), full) << "wrap " << wrap << ", width " << width;
        }
    }
    EXPECT_GT(grid.rowHeight(3), grid.rowHeight(1)) << "the two lines show, wrap or not";
}

TEST(FlexGridRowFit, NamesShownForKeysAreWhatIsMeasured)
{
    FlexGrid grid;
    grid.SetCols(2);
    grid.SetRows(1);
    grid.SetFixedRows(1);
    for (int i = 0; i < 4; ++i)
        grid.AddItem(QStringLiteral("x\t%1").arg(i % 2 + 1));
    grid.SetColComboList(1, "#1;Head office|#2;The regional branch office of the northern uplands|");
    grid.SetColWidth(1, 100);
    grid.SetWordWrap(true);
    grid.SetAutoSizing(FlexGrid::AutoSizeMode::RowHeight);
    const QList<int> full = heightsAfter(grid, [&] { grid.resizeRowsToContents(); });
    EXPECT_EQ(heightsAfter(grid, [&] { grid.AutoSize(0, 1); }), full);
    EXPECT_GT(full[1], full[0]);
}

} // namespace

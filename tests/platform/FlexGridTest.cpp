#include "FlexGridTestSupport.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>

// --- rows, heading rows and cells

TEST(FlexGridCells, HeadingRowsAreTheHeaderAndDataRowsFollowThem)
{
    FlexGrid grid;
    fill(grid, 3, 2);
    EXPECT_EQ(grid.GridModel()->rowCount(), 3);
    EXPECT_EQ(shown(grid, 1, 1).toString(), QStringLiteral("r1c1"));
    grid.SetTextMatrix(0, 1, QStringLiteral("Element ID"));
    EXPECT_EQ(grid.GridModel()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Element ID"));
    grid.SetRows(1); // cut down to the heading row: headings stay
    EXPECT_EQ(grid.GridModel()->rowCount(), 0);
    EXPECT_EQ(grid.TextMatrix(0, 1), QStringLiteral("Element ID"));

    FlexGrid two; // a second heading row joins the header and shifts the data rows
    two.SetFixedRows(2);
    fill(two, 1, 1);
    two.SetTextMatrix(1, 0, QStringLiteral("Name"));
    EXPECT_EQ(two.GridModel()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("C0\nName"));
    EXPECT_EQ(two.GridModel()->rowCount(), 1);
    EXPECT_EQ(shown(two, 2, 0).toString(), QStringLiteral("r2c0"));
    EXPECT_EQ(errorNumber([&] { two.RowData(1); }), Error::InvalidArgument);
}

TEST(FlexGridCells, AddItemSplitsTabsAndRemoveItemClosesTheGap)
{
    FlexGrid grid;
    fill(grid, 2, 3);
    grid.SetRowData(1, 101);
    grid.SetRowData(2, 102);

    EXPECT_EQ(grid.AddItem(QStringLiteral("a\tb\tc\textra")), 3);
    EXPECT_EQ(grid.AddItem(QStringLiteral("x"), 1), 1);
    EXPECT_EQ(grid.TextMatrix(4, 2), QStringLiteral("c"));
    EXPECT_EQ(grid.TextMatrix(1, 0), QStringLiteral("x"));
    EXPECT_EQ(grid.TextMatrix(1, 1), QString());
    EXPECT_EQ(grid.RowData(2).toInt(), 101); // record keys travel with their rows

    grid.RemoveItem(2);
    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.RowData(2).toInt(), 102);
    EXPECT_EQ(errorNumber([&] { grid.RemoveItem(0); }), Error::InvalidArgument);
    EXPECT_EQ(errorNumber([&] { grid.TextMatrix(4, 0); }), Error::InvalidArgument);
    EXPECT_EQ(errorNumber([&] { grid.SetTextMatrix(1, 3, QString()); }), Error::InvalidArgument);
}

TEST(FlexGridCells, ColumnKeysValueListsAndBlockColours)
{
    FlexGrid grid;
    fill(grid, 3, 4);
    grid.SetColKey(3, QStringLiteral("FullCitation"));
    EXPECT_EQ(grid.ColIndex(QStringLiteral("fullcitation")), 3);
    EXPECT_EQ(grid.ColIndex(QStringLiteral("Missing")), -1);

    // A width set while hidden is reported while hidden and applies when shown.
    grid.SetColHidden(1, true);
    grid.SetColWidth(1, 80);
    EXPECT_EQ(grid.ColWidth(1), 80);
    grid.SetColHidden(1, false);
    EXPECT_EQ(grid.columnWidth(1), 80);
    // Hidden widths move with their columns when others come or go in front of them.
    grid.SetColHidden(2, true);
    grid.SetColWidth(2, 70);
    grid.GridModel()->insertColumns(2, 1);
    EXPECT_EQ(grid.ColWidth(3), 70);
    grid.GridModel()->removeColumns(2, 1);
    EXPECT_EQ(grid.ColWidth(2), 70);
    grid.SetColHidden(2, false);
    EXPECT_EQ(grid.columnWidth(2), 70);

    // Known keys show their names; other values show unchanged; an empty list translates nothing.
    grid.SetTextMatrix(1, 1, QStringLiteral("2"));
    grid.SetTextMatrix(2, 1, QStringLiteral("9"));
    grid.SetColComboList(1, QStringLiteral("#1;Head office|#2;Branch|"));
    EXPECT_EQ(shown(grid, 1, 1).toString(), QStringLiteral("Branch"));
    EXPECT_EQ(grid.TextMatrix(1, 1), QStringLiteral("2"));
    EXPECT_EQ(shown(grid, 2, 1).toString(), QStringLiteral("9"));
    grid.SetColComboList(1, QStringLiteral("|"));
    EXPECT_EQ(shown(grid, 1, 1).toString(), QStringLiteral("2"));

    const QColor grey(192, 192, 192);
    grid.SetCellBackColor(3, 2, 1, 1, grey); // corners in either order
    grid.SetCellBackColor(2, 2, Qt::white);
    EXPECT_EQ(grid.CellBackColor(3, 1), grey);
    EXPECT_EQ(grid.CellBackColor(1, 2), grey);
    EXPECT_EQ(grid.CellBackColor(2, 2), QColor(Qt::white));
    EXPECT_FALSE(grid.CellBackColor(1, 0).isValid());
    EXPECT_EQ(shown(grid, 1, 1, Qt::BackgroundRole).value<QBrush>().color(), grey);
    EXPECT_FALSE(shown(grid, 1, 0, Qt::BackgroundRole).isValid());
}

// --- current row and selection

TEST(FlexGridSelection, SelectedRowsAreReadInRowOrderNotClickOrder)
{
    FlexGrid grid;
    grid.SetSelMode(FlexGrid::SelectMode::ListBox);
    fill(grid, 5, 2);
    showAndWait(grid);
    QSignalSpy selChanges(&grid, &FlexGrid::SelChange);

    clickRow(grid, 3);
    clickRow(grid, 1, Qt::ControlModifier);

    EXPECT_EQ(grid.SelectedRows(), 2);
    EXPECT_EQ(grid.SelectedRow(0), 1);
    EXPECT_EQ(grid.SelectedRow(1), 3);
    EXPECT_EQ(grid.SelectedRow(2), -1);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_TRUE(grid.IsSelected(3));
    EXPECT_FALSE(grid.IsSelected(2));
    EXPECT_GE(selChanges.count(), 2);

    // Removing a row above a selected one shifts what SelectedRow answers.
    grid.RemoveItem(2);
    EXPECT_EQ(grid.SelectedRow(1), 2);
    EXPECT_EQ(grid.TextMatrix(2, 0), QStringLiteral("r3c0"));
}

TEST(FlexGridSelection, SelectMakesACurrentCellAndABlockThatStopsAtTheHeading)
{
    FlexGrid grid;
    grid.SetSelMode(FlexGrid::SelectMode::ListBox);
    fill(grid, 5, 3);
    QSignalSpy rowChanges(&grid, &FlexGrid::RowColChange);

    grid.Select(2, 1, 4, 1);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.RowSel(), 4);
    EXPECT_EQ(grid.SelectedRows(), 3);
    EXPECT_EQ(grid.SelectedRow(0), 2);
    EXPECT_EQ(rowChanges.count(), 1);

    grid.CollapseSelection();
    EXPECT_EQ(grid.SelectedRows(), 1);
    EXPECT_EQ(grid.SelectedRow(0), 2);

    grid.Select(0, 0, 3, 0); // from the heading: rows 1..3, no current data row
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_EQ(grid.SelectedRow(0), 1);
    EXPECT_EQ(grid.SelectedRows(), 3);
    grid.Select(0, 0); // deselect all, as the search screen does
    EXPECT_EQ(grid.SelectedRows(), 0);

    grid.SetRow(4); // a current row without a selection
    EXPECT_EQ(grid.SelectedRows(), 0);
    grid.SelectAllRows();
    EXPECT_EQ(grid.SelectedRows(), 5);
    grid.SelectNone();
    EXPECT_EQ(grid.SelectedRows(), 0);
    EXPECT_EQ(grid.Row(), 4);
}

TEST(FlexGridSelection, SingleSelectionRefusesRangesAndFreeSelectionCountsRowsOnce)
{
    FlexGrid grid;
    grid.SetSelMode(FlexGrid::SelectMode::Single);
    fill(grid, 5, 3);
    showAndWait(grid);

    clickRow(grid, 1);
    clickRow(grid, 4, Qt::ShiftModifier);
    EXPECT_EQ(grid.SelectedRows(), 1);
    EXPECT_EQ(grid.SelectedRow(0), 4);
    grid.Select(2, 0, 5, 0);
    EXPECT_EQ(grid.SelectedRows(), 1);
    EXPECT_EQ(grid.SelectedRow(0), 2);
    grid.SelectAllRows();
    EXPECT_EQ(grid.SelectedRows(), 1);

    // Free: however many cells of a row are selected, the row counts once.
    grid.SetSelMode(FlexGrid::SelectMode::Free);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(grid, 2, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, cellCentre(grid, 2, 2));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, cellCentre(grid, 3, 1));
    EXPECT_EQ(grid.SelectedRows(), 2);
    EXPECT_EQ(grid.SelectedRow(1), 3);
    grid.Select(1, 1, 3, 2);
    EXPECT_EQ(grid.SelectedRows(), 3);
    EXPECT_FALSE(grid.selectionModel()->isSelected(grid.GridModel()->index(0, 0)));
}

TEST(FlexGridSelection, RowsOfNestedOverlappingAndAdjacentRangesCountOnce)
{
    FlexGrid grid;
    fill(grid, 12, 3);
    QItemSelectionModel *selection = grid.selectionModel();
    auto add = [&](int top, int col, int bottom) {
        selection->select(
            QItemSelection(grid.GridModel()->index(top - 1, col), grid.GridModel()->index(bottom - 1, col)),
            QItemSelectionModel::Select);
    };
    auto selectedRows = [&] {
        QList<int> rows;
        for (int i = 0; i < grid.SelectedRows(); ++i)
            rows.append(grid.SelectedRow(i));
        return rows;
    };

    add(2, 0, 6); // an outer block
    add(3, 1, 4); // nested in it, in another column
    add(8, 2, 9);
    add(9, 0, 10);  // overlapping the one before
    add(11, 1, 11); // adjacent to that
    EXPECT_EQ(selectedRows(), (QList<int>{2, 3, 4, 5, 6, 8, 9, 10, 11}));
    EXPECT_TRUE(grid.IsSelected(6));
    EXPECT_FALSE(grid.IsSelected(7));
    EXPECT_TRUE(grid.IsSelected(11));
    EXPECT_FALSE(grid.IsSelected(1));
    EXPECT_FALSE(grid.IsSelected(12));
    EXPECT_EQ(grid.SelectedRow(9), -1);
}

// --- painting

TEST(FlexGridPainting, RedrawOffPaintsNothingUntilSwitchedOn)
{
    FlexGrid grid;
    fill(grid, 3, 2);
    showAndWait(grid);
    int paints = 0;
    struct Counter : QObject {
        int *count;
        explicit Counter(int *c) : count(c) {}
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                ++*count;
            return false;
        }
    } counter(&paints);
    grid.viewport()->installEventFilter(&counter);

    grid.SetRedraw(false);
    for (int i = 0; i < 50; ++i)
        grid.AddItem(QStringLiteral("new\trow"));
    QTest::qWait(50);
    EXPECT_EQ(paints, 0);

    grid.SetRedraw(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return paints > 0; }, 2000));
}

TEST(FlexGridPainting, AutoSizeFitsWidthsAndLeavesHiddenColumnsAlone)
{
    FlexGrid grid;
    fill(grid, 2, 2);
    grid.SetTextMatrix(1, 1, QStringLiteral("a much longer text than the heading or any other cell"));
    grid.SetColWidth(0, 10);
    grid.SetColWidth(1, 10);
    grid.SetColHidden(0, true);
    grid.AutoSize(0, 1);
    EXPECT_EQ(grid.ColWidth(0), 10); // hidden columns are left alone
    EXPECT_GT(grid.ColWidth(1), 200);
}

TEST(FlexGridPainting, ACellTooNarrowForItsTextShowsItWholeAsItsTooltip)
{
    FlexGrid grid;
    fill(grid, 2, 2);
    const QString longText = QStringLiteral("Alvar Plants of the Stora Alvaret, Oland");
    grid.SetTextMatrix(1, 1, longText);
    grid.SetColWidth(0, 200);
    grid.SetColWidth(1, 40);
    showAndWait(grid);
    const auto tipAt = [&](int row, int col) {
        QToolTip::hideText(); // the tip lingers a moment after it is told to go
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
        const QRect cell = grid.visualRect(grid.GridModel()->index(row - 1, col));
        QHelpEvent help(QEvent::ToolTip, cell.center(), grid.viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(grid.viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    // Cut off across, or wrapped below the row's height: either way the tip tells the whole text.
    grid.SetWordWrap(false);
    EXPECT_EQ(tipAt(1, 1), longText);
    grid.SetWordWrap(true);
    grid.SetColWidth(1, 150);
    grid.setRowHeight(0, grid.fontMetrics().height() + 4); // one line of the wrapped text shows
    EXPECT_EQ(tipAt(1, 1), longText);
    EXPECT_EQ(tipAt(1, 0), QString()) << "a cell that shows all of its text needs no tooltip";
    grid.SetColWidth(1, 600);
    EXPECT_EQ(tipAt(1, 1), QString());
}

TEST(FlexGridEditing, TabLeavesTheGridAndTheArrowKeysMoveInsideIt)
{
    QWidget screen;
    auto *layout = new QVBoxLayout(&screen);
    auto *grid = new FlexGrid;
    fill(*grid, 3, 3);
    auto *next = new QPushButton(QStringLiteral("Select All"));
    layout->addWidget(grid);
    layout->addWidget(next);
    screen.show();
    QApplication::setActiveWindow(&screen);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    grid->setFocus();
    grid->Select(1, 0);
    QTest::keyClick(grid, Qt::Key_Right);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(std::make_pair(grid->Row(), grid->Col()), std::make_pair(2, 1));
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next);
    EXPECT_EQ(std::make_pair(grid->Row(), grid->Col()), std::make_pair(2, 1));
}

// --- editing and notifications

TEST(FlexGridEditing, BeforeEditCanRefuseAndCommitsOfTextOrDropDownFollowWithAfterEdit)
{
    FlexGrid grid;
    fill(grid, 3, 3);
    grid.SetEditable(true);
    grid.SetColComboList(1, QStringLiteral("#1;Head office|#2;Branch|"));
    showAndWait(grid);
    QObject::connect(&grid, &FlexGrid::BeforeEdit, &grid, [](int, int col, bool &cancel) { cancel = col == 0; });
    QSignalSpy afterEdit(&grid, &FlexGrid::AfterEdit);

    grid.edit(grid.GridModel()->index(0, 0));
    EXPECT_EQ(grid.viewport()->findChild<QLineEdit *>(), nullptr);

    grid.edit(grid.GridModel()->index(1, 2));
    auto *editor = grid.viewport()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("typed"));
    QTest::keyClick(editor, Qt::Key_Return); // the delegate commits on the next event loop pass
    EXPECT_TRUE(afterEdit.wait(2000));
    EXPECT_EQ(grid.TextMatrix(2, 2), QStringLiteral("typed"));

    // A value-list column edits with a drop-down that stores the key.
    grid.edit(grid.GridModel()->index(0, 1));
    auto *combo = grid.viewport()->findChild<QComboBox *>();
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(combo->findText(QStringLiteral("Branch")));
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_TRUE(afterEdit.wait(2000));
    EXPECT_EQ(grid.TextMatrix(1, 1), QStringLiteral("2"));
    EXPECT_EQ(shown(grid, 1, 1).toString(), QStringLiteral("Branch"));
    EXPECT_EQ(afterEdit, (QList<QVariantList>{{2, 2}, {1, 1}}));
}

TEST(FlexGridEditing, DraggingARowMovesItAndReportsItsNewPosition)
{
    FlexGrid grid;
    fill(grid, 5, 2);
    for (int r = 1; r <= 5; ++r)
        grid.SetRowData(r, 100 + r);
    grid.SetAllowRowDrag(true);
    grid.SetSelMode(FlexGrid::SelectMode::ListBox);
    grid.Select(5, 0);
    showAndWait(grid);
    QSignalSpy moved(&grid, &FlexGrid::AfterMoveRow);

    auto dropAt = [&](const QMimeData *mime, const QPoint &pos) {
        QDragEnterEvent enter(pos, Qt::MoveAction, mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(grid.viewport(), &enter);
        QDropEvent drop(pos, Qt::MoveAction, mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(grid.viewport(), &drop);
        return drop.isAccepted();
    };

    // The last row dropped onto the first takes its place.
    std::unique_ptr<QMimeData> last(grid.GridModel()->mimeData({grid.GridModel()->index(4, 0)}));
    EXPECT_TRUE(dropAt(last.get(), cellCentre(grid, 1)));
    EXPECT_EQ(moved, (QList<QVariantList>{{5, 1}}));
    EXPECT_EQ(grid.TextMatrix(1, 0), QStringLiteral("r5c0"));
    EXPECT_EQ(grid.RowData(1).toInt(), 105);
    EXPECT_EQ(grid.RowData(2).toInt(), 101);
    EXPECT_EQ(grid.SelectedRow(0), 1); // the selection travels with the row
    EXPECT_EQ(rowTexts(grid), (QStringList{"r5c0", "r1c0", "r2c0", "r3c0", "r4c0"}));

    // Downward, the row lands on the row it was dropped onto; below the last row, it goes last.
    std::unique_ptr<QMimeData> first(grid.GridModel()->mimeData({grid.GridModel()->index(0, 0)}));
    EXPECT_TRUE(dropAt(first.get(), cellCentre(grid, 3)));
    EXPECT_EQ(rowTexts(grid), (QStringList{"r1c0", "r2c0", "r5c0", "r3c0", "r4c0"}));
    EXPECT_EQ(grid.RowData(3).toInt(), 105);
    std::unique_ptr<QMimeData> second(grid.GridModel()->mimeData({grid.GridModel()->index(1, 0)}));
    EXPECT_TRUE(dropAt(second.get(), QPoint(5, grid.viewport()->height() - 2)));
    EXPECT_EQ(rowTexts(grid), (QStringList{"r1c0", "r5c0", "r3c0", "r4c0", "r2c0"}));
    EXPECT_EQ(moved, (QList<QVariantList>{{5, 1}, {1, 3}, {2, 5}}));

    // Rows from another grid are not ours to move.
    FlexGrid other;
    fill(other, 5, 2);
    std::unique_ptr<QMimeData> foreign(other.GridModel()->mimeData({other.GridModel()->index(0, 0)}));
    EXPECT_FALSE(dropAt(foreign.get(), cellCentre(grid, 3)));
    EXPECT_EQ(moved.count(), 3);
    EXPECT_EQ(rowTexts(grid), (QStringList{"r1c0", "r5c0", "r3c0", "r4c0", "r2c0"}));
    // Nor is a row removed while it was dragged.
    std::unique_ptr<QMimeData> gone(grid.GridModel()->mimeData({grid.GridModel()->index(4, 0)}));
    grid.RemoveItem(5);
    EXPECT_FALSE(dropAt(gone.get(), cellCentre(grid, 1)));
    EXPECT_EQ(moved.count(), 3);
}

TEST(FlexGridEditing, DoubleClicksOnDataAndUserResizesOfColumnsAreReported)
{
    FlexGrid grid;
    fill(grid, 2, 3);
    grid.SetColWidth(0, 60);
    showAndWait(grid);
    QSignalSpy dblClicks(&grid, &FlexGrid::DblClick);
    QSignalSpy resized(&grid, &FlexGrid::AfterUserResize);
    QWidget *heading = grid.horizontalHeader()->viewport();

    QTest::mouseDClick(heading, Qt::LeftButton, {}, QPoint(grid.columnViewportPosition(0) + 5, 5));
    EXPECT_EQ(dblClicks.count(), 0);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(grid, 2));
    EXPECT_EQ(dblClicks.count(), 1);
    EXPECT_EQ(grid.Row(), 2);

    grid.SetColWidth(1, 90);
    grid.AutoSize(0, 2);
    EXPECT_EQ(resized.count(), 0);
    const int divider = grid.columnViewportPosition(0) + grid.columnWidth(0) - 1;
    QTest::mousePress(heading, Qt::LeftButton, {}, QPoint(divider, 5));
    QTest::mouseMove(heading, QPoint(divider + 40, 5));
    QTest::mouseRelease(heading, Qt::LeftButton, {}, QPoint(divider + 40, 5));
    EXPECT_EQ(resized, (QList<QVariantList>{{-1, 0}}));
}

// --- the model under Qt's model tester

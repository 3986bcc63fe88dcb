#pragma once

#include "Recordset.h"

#include <QColor>
#include <QHash>
#include <QPersistentModelIndex>
#include <QTableView>

namespace talv {

class FlexGridModel;
class FlexGridSelectedRows;

// The screens' grid: grid row 0 (and any further heading row) is drawn as the horizontal header,
// grid row r >= FixedRows() is model row r - FixedRows(). Operations out of range raise
// talv::Error (InvalidArgument); writing cells or adding, removing and moving rows of a bound
// grid raise IllegalOperation.
class FlexGrid : public QTableView
{
    Q_OBJECT

public:
    enum class SelectMode {
        Free,    // cells and blocks of cells
        ByRow,   // one contiguous block of whole rows
        ListBox, // whole rows, each selectable on its own (Ctrl toggles, Shift extends)
        Single,  // one whole row; the user cannot select a range
    };
    enum class AutoSizeMode { ColWidth, RowHeight };

    explicit FlexGrid(QWidget *parent = nullptr);
    ~FlexGrid() override;

    FlexGridModel *GridModel() const { return m_model; }

    // --- structure (counts include the heading rows)
    int Rows() const;
    // Setting a different row count takes a bound grid off its recordset (columns stay).
    void SetRows(int rows);
    int Cols() const;
    void SetCols(int cols);
    int FixedRows() const;
    void SetFixedRows(int rows);
    // Inserts a data row at `row` (-1: at the end) with tab-separated cell texts; answers its row.
    int AddItem(const QString &tabSeparatedText = {}, int row = -1);
    // Appends many data rows at once: each entry of `cells` one row's texts from column 0, with
    // the RowData of the same place in `rowData` when given. One insertion for the view, so a
    // thousand rows cost one relayout, not a thousand.
    void AddItems(const QList<QStringList> &cells, const QVariantList &rowData = {});
    void RemoveItem(int row);

    // --- cells; rows below FixedRows() are the heading rows
    QString TextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, const QString &text);
    QVariant RowData(int row) const;
    void SetRowData(int row, const QVariant &value);
    QColor CellBackColor(int row, int col) const;
    void SetCellBackColor(int row, int col, const QColor &color);
    void SetCellBackColor(int row1, int col1, int row2, int col2, const QColor &color);

    // --- columns
    void SetColKey(int col, const QString &key);
    // The column with that key (letter case ignored), or -1.
    int ColIndex(const QString &key) const;
    // Pixels; a hidden column answers the width it gets back when shown.
    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    void SetColHidden(int col, bool hidden);
    // "a|b|c" offers choices; "#1;Head office|#2;Branch|" also shows the cell value 1 as "Head office".
    void SetColComboList(int col, const QString &list);

    // --- current cell; a heading row is current when no data row is
    int Row() const;
    void SetRow(int row);
    int Col() const;
    void SetCol(int col);
    // Scrolls so that the cell is visible.
    void ShowCell(int row, int col);

    // --- selection
    void SetSelMode(SelectMode mode);
    // Number of grid rows with a selected cell; SelectedRow(i) answers them in ascending order.
    int SelectedRows() const;
    int SelectedRow(int index) const;
    bool IsSelected(int row) const;
    // Makes (row, col) current and selects the block to (rowSel, colSel) (defaults: the cell
    // itself), replacing the selection. Heading rows in the block select nothing; in Single mode
    // the block shrinks to the current row.
    void Select(int row, int col, int rowSel = -1, int colSel = -1);
    // The far row of the block that Select or a move of the current cell last set.
    int RowSel() const { return m_rowSel; }
    // The selection becomes the current row alone (nothing when a heading row is current).
    void CollapseSelection();
    void SelectAllRows();
    void SelectNone();

    // --- painting
    bool Redraw() const { return m_redraw; }
    void SetRedraw(bool on);
    void SetWordWrap(bool on);
    void SetAutoSizing(AutoSizeMode mode) { m_autoSizeMode = mode; }
    // Fits the widths of columns col1..col2 (col2 -1: col1 alone; hidden ones stay), or in
    // RowHeight mode every row's height to its wrapped text, as resizeRowsToContents would.
    void AutoSize(int col1, int col2 = -1);

    // --- editing and dragging (unbound only; a bound grid is read-only)
    bool Editable() const;
    void SetEditable(bool on);
    void SetAllowRowDrag(bool on);
    // Moves a data row to another position, as a drag would, without AfterMoveRow.
    void MoveRow(int row, int position);

    // --- binding
    // Shows the recordset in place: data rows are its visible rows, columns its fields, heading
    // row 0 its field names. Column settings start afresh, unless the columns came from a set
    // with the same field names (the same set rebound after a change): then only rows change.
    void BindToRecordset(RecordsetPtr recordset);
    // Back to unbound: the columns and headings stay, the data rows go.
    void Unbind();
    bool IsBound() const;
    RecordsetPtr BoundRecordset() const;
    // Re-reads the bound recordset's rows after it changed; widths and headings stay unless the
    // fields changed.
    void DataRefresh();

signals:
    // A double-click on the data area (not on the heading row).
    void DblClick();
    void RowColChange();
    void SelChange();
    // Before the user starts editing (row, col); set `cancel` to refuse the edit.
    void BeforeEdit(int row, int col, bool &cancel);
    void AfterEdit(int row, int col);
    // After the user dragged grid row `row` so that it now stands at grid row `position`.
    void AfterMoveRow(int row, int position);
    // After the user resized a column by its heading (row is -1) or fitted it by a double-click.
    void AfterUserResize(int row, int col);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void commitData(QWidget *editor) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void setUpInteraction();
    int dataRow(int row) const; // grid row -> model row, raising for heading or missing rows
    void requireGridRow(int row) const;
    void requireCol(int col) const;
    void requireUnbound() const;
    // Columns from `first` on moved by `by` (negative: -by columns were removed at `first`).
    void shiftHiddenWidths(int first, int by);
    void fitRowHeights();
    bool acceptsRowDrop(const QMimeData *mime) const;
    void moveModelRow(int from, int to);
    QModelIndex modelIndex(int row, int col) const;
    void onCurrentChanged(const QModelIndex &current);

    FlexGridModel *m_model;
    FlexGridSelectedRows *m_selectedRows = nullptr;
    SelectMode m_selectMode = SelectMode::Free;
    AutoSizeMode m_autoSizeMode = AutoSizeMode::ColWidth;
    bool m_redraw = true;
    bool m_allowRowDrag = false;
    bool m_inSelect = false;
    bool m_headerPressed = false;
    int m_userResizedCol = -1;
    int m_headingRow = 0; // the current row while no data row is current
    int m_headingCol = 0;
    int m_rowSel = 0;
    QPersistentModelIndex m_editIndex; // the cell whose editor is open
    QHash<int, int> m_hiddenWidths;    // the header does not tell the width of a hidden column
};

} // namespace talv

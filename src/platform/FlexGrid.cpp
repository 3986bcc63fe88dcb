#include "FlexGrid.h"

#include "FlexGridModel.h"
#include "FlexGridSelectedRows.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScopedValueRollback>

#include <algorithm>

namespace talv {

namespace {

Error outOfRange(const char *what, int value)
{
    return Error(Error::InvalidArgument,
                 QStringLiteral("Grid %1 %2 is out of range").arg(QLatin1String(what)).arg(value));
}

} // namespace

FlexGrid::FlexGrid(QWidget *parent) : QTableView(parent), m_model(new FlexGridModel(this))
{
    setModel(m_model);
    setUpInteraction();
    verticalHeader()->hide();
    // A row as high as a line of text with a little air, not the style's taller header default.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setHighlightSections(false);
    // Screens use a column of a pixel or so as a row selector.
    horizontalHeader()->setMinimumSectionSize(0);
    setEditTriggers(NoEditTriggers);
    // Tab goes on to the next control of the screen; the arrow keys move inside the grid.
    setTabKeyNavigation(false);
    SetSelMode(SelectMode::Free);

    QItemSelectionModel *selection = selectionModel();
    m_selectedRows = new FlexGridSelectedRows(selection);
    connect(selection, &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { onCurrentChanged(current); });
    connect(selection, &QItemSelectionModel::selectionChanged, this, &FlexGrid::SelChange);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { m_hiddenWidths.clear(); });
    connect(m_model, &QAbstractItemModel::columnsInserted, this,
            [this](const QModelIndex &, int first, int last) { shiftHiddenWidths(first, last - first + 1); });
    connect(m_model, &QAbstractItemModel::columnsRemoved, this,
            [this](const QModelIndex &, int first, int last) { shiftHiddenWidths(first, -(last - first + 1)); });
}

FlexGrid::~FlexGrid() = default;

// --- structure

int FlexGrid::Rows() const
{
    return FixedRows() + m_model->rowCount();
}

void FlexGrid::SetRows(int rows)
{
    if (rows < 0)
        throw outOfRange("row count", rows);
    if (rows == Rows())
        return;
    // Setting the row count takes the grid off its recordset, as filling it by hand would.
    m_model->unbind();
    const int wanted = std::max(rows - FixedRows(), 0);
    const int have = m_model->rowCount();
    if (wanted > have)
        m_model->insertRows(have, wanted - have);
    else if (wanted < have)
        m_model->removeRows(wanted, have - wanted);
}

int FlexGrid::Cols() const
{
    return m_model->columnCount();
}

void FlexGrid::SetCols(int cols)
{
    if (cols < 0)
        throw outOfRange("column count", cols);
    if (cols == Cols())
        return;
    if (IsBound())
        throw Error(Error::IllegalOperation, QStringLiteral("Cannot change the column count while the grid is bound"));
    const int have = Cols();
    if (cols > have)
        m_model->insertColumns(have, cols - have);
    else
        m_model->removeColumns(cols, have - cols);
}

int FlexGrid::FixedRows() const
{
    return m_model->headingLines();
}

void FlexGrid::SetFixedRows(int rows)
{
    m_model->setHeadingLines(rows);
    horizontalHeader()->setVisible(rows > 0);
    m_headingRow = std::clamp(m_headingRow, rows > 0 ? 0 : -1, rows - 1);
}

int FlexGrid::AddItem(const QString &tabSeparatedText, int row)
{
    requireUnbound();
    const int position = row < 0 ? m_model->rowCount() : row - FixedRows();
    if (position < 0 || position > m_model->rowCount())
        throw outOfRange("row", row);
    m_model->insertRows(position, 1);
    const QStringList cells = tabSeparatedText.split(QLatin1Char('\t'));
    const int filled = std::min(int(cells.size()), Cols());
    for (int c = 0; c < filled; ++c)
        m_model->setCellText(position, c, cells.at(c));
    return position + FixedRows();
}

void FlexGrid::AddItems(const QList<QStringList> &cells, const QVariantList &rowData)
{
    requireUnbound();
    m_model->appendRows(cells, rowData);
}

void FlexGrid::RemoveItem(int row)
{
    requireUnbound();
    m_model->removeRows(dataRow(row), 1);
}

// --- cells

QString FlexGrid::TextMatrix(int row, int col) const
{
    requireGridRow(row);
    return row < FixedRows() ? m_model->headingText(row, col) : m_model->cellText(row - FixedRows(), col);
}

void FlexGrid::SetTextMatrix(int row, int col, const QString &text)
{
    requireGridRow(row);
    if (row < FixedRows())
        m_model->setHeadingText(row, col, text);
    else
        m_model->setCellText(row - FixedRows(), col, text);
}

QVariant FlexGrid::RowData(int row) const
{
    return m_model->rowData(dataRow(row));
}

void FlexGrid::SetRowData(int row, const QVariant &value)
{
    m_model->setRowData(dataRow(row), value);
}

QColor FlexGrid::CellBackColor(int row, int col) const
{
    return m_model->cellBackColor(dataRow(row), col);
}

void FlexGrid::SetCellBackColor(int row, int col, const QColor &color)
{
    m_model->setCellBackColor(dataRow(row), col, color);
}

void FlexGrid::SetCellBackColor(int row1, int col1, int row2, int col2, const QColor &color)
{
    m_model->setBlockBackColor(dataRow(row1), col1, dataRow(row2), col2, color);
}

// --- columns

void FlexGrid::SetColKey(int col, const QString &key)
{
    m_model->setColumnKey(col, key);
}

int FlexGrid::ColIndex(const QString &key) const
{
    return m_model->columnOfKey(key);
}

int FlexGrid::ColWidth(int col) const
{
    requireCol(col);
    if (isColumnHidden(col))
        return m_hiddenWidths.value(col, horizontalHeader()->defaultSectionSize());
    return columnWidth(col);
}

void FlexGrid::SetColWidth(int col, int width)
{
    requireCol(col);
    if (width < 0)
        throw outOfRange("column width", width);
    if (isColumnHidden(col))
        m_hiddenWidths.insert(col, width);
    // The header keeps the size of a hidden section and applies it when the section shows again.
    setColumnWidth(col, width);
}

void FlexGrid::shiftHiddenWidths(int first, int by)
{
    // The header moves its sections' hidden state along with the columns; the widths follow.
    QHash<int, int> shifted;
    for (auto it = m_hiddenWidths.cbegin(); it != m_hiddenWidths.cend(); ++it) {
        if (it.key() < first)
            shifted.insert(it.key(), it.value());
        else if (by > 0 || it.key() >= first - by)
            shifted.insert(it.key() + by, it.value());
    }
    m_hiddenWidths = std::move(shifted);
}

void FlexGrid::SetColHidden(int col, bool hidden)
{
    requireCol(col);
    if (hidden == isColumnHidden(col))
        return;
    if (hidden)
        m_hiddenWidths.insert(col, columnWidth(col));
    else
        m_hiddenWidths.remove(col);
    setColumnHidden(col, hidden);
}

void FlexGrid::SetColComboList(int col, const QString &list)
{
    m_model->setValueList(col, FlexGridValueList(list));
}

// --- current cell

int FlexGrid::Row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + FixedRows() : m_headingRow;
}

void FlexGrid::SetRow(int row)
{
    requireGridRow(row);
    if (row < FixedRows()) {
        m_headingRow = row;
        m_rowSel = row;
        selectionModel()->clearCurrentIndex();
        return;
    }
    if (Cols() == 0)
        return;
    const int col = std::clamp(Col(), 0, Cols() - 1);
    selectionModel()->setCurrentIndex(modelIndex(row, col), QItemSelectionModel::NoUpdate);
}

int FlexGrid::Col() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : m_headingCol;
}

void FlexGrid::SetCol(int col)
{
    requireCol(col);
    m_headingCol = col;
    const QModelIndex current = currentIndex();
    if (current.isValid())
        selectionModel()->setCurrentIndex(m_model->index(current.row(), col), QItemSelectionModel::NoUpdate);
}

void FlexGrid::ShowCell(int row, int col)
{
    scrollTo(modelIndex(row, col));
}

// --- selection

void FlexGrid::SetSelMode(SelectMode mode)
{
    m_selectMode = mode;
    switch (mode) {
    case SelectMode::Free:
        setSelectionBehavior(SelectItems);
        setSelectionMode(ExtendedSelection);
        break;
    case SelectMode::ByRow:
        setSelectionBehavior(SelectRows);
        setSelectionMode(ContiguousSelection);
        break;
    case SelectMode::ListBox:
        setSelectionBehavior(SelectRows);
        setSelectionMode(ExtendedSelection);
        break;
    case SelectMode::Single:
        setSelectionBehavior(SelectRows);
        setSelectionMode(SingleSelection);
        CollapseSelection();
        break;
    }
}

int FlexGrid::SelectedRows() const
{
    return m_selectedRows->Count();
}

int FlexGrid::SelectedRow(int index) const
{
    const int row = m_selectedRows->At(index);
    return row < 0 ? -1 : row + FixedRows();
}

bool FlexGrid::IsSelected(int row) const
{
    return m_selectedRows->Contains(row - FixedRows());
}

void FlexGrid::Select(int row, int col, int rowSel, int colSel)
{
    if (rowSel < 0)
        rowSel = row;
    if (colSel < 0)
        colSel = col;
    requireGridRow(row);
    requireGridRow(rowSel);
    requireCol(col);
    requireCol(colSel);
    if (m_selectMode == SelectMode::Single) {
        rowSel = row;
        colSel = col;
    }
    const QScopedValueRollback guard(m_inSelect, true);
    const int fixed = FixedRows();
    m_rowSel = rowSel;
    m_headingCol = col;
    if (row >= fixed) {
        selectionModel()->setCurrentIndex(modelIndex(row, col), QItemSelectionModel::NoUpdate);
    } else {
        m_headingRow = row;
        selectionModel()->clearCurrentIndex();
    }
    const int top = std::max(std::min(row, rowSel), fixed);
    const int bottom = std::max(row, rowSel);
    if (bottom < top) {
        selectionModel()->clearSelection();
        return;
    }
    const QItemSelection block(modelIndex(top, std::min(col, colSel)), modelIndex(bottom, std::max(col, colSel)));
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
    if (m_selectMode != SelectMode::Free)
        flags |= QItemSelectionModel::Rows;
    selectionModel()->select(block, flags);
}

void FlexGrid::CollapseSelection()
{
    const QModelIndex current = currentIndex();
    m_rowSel = Row();
    if (!current.isValid()) {
        selectionModel()->clearSelection();
        return;
    }
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
    if (m_selectMode != SelectMode::Free)
        flags |= QItemSelectionModel::Rows;
    selectionModel()->select(current, flags);
}

void FlexGrid::SelectAllRows()
{
    if (m_selectMode == SelectMode::Single) {
        CollapseSelection();
        return;
    }
    const int rows = m_model->rowCount();
    const int cols = Cols();
    if (rows == 0 || cols == 0)
        return;
    // One range however many rows: no per-row selection objects.
    selectionModel()->select(QItemSelection(m_model->index(0, 0), m_model->index(rows - 1, cols - 1)),
                             QItemSelectionModel::ClearAndSelect);
}

void FlexGrid::SelectNone()
{
    selectionModel()->clearSelection();
}

// --- painting

void FlexGrid::SetRedraw(bool on)
{
    if (on == m_redraw)
        return;
    m_redraw = on;
    // Disabled updates make every repaint request a no-op, for this widget and its children.
    setUpdatesEnabled(on);
    if (on)
        viewport()->update();
}

void FlexGrid::SetWordWrap(bool on)
{
    setWordWrap(on);
}

void FlexGrid::AutoSize(int col1, int col2)
{
    if (col2 < 0)
        col2 = col1;
    requireCol(col1);
    requireCol(col2);
    if (m_autoSizeMode == AutoSizeMode::RowHeight) {
        fitRowHeights();
        return;
    }
    for (int c = std::min(col1, col2); c <= std::max(col1, col2); ++c) {
        if (!isColumnHidden(c))
            resizeColumnToContents(c);
    }
}

// --- editing and dragging

bool FlexGrid::Editable() const
{
    return m_model->isEditable();
}

void FlexGrid::SetEditable(bool on)
{
    m_model->setEditable(on);
    setEditTriggers(on ? EditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed) : NoEditTriggers);
}

// --- binding

void FlexGrid::BindToRecordset(RecordsetPtr recordset)
{
    m_model->bind(std::move(recordset));
}

void FlexGrid::Unbind()
{
    m_model->unbind();
}

bool FlexGrid::IsBound() const
{
    return m_model->isBound();
}

RecordsetPtr FlexGrid::BoundRecordset() const
{
    return m_model->recordset();
}

void FlexGrid::DataRefresh()
{
    m_model->refreshBound();
}

int FlexGrid::dataRow(int row) const
{
    if (row < FixedRows() || row >= Rows())
        throw outOfRange("data row", row);
    return row - FixedRows();
}

void FlexGrid::requireGridRow(int row) const
{
    if (row < 0 || row >= Rows())
        throw outOfRange("row", row);
}

void FlexGrid::requireCol(int col) const
{
    if (col < 0 || col >= Cols())
        throw outOfRange("column", col);
}

void FlexGrid::requireUnbound() const
{
    if (IsBound())
        throw Error(Error::IllegalOperation, QStringLiteral("Cannot change the rows of a grid bound to a recordset"));
}

QModelIndex FlexGrid::modelIndex(int row, int col) const
{
    requireCol(col);
    return m_model->index(dataRow(row), col);
}

void FlexGrid::onCurrentChanged(const QModelIndex &current)
{
    if (!m_inSelect)
        m_rowSel = Row();
    if (current.isValid())
        m_headingCol = current.column();
    emit RowColChange();
}

} // namespace talv

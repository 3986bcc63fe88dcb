#include "FlexGridModel.h"

#include <QBrush>
#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

#include <algorithm>
#include <limits>

namespace talv {

namespace {

const QString kRowMimeType = QStringLiteral("application/x-talv-flexgrid-row");

QString textAt(const QStringList &list, int index)
{
    return index < list.size() ? list.at(index) : QString();
}

void putText(QStringList &list, int index, const QString &text)
{
    if (index >= list.size()) {
        if (text.isEmpty())
            return;
        list.resize(index + 1);
    }
    list[index] = text;
}

Error outOfRange(const char *what, int value)
{
    return Error(Error::InvalidArgument,
                 QStringLiteral("Grid %1 %2 is out of range").arg(QLatin1String(what)).arg(value));
}

} // namespace

FlexGridModel::FlexGridModel(QObject *parent) : QAbstractTableModel(parent)
{}

FlexGridModel::~FlexGridModel() = default;

int FlexGridModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return isBound() ? m_boundRows : int(m_rows.size());
}

int FlexGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant FlexGridModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole: {
        const FlexGridValueList &list = m_columns.at(column).values;
        const QString text = cellText(row, column);
        return list.Translates() ? list.DisplayText(text) : text;
    }
    case Qt::EditRole:
        return cellText(row, column);
    case Qt::BackgroundRole: {
        const QColor color = cellBackColor(row, column);
        return color.isValid() ? QVariant(QBrush(color)) : QVariant();
    }
    default:
        return {};
    }
}

bool FlexGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || isBound() ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    setCellText(index.row(), index.column(), value.toString());
    return true;
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_columns.size())
        return {};
    QStringList lines;
    for (int line = 0; line < m_headingLines; ++line)
        lines.append(headingText(line, section));
    return lines.join(QLatin1Char('\n'));
}

Qt::ItemFlags FlexGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!isBound()) {
        result |= Qt::ItemIsDragEnabled;
        if (m_editable)
            result |= Qt::ItemIsEditable;
    }
    return result;
}

bool FlexGridModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (isBound() || parent.isValid() || row < 0 || row > m_rows.size() || count < 1)
        return false;
    beginInsertRows({}, row, row + count - 1);
    m_rows.insert(row, count, Row{});
    endInsertRows();
    return true;
}

void FlexGridModel::appendRows(const QList<QStringList> &cells, const QVariantList &rowData)
{
    requireUnbound("add rows");
    if (cells.isEmpty())
        return;
    const int first = int(m_rows.size());
    beginInsertRows({}, first, first + int(cells.size()) - 1);
    m_rows.reserve(first + cells.size());
    for (qsizetype i = 0; i < cells.size(); ++i) {
        Row row{cells.at(i).first(std::min(cells.at(i).size(), qsizetype(columnCount()))), {}};
        if (i < rowData.size())
            row.extras.data = rowData.at(i);
        m_rows.append(std::move(row));
    }
    endInsertRows();
}

bool FlexGridModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (isBound() || parent.isValid() || row < 0 || count < 1 || row + count > m_rows.size())
        return false;
    beginRemoveRows({}, row, row + count - 1);
    m_rows.remove(row, count);
    endRemoveRows();
    return true;
}

bool FlexGridModel::insertColumns(int column, int count, const QModelIndex &parent)
{
    if (isBound() || parent.isValid() || column < 0 || column > m_columns.size() || count < 1)
        return false;
    beginInsertColumns({}, column, column + count - 1);
    m_fieldNames.clear();
    m_columns.insert(column, count, Column{});
    for (Row &r : m_rows) {
        if (column < r.text.size())
            r.text.insert(column, count, QString());
        if (column < r.extras.back.size())
            r.extras.back.insert(column, count, QColor());
    }
    endInsertColumns();
    return true;
}

bool FlexGridModel::removeColumns(int column, int count, const QModelIndex &parent)
{
    if (isBound() || parent.isValid() || column < 0 || count < 1 || column + count > m_columns.size())
        return false;
    beginRemoveColumns({}, column, column + count - 1);
    m_fieldNames.clear();
    m_columns.remove(column, count);
    for (Row &r : m_rows) {
        if (column < r.text.size())
            r.text.remove(column, std::min<qsizetype>(count, r.text.size() - column));
        if (column < r.extras.back.size())
            r.extras.back.remove(column, std::min<qsizetype>(count, r.extras.back.size() - column));
    }
    endRemoveColumns();
    return true;
}

bool FlexGridModel::moveRows(const QModelIndex &sourceParent, int sourceRow, int count,
                             const QModelIndex &destinationParent, int destinationChild)
{
    const int size = int(m_rows.size());
    if (isBound() || sourceParent.isValid() || destinationParent.isValid() || count != 1 || sourceRow < 0 ||
        sourceRow >= size || destinationChild < 0 || destinationChild > size)
        return false;
    // Moving a row onto itself or just below itself is no move; Qt's begin call refuses those.
    if (destinationChild == sourceRow || destinationChild == sourceRow + 1)
        return false;
    if (!beginMoveRows({}, sourceRow, sourceRow, {}, destinationChild))
        return false;
    m_rows.move(sourceRow, destinationChild > sourceRow ? destinationChild - 1 : destinationChild);
    endMoveRows();
    return true;
}

QStringList FlexGridModel::mimeTypes() const
{
    return {kRowMimeType};
}

QMimeData *FlexGridModel::mimeData(const QModelIndexList &indexes) const
{
    if (indexes.isEmpty() || !indexes.first().isValid())
        return nullptr;
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << quint64(reinterpret_cast<quintptr>(this)) << qint32(indexes.first().row());
    auto *mime = new QMimeData;
    mime->setData(kRowMimeType, payload);
    return mime;
}

Qt::DropActions FlexGridModel::supportedDropActions() const
{
    return Qt::MoveAction;
}

int FlexGridModel::draggedRow(const QMimeData *data) const
{
    if (data == nullptr || !data->hasFormat(kRowMimeType))
        return -1;
    QDataStream in(data->data(kRowMimeType));
    quint64 origin = 0;
    qint32 row = -1;
    in >> origin >> row;
    if (in.status() != QDataStream::Ok || origin != quint64(reinterpret_cast<quintptr>(this)) || row < 0 ||
        row >= rowCount())
        return -1;
    return row;
}

void FlexGridModel::setHeadingLines(int lines)
{
    if (lines < 0)
        throw outOfRange("heading row count", lines);
    if (lines == m_headingLines)
        return;
    m_headingLines = lines;
    if (!m_columns.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, int(m_columns.size()) - 1);
}

QString FlexGridModel::headingText(int line, int column) const
{
    requireColumn(column);
    if (line < 0 || line >= m_headingLines)
        throw outOfRange("heading row", line);
    return textAt(m_columns.at(column).headings, line);
}

void FlexGridModel::setHeadingText(int line, int column, const QString &text)
{
    requireColumn(column);
    if (line < 0 || line >= m_headingLines)
        throw outOfRange("heading row", line);
    putText(m_columns[column].headings, line, text);
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void FlexGridModel::setColumnKey(int column, const QString &key)
{
    requireColumn(column);
    m_columns[column].key = key;
}

int FlexGridModel::columnOfKey(const QString &key) const
{
    for (int c = 0; c < m_columns.size(); ++c) {
        if (m_columns.at(c).key.compare(key, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

const FlexGridValueList &FlexGridModel::valueList(int column) const
{
    requireColumn(column);
    return m_columns.at(column).values;
}

void FlexGridModel::setValueList(int column, const FlexGridValueList &list)
{
    requireColumn(column);
    m_columns[column].values = list;
    if (rowCount() > 0)
        emit dataChanged(index(0, column), index(rowCount() - 1, column), {Qt::DisplayRole});
}

QString FlexGridModel::cellText(int row, int column) const
{
    requireCell(row, column);
    return isBound() ? boundText(row, column) : textAt(m_rows.at(row).text, column);
}

void FlexGridModel::setCellText(int row, int column, const QString &text)
{
    requireCell(row, column);
    // The recordset offers no positional write, and moving its cursor under the screen's feet
    // would be worse: a bound grid is read-only.
    requireUnbound("write a cell");
    putText(m_rows[row].text, column, text);
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

QVariant FlexGridModel::rowData(int row) const
{
    requireRow(row);
    const RowExtras *e = extras(row);
    return e ? e->data : QVariant();
}

void FlexGridModel::setRowData(int row, const QVariant &value)
{
    requireRow(row);
    extrasForWrite(row).data = value;
}

QColor FlexGridModel::cellBackColor(int row, int column) const
{
    requireCell(row, column);
    const RowExtras *e = extras(row);
    return e && column < e->back.size() ? e->back.at(column) : QColor();
}

void FlexGridModel::setCellBackColor(int row, int column, const QColor &color)
{
    setBlockBackColor(row, column, row, column, color);
}

void FlexGridModel::setBlockBackColor(int top, int left, int bottom, int right, const QColor &color)
{
    requireCell(top, left);
    requireCell(bottom, right);
    if (top > bottom)
        std::swap(top, bottom);
    if (left > right)
        std::swap(left, right);
    for (int row = top; row <= bottom; ++row) {
        QList<QColor> &back = extrasForWrite(row).back;
        if (back.size() <= right)
            back.resize(right + 1);
        std::fill(back.begin() + left, back.begin() + right + 1, color);
    }
    emit dataChanged(index(top, left), index(bottom, right), {Qt::BackgroundRole});
}

void FlexGridModel::setEditable(bool on)
{
    if (on == m_editable)
        return;
    // Flags are not covered by dataChanged's roles; a layout change makes views re-read them.
    emit layoutAboutToBeChanged();
    m_editable = on;
    emit layoutChanged();
}

void FlexGridModel::bind(RecordsetPtr recordset)
{
    if (!recordset) {
        unbind();
        return;
    }
    if (!matchesFields(*recordset)) {
        beginResetModel();
        m_recordset = std::move(recordset);
        m_rows.clear();
        m_boundExtras.clear();
        resetColumnsFromFields();
        m_boundRows = boundRecordCount();
        endResetModel();
        return;
    }
    // Rebinding the same layout (typically the same set after it changed) swaps the rows only,
    // so headings, keys and the views' column widths stay as the screen set them.
    dropAllRows();
    m_recordset = std::move(recordset);
    const int count = boundRecordCount();
    if (count > 0) {
        beginInsertRows({}, 0, count - 1);
        m_boundRows = count;
        endInsertRows();
    }
}

void FlexGridModel::unbind()
{
    if (!isBound())
        return;
    dropAllRows();
    m_recordset.reset();
}

void FlexGridModel::refreshBound()
{
    if (!isBound())
        return;
    if (!matchesFields(*m_recordset)) {
        beginResetModel();
        m_boundExtras.clear();
        resetColumnsFromFields();
        m_boundRows = boundRecordCount();
        endResetModel();
        return;
    }
    // Same layout: grow or shrink at the end and repaint the rest, so that column widths,
    // headings and the selection survive.
    const int count = boundRecordCount();
    if (count > m_boundRows) {
        beginInsertRows({}, m_boundRows, count - 1);
        m_boundRows = count;
        endInsertRows();
    } else if (count < m_boundRows) {
        beginRemoveRows({}, count, m_boundRows - 1);
        m_boundRows = count;
        m_boundExtras.removeIf([count](const auto &entry) { return entry.key() >= count; });
        endRemoveRows();
    }
    if (m_boundRows > 0 && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(m_boundRows - 1, int(m_columns.size()) - 1));
}

bool FlexGridModel::matchesFields(const Recordset &recordset) const
{
    if (recordset.State() != Recordset::StateOpen || m_fieldNames.isEmpty() ||
        m_fieldNames.size() != m_columns.size() || recordset.FieldCount() != m_fieldNames.size())
        return false;
    for (int f = 0; f < m_fieldNames.size(); ++f) {
        if (recordset.FieldName(f).compare(m_fieldNames.at(f), Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

void FlexGridModel::dropAllRows()
{
    const int count = rowCount();
    if (count == 0) {
        m_rows.clear();
        m_boundExtras.clear();
        return;
    }
    beginRemoveRows({}, 0, count - 1);
    m_rows.clear();
    m_boundExtras.clear();
    m_boundRows = 0;
    endRemoveRows();
}

void FlexGridModel::requireCell(int row, int column) const
{
    requireRow(row);
    requireColumn(column);
}

void FlexGridModel::requireRow(int row) const
{
    if (row < 0 || row >= rowCount())
        throw outOfRange("row", row);
}

void FlexGridModel::requireColumn(int column) const
{
    if (column < 0 || column >= m_columns.size())
        throw outOfRange("column", column);
}

void FlexGridModel::requireUnbound(const char *operation) const
{
    if (isBound())
        throw Error(Error::IllegalOperation,
                    QStringLiteral("Cannot %1 while the grid is bound to a recordset").arg(QLatin1String(operation)));
}

const FlexGridModel::RowExtras *FlexGridModel::extras(int row) const
{
    if (!isBound())
        return &m_rows.at(row).extras;
    const auto it = m_boundExtras.constFind(row);
    return it == m_boundExtras.cend() ? nullptr : &*it;
}

FlexGridModel::RowExtras &FlexGridModel::extrasForWrite(int row)
{
    return isBound() ? m_boundExtras[row] : m_rows[row].extras;
}

void FlexGridModel::resetColumnsFromFields()
{
    m_columns.clear();
    m_fieldNames.clear();
    if (m_recordset->State() != Recordset::StateOpen)
        return;
    const int fields = m_recordset->FieldCount();
    m_columns.resize(fields);
    for (int f = 0; f < fields; ++f) {
        m_fieldNames.append(m_recordset->FieldName(f));
        m_columns[f].headings = QStringList{m_fieldNames.last()};
    }
}

int FlexGridModel::boundRecordCount() const
{
    if (m_recordset->State() != Recordset::StateOpen)
        return 0;
    return int(std::min<qsizetype>(m_recordset->RecordCount(), std::numeric_limits<int>::max()));
}

QString FlexGridModel::boundText(int row, int column) const
{
    // The set may have shrunk since the last refresh; such rows read as empty until then.
    if (m_recordset->State() != Recordset::StateOpen || row >= m_recordset->RecordCount() ||
        column >= m_recordset->FieldCount())
        return {};
    try {
        const QVariant value = m_recordset->ValueAt(row, column);
        return value.isNull() ? QString() : value.toString();
    } catch (const std::exception &) {
        // Painting must not throw; a cell the set cannot answer shows empty.
        return {};
    }
}

} // namespace talv

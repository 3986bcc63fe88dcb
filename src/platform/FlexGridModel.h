#pragma once

#include "FlexGridValueList.h"
#include "Recordset.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QList>
#include <QStringList>

namespace talv {

// The table behind a FlexGrid, in model rows (the grid's heading rows are header data here).
// Unbound, it owns its cell texts; bound, it reads a Recordset in place and keeps only the few
// per-row extras (record keys, colours) that the screen set, so binding costs nothing per row.
class FlexGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit FlexGridModel(QObject *parent = nullptr);
    ~FlexGridModel() override;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Only the view's editors call this; program writes go through setCellText.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Row and column structure can change only while unbound.
    bool insertRows(int row, int count, const QModelIndex &parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;
    // Appends one row per entry of `cells` (its texts from column 0), each with the row data of
    // the same place in `rowData` (when given), announced to the view as one insertion.
    void appendRows(const QList<QStringList> &cells, const QVariantList &rowData);
    bool insertColumns(int column, int count, const QModelIndex &parent = {}) override;
    bool removeColumns(int column, int count, const QModelIndex &parent = {}) override;
    bool moveRows(const QModelIndex &sourceParent, int sourceRow, int count, const QModelIndex &destinationParent,
                  int destinationChild) override;

    // A dragged row travels as its model row tagged with this model, so a drop can only reorder
    // the grid it came from.
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDropActions() const override;
    int draggedRow(const QMimeData *data) const;

    // --- heading lines (one per heading row) and per-column settings
    int headingLines() const { return m_headingLines; }
    void setHeadingLines(int lines);
    QString headingText(int line, int column) const;
    void setHeadingText(int line, int column, const QString &text);
    void setColumnKey(int column, const QString &key);
    int columnOfKey(const QString &key) const;
    const FlexGridValueList &valueList(int column) const;
    void setValueList(int column, const FlexGridValueList &list);

    // --- cells and rows, in model rows
    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString &text);
    QVariant rowData(int row) const;
    void setRowData(int row, const QVariant &value);
    QColor cellBackColor(int row, int column) const;
    void setCellBackColor(int row, int column, const QColor &color);
    void setBlockBackColor(int top, int left, int bottom, int right, const QColor &color);

    bool isEditable() const { return m_editable; }
    void setEditable(bool on);

    // --- binding
    bool isBound() const { return m_recordset != nullptr; }
    const RecordsetPtr &recordset() const { return m_recordset; }
    // Columns become the fields, heading line 0 their names, unless the columns already came from
    // a set with the same field names: then only the rows are swapped and the settings stay.
    void bind(RecordsetPtr recordset);
    // Back to an unbound table with the same columns and headings and no rows.
    void unbind();
    // Re-reads the row count (and the fields, should they have changed) after the set changed.
    void refreshBound();

private:
    struct Column {
        QStringList headings; // may be shorter than headingLines(); missing lines are empty
        QString key;
        FlexGridValueList values;
    };
    struct RowExtras {
        QVariant data;
        QList<QColor> back; // may be shorter than the column count
    };
    struct Row {
        QStringList text; // may be shorter than the column count
        RowExtras extras;
    };

    void requireCell(int row, int column) const;
    void requireRow(int row) const;
    void requireColumn(int column) const;
    void requireUnbound(const char *operation) const;
    const RowExtras *extras(int row) const;
    RowExtras &extrasForWrite(int row);
    void resetColumnsFromFields();
    bool matchesFields(const Recordset &recordset) const;
    void dropAllRows();
    int boundRecordCount() const;
    QString boundText(int row, int column) const;

    QList<Column> m_columns;
    QList<Row> m_rows; // unbound only
    RecordsetPtr m_recordset;
    QStringList m_fieldNames; // the fields the columns came from; kept after unbind
    int m_boundRows = 0;      // the row count the views know of, until refreshBound
    QHash<int, RowExtras> m_boundExtras;
    int m_headingLines = 1;
    bool m_editable = false;
};

} // namespace talv

#pragma once

#include "platform/Recordset.h"

#include <QDialog>

class QPushButton;

namespace talv {
class FlexGrid;
}

namespace talv::details {

// Picks a position in the list the record screen walks: the list's rows in a grid, OK (or a
// double-click) takes the first selected row, Cancel takes none.
class frmGotoRecord : public QDialog
{
    Q_OBJECT
    Q_PROPERTY(qint32 GotoRecordPosition READ GotoRecordPosition)
public:
    explicit frmGotoRecord(QWidget *parent = nullptr);

    // Shows the rows of `records` (without moving its cursor) under headings made from its field
    // names ("ELEMENT_GROUP_ID" reads "Element Group ID"), with `current` (1-based) selected.
    void LoadRecordset(const RecordsetPtr &records, qint32 current = 0);
    // The chosen 1-based position; 0 until a row is chosen.
    qint32 GotoRecordPosition() const { return m_position; }

private:
    void choose();

    FlexGrid *m_grid;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    qint32 m_position = 0;
};

} // namespace talv::details

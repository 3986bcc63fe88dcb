#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace talv {
class FlexGrid;
}

namespace talv::host {

// The host's pop-up editor: the current cell of a grid in a roomy multi-line editor. OK writes
// the text back as if the user had typed it into the cell (BeforeEdit may refuse, AfterEdit
// follows); a cell the grid does not let the user edit is shown read-only.
class PopupEditor : public QDialog
{
    Q_OBJECT
public:
    explicit PopupEditor(FlexGrid &grid, QWidget *parent = nullptr);

    bool isReadOnly() const { return m_readOnly; }
    QPlainTextEdit *editor() const { return m_editor; }

    // Shows the editor for the grid's current cell and writes back on OK; nothing happens when no
    // data cell is current.
    static void edit(FlexGrid &grid, QWidget *parent);

    void accept() override;

private:
    FlexGrid &m_grid;
    int m_row;
    int m_col;
    bool m_readOnly;
    QPlainTextEdit *m_editor;
};

} // namespace talv::host

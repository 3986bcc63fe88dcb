#include "PopupEditor.h"

#include "platform/FlexGrid.h"
#include "platform/UiServices.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace talv::host {

PopupEditor::PopupEditor(FlexGrid &grid, QWidget *parent)
    : QDialog(parent), m_grid(grid), m_row(grid.Row()), m_col(grid.Col())
{
    setObjectName(QStringLiteral("frmPopupEditor"));
    m_readOnly = grid.IsBound() || !grid.Editable();
    bool refused = false;
    if (!m_readOnly)
        emit grid.BeforeEdit(m_row, m_col, refused);
    m_readOnly = m_readOnly || refused;

    const QString heading = grid.TextMatrix(0, m_col);
    setWindowTitle(heading.isEmpty() ? tr("Edit Cell") : heading);
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(m_readOnly ? tr("%1 (read only)").arg(heading) : heading, this);
    label->setObjectName(QStringLiteral("lblColumn"));
    layout->addWidget(label);
    m_editor = new QPlainTextEdit(grid.TextMatrix(m_row, m_col), this);
    m_editor->setObjectName(QStringLiteral("txtCellText"));
    m_editor->setReadOnly(m_readOnly);
    layout->addWidget(m_editor);
    auto *buttons = new QDialogButtonBox(
        m_readOnly ? QDialogButtonBox::Close : QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(520, 320);
}

void PopupEditor::accept()
{
    if (!m_readOnly && m_editor->toPlainText() != m_grid.TextMatrix(m_row, m_col)) {
        m_grid.SetTextMatrix(m_row, m_col, m_editor->toPlainText());
        emit m_grid.AfterEdit(m_row, m_col);
    }
    QDialog::accept();
}

void PopupEditor::edit(FlexGrid &grid, QWidget *parent)
{
    if (grid.Row() < grid.FixedRows() || grid.Row() >= grid.Rows() || grid.Col() < 0 || grid.Col() >= grid.Cols())
        return;
    PopupEditor editor(grid, parent);
    UiServices::current().execModal(editor);
}

} // namespace talv::host

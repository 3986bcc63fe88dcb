#include "frmGotoRecord.h"

#include "platform/FlexGrid.h"
#include "recordset/Misc_Functions.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

namespace talv::details {

frmGotoRecord::frmGotoRecord(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmGotoRecord"));
    setWindowTitle(QStringLiteral("Goto Record"));
    m_grid = new FlexGrid;
    m_grid->setObjectName(QStringLiteral("vsgRecords"));
    m_grid->SetSelMode(FlexGrid::SelectMode::Single);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_ok = new QPushButton(QStringLiteral("OK"));
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"));
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    resize(520, 360);

    connect(m_ok, &QPushButton::clicked, this, &frmGotoRecord::choose);
    connect(m_grid, &FlexGrid::DblClick, this, &frmGotoRecord::choose);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmGotoRecord::LoadRecordset(const RecordsetPtr &records, qint32 current)
{
    m_grid->BindToRecordset(records);
    Misc_Functions::FormatGridCaptions(*m_grid);
    m_grid->resizeColumnsToContents();
    if (current >= 1 && current < m_grid->Rows()) {
        m_grid->Select(current, 0);
        m_grid->ShowCell(current, 0);
    }
    m_grid->setFocus();
}

void frmGotoRecord::choose()
{
    // The heading row is row 0, so a data row's number is its position in the list.
    if (m_grid->SelectedRows() >= 1)
        m_position = m_grid->SelectedRow(0);
    accept();
}

} // namespace talv::details

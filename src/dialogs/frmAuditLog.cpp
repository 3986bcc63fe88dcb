#include "frmAuditLog.h"

#include "contracts/AppManager.h"
#include "contracts/ClassRegistry.h"
#include "contracts/Component.h"
#include "contracts/ComponentCollection.h"
#include "contracts/LateBinding.h"
#include "contracts/Names.h"
#include "platform/Error.h"
#include "platform/FailureReport.h"
#include "platform/FlexGrid.h"
#include "platform/Twips.h"

#include <QCheckBox>
#include <QDateTime>
#include <QPushButton>

namespace talv {

namespace {

const QString Headings =
    QStringLiteral("ID|Date|User|Table|Actn|Column|Old Value|Comments|Primary Key|Org Unit|Id|Column Id");
// Twips of columns 1 to 11; column 0 is hidden.
constexpr int ColumnWidths[] = {2000, 1200, 2500, 500, 3000, 4500, 4500, 1000, 2200, 1000, 1000};
constexpr int MinimumWidth = 4000;
constexpr int MinimumHeight = 1800;
constexpr int Margin = 75;
const QColor ReadOnlyCell(192, 192, 192);
const QColor CommentCell(255, 255, 255);

QString cellText(const QVariant &value)
{
    if (value.isNull())
        return {};
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return value.toString();
}

int px(int twips)
{
    return twips::toPixels(twips);
}

} // namespace

frmAuditLog::frmAuditLog(QWidget *parent)
    : QDialog(parent), m_grid(new FlexGrid(this)), m_ok(new QPushButton(QStringLiteral("OK"), this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)),
      m_wordWrap(new QCheckBox(QStringLiteral("&Word Wrap"), this))
{
    setObjectName(QStringLiteral("frmAuditLog"));
    setWindowTitle(DefaultCaption);
    m_grid->setObjectName(QStringLiteral("fgAuditLog"));
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_wordWrap->setObjectName(QStringLiteral("chkWordWrap"));
    m_ok->setDefault(true);
    m_grid->SetEditable(true);
    setMinimumSize(px(MinimumWidth), px(MinimumHeight));
    resize(px(12000), px(6000));

    connect(m_grid, &FlexGrid::BeforeEdit, this, [this](int row, int col, bool &cancel) {
        // Only a comment on an audited column change can be written; the rest is the trail.
        if (col != ColComments || m_grid->TextMatrix(row, ColColumnId).isEmpty())
            cancel = true;
    });
    connect(m_grid, &FlexGrid::AfterEdit, this, [this](int row, int) {
        runReported(unableTo(QStringLiteral("keep the comment")), [&] { keepComment(row); });
    });
    connect(m_grid, &FlexGrid::AfterUserResize, this,
            [this](int, int) { runReported(unableTo(QStringLiteral("fit the columns")), [&] { fitAllColumns(); }); });
    connect(m_wordWrap, &QCheckBox::clicked, this, [this](bool ticked) {
        runReported(unableTo(QStringLiteral("wrap the text")), [&] {
            m_grid->SetWordWrap(ticked);
            fitAllColumns();
        });
    });
    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (runReported(FailureText{QStringLiteral("Unable to save changes: ")}, [&] { save(); }))
            hide();
    });
    connect(m_cancel, &QPushButton::clicked, this, [this] { hide(); });
    layOut();
}

frmAuditLog::~frmAuditLog()
{
    releaseComments();
}

void frmAuditLog::LoadAuditData(const QString &tableName, qint32 id, AppManager *appManager, const QString &columnName)
{
    if (!appManager)
        throw Error(Error::InvalidArgument, QStringLiteral("The audit trail needs the application manager."));
    m_appManager = appManager;
    const RecordsetPtr rows = m_appManager->Auditing(tableName, id, columnName);
    if (!rows)
        throw Error(Error::InvalidArgument, QStringLiteral("The host answered no audit rows."));
    fillGrid(*rows);
    formatGrid();
    if (rows->RecordCount() > 0)
        openComments();
}

void frmAuditLog::fillGrid(const Recordset &source)
{
    Recordset rows(source); // shares the columns; only the cursor is ours
    const int fields = std::min<int>(rows.FieldCount(), ColumnCount);
    m_grid->SetRedraw(false);
    m_grid->SetRows(1);
    m_grid->SetFixedRows(1);
    m_grid->SetCols(ColumnCount);
    m_grid->SetRows(int(rows.RecordCount()) + 1);
    int row = 1;
    if (rows.RecordCount() > 0) {
        for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext(), ++row) {
            for (int f = 0; f < fields; ++f)
                m_grid->SetTextMatrix(row, f, cellText(rows.Fields(f).Value()));
        }
    }
    m_grid->SetRedraw(true);
}

QString frmAuditLog::orgUnitList() const
{
    const RecordsetPtr units = m_appManager->CallGetQueryRSXML(QStringLiteral("select * from org_unit"));
    QString list;
    if (!units || units->RecordCount() == 0)
        return list;
    for (units->MoveFirst(); !units->IsEOF(); units->MoveNext()) {
        list += QLatin1Char('#') + cellText(units->Value(QStringLiteral("org_unit_id"))) + QLatin1Char(';') +
                cellText(units->Value(QStringLiteral("org_unit_name"))) + QLatin1Char('|');
    }
    return list;
}

void frmAuditLog::formatGrid()
{
    const QStringList headings = Headings.split(QLatin1Char('|'));
    for (int col = 0; col < ColumnCount; ++col)
        m_grid->SetTextMatrix(0, col, headings.at(col));
    m_grid->SetColHidden(ColId, true);
    for (int col = ColDate; col < ColumnCount; ++col)
        m_grid->SetColWidth(col, px(ColumnWidths[col - ColDate]));

    m_grid->SetColComboList(ColOrgUnit, orgUnitList());

    const int last = m_grid->Rows() - 1;
    if (last >= 1) {
        m_grid->SetCellBackColor(1, 1, last, ColumnCount - 1, ReadOnlyCell);
        // White marks the comment cells that can be written.
        for (int row = 1; row <= last; ++row) {
            if (!m_grid->TextMatrix(row, ColColumnId).isEmpty())
                m_grid->SetCellBackColor(row, ColComments, CommentCell);
        }
    }
    m_grid->SetAutoSizing(FlexGrid::AutoSizeMode::ColWidth);
    m_grid->AutoSize(ColId, ColColumn);
    m_grid->AutoSize(ColPrimaryKey, ColColumnId);
    m_grid->SetAutoSizing(FlexGrid::AutoSizeMode::RowHeight);
    fitAllColumns();
}

void frmAuditLog::fitAllColumns()
{
    // Before a trail is loaded the grid has no columns to fit.
    if (m_grid->Cols() > 0)
        m_grid->AutoSize(0, m_grid->Cols() - 1);
}

void frmAuditLog::openComments()
{
    m_comments.reset(ClassRegistry::instance().CreateAs<ComponentCollection>(names::CollectionClass));
    if (!m_comments->OpenClass(names::AuditLogClass, m_appManager->GetServerName(), m_appManager->GetServerType()))
        throw Error(Error::Database, m_comments->LastError());
    if (!m_comments->LoadWhere(QStringLiteral("Empty"), QString(), 0, 0, 0))
        throw Error(Error::Database, m_comments->LastError());
}

void frmAuditLog::keepComment(int row)
{
    const QString key = m_grid->TextMatrix(row, ColColumnId);
    if (key.isEmpty() || !m_comments)
        return;
    const QString comment = m_grid->TextMatrix(row, ColComments);
    if (m_comments->FindFirst(QStringLiteral("AuditLogColumnId = ") + key)) {
        m_comments->Item(key)->setProperty(QStringLiteral("Comments"), comment);
        return;
    }
    std::unique_ptr<Component> change(ClassRegistry::instance().CreateAs<Component>(names::AuditLogClass));
    LateBinding::call(change.get(), QStringLiteral("Open"),
                      {m_appManager->GetServerName(), m_appManager->GetServerType()});
    if (!LateBinding::call(change.get(), QStringLiteral("LoadByID"), {key.toLongLong()}).toBool())
        throw Error(Error::InvalidArgument,
                    QStringLiteral("The audited change %1 is no longer in the audit trail.").arg(key));
    change->setProperty(QStringLiteral("Comments"), comment);
    m_comments->AddComponent(change.release(), key);
}

void frmAuditLog::save()
{
    // A refused write must keep the window open with what was typed, not lose it silently.
    if (m_comments && !m_comments->SaveAll())
        throw Error(Error::Database, m_comments->LastError());
}

void frmAuditLog::releaseComments()
{
    if (!m_comments)
        return;
    m_comments->ClearAll();
    m_comments.reset();
}

void frmAuditLog::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (!isMinimized())
        layOut();
}

void frmAuditLog::layOut()
{
    if (width() < px(MinimumWidth) || height() < px(MinimumHeight)) {
        resize(std::max(width(), px(MinimumWidth)), std::max(height(), px(MinimumHeight)));
        return; // the resize lays out again
    }
    const int margin = px(Margin);
    const QSize button = m_ok->sizeHint();
    m_ok->resize(button);
    m_cancel->resize(m_cancel->sizeHint().expandedTo(button));
    m_ok->resize(m_cancel->size());
    m_grid->setGeometry(margin, margin, width() - 2 * margin, height() - m_ok->height() - 3 * margin);
    m_cancel->move(width() - m_cancel->width() - margin, height() - m_cancel->height() - margin);
    m_ok->move(m_cancel->x() - m_ok->width() - margin, m_cancel->y());
    m_wordWrap->adjustSize();
    m_wordWrap->move(2 * margin, m_cancel->y());
}

} // namespace talv

#include "ChildListEditor.h"

#include "RecordForm.h"

#include "contracts/AppManager.h"
#include "contracts/ComponentCollection.h"
#include "contracts/ElementGroupObject.h"
#include "contracts/ViewCollection.h"
#include "contracts/WinMan.h"
#include "dialogs/frmModalSearch.h"
#include "platform/BusyCursor.h"
#include "platform/Error.h"
#include "platform/FlexGrid.h"
#include "platform/Twips.h"
#include "platform/UiServices.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QHash>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

#include <vector>

namespace talv::details {

namespace {

constexpr int SelectorColumnTwips = 15;
const QString CreateDate = QStringLiteral("2001/01/01");

QString cellText(const QVariant &value, bool nullAsEmpty)
{
    if (value.isNull() && !nullAsEmpty)
        throw Error(Error::TypeMismatch, QStringLiteral("Invalid use of Null"));
    return value.isNull() ? QString() : value.toString();
}

} // namespace

ChildListEditor::ChildListEditor(Config config, DetailsState &state, Screen screen, QWidget *parent)
    : QWidget(parent), m_config(std::move(config)), m_state(state), m_screen(std::move(screen))
{
    m_grid = new FlexGrid;
    m_grid->setObjectName(m_config.gridName);
    m_grid->SetCols(int(m_config.columns.size()) + 1);
    m_grid->SetRows(1);
    m_grid->SetFixedRows(1);
    m_grid->SetSelMode(FlexGrid::SelectMode::ListBox);
    m_grid->SetAllowRowDrag(true);
    m_grid->SetColWidth(0, twips::toPixels(SelectorColumnTwips));
    for (int i = 0; i < m_config.columns.size(); ++i) {
        const Column &column = m_config.columns[i];
        m_grid->SetColKey(i + 1, column.key);
        m_grid->SetColWidth(i + 1, twips::toPixels(column.widthTwips));
        m_grid->SetColHidden(i + 1, column.hidden);
    }
    writeHeadings();

    m_add = new QPushButton(m_config.addCaption);
    m_add->setObjectName(m_config.addButtonName);
    m_remove = new QPushButton(m_config.removeCaption);
    m_remove->setObjectName(m_config.removeButtonName);
    // Moving rows from the keyboard: what dragging does with the mouse.
    m_moveUp = new QAction(tr("Move &Up"), this);
    m_moveUp->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Up));
    m_moveDown = new QAction(tr("Move &Down"), this);
    m_moveDown->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
    for (QAction *move : {m_moveUp, m_moveDown}) {
        move->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_grid->addAction(move);
    }
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    buttons->addStretch(1);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    connect(m_add, &QPushButton::clicked, this, &ChildListEditor::addThroughSearch);
    connect(m_remove, &QPushButton::clicked, this, &ChildListEditor::removeSelected);
    connect(m_grid, &FlexGrid::AfterMoveRow, this, &ChildListEditor::renumber);
    connect(m_grid, &FlexGrid::DblClick, this, &ChildListEditor::openSelected);
    connect(m_moveUp, &QAction::triggered, this, [this] { moveSelected(-1); });
    connect(m_moveDown, &QAction::triggered, this, [this] { moveSelected(+1); });
}

ComponentCollection &ChildListEditor::children() const
{
    ElementGroupObject *group = m_screen.group();
    if (!group)
        throw Error(Error::IllegalOperation, QStringLiteral("No group is on screen."));
    return m_config.children(*group);
}

bool ChildListEditor::mayEdit() const
{
    // The host's rights reach the list through its buttons: who may not remove may not reorder.
    return m_remove->isEnabled() && m_screen.group();
}

void ChildListEditor::writeHeadings()
{
    for (const Column &column : m_config.columns)
        m_grid->SetTextMatrix(0, m_grid->ColIndex(column.key), column.heading);
}

void ChildListEditor::clear()
{
    m_grid->SetRows(1);
    writeHeadings();
}

void ChildListEditor::load()
{
    BusyCursor busy;
    m_grid->SetRedraw(false);
    runReported(FailureText{m_config.loadErrorText + QLatin1Char('\n'), {}, MsgIcon::Exclamation}, [&] {
        m_grid->SetRows(1);
        if (children().Count() < 1)
            return;
        const RecordsetPtr rows = m_state.appManager->CallGetQueryRSXML(m_config.loadSql(m_state.listGroupId));
        if (m_config.emptyAnswerIsFine && rows->RecordCount() == 0)
            return;
        fillRows(*rows);
    });
    writeHeadings();
    m_grid->SetRedraw(true);
}

void ChildListEditor::fillRows(Recordset &rows)
{
    // References walk from the first row without asking for a count: an empty answer where the
    // collection has items is an error, as reading the missing row says.
    QList<int> gridColumns;
    std::vector<Field> fields; // looked up once, not by name per row
    for (const Column &column : m_config.columns) {
        gridColumns << m_grid->ColIndex(column.key);
        fields.push_back(rows.Fields(column.field));
    }
    const Field keyField = rows.Fields(m_config.keyField);
    // The rows read go to the grid in one insertion, also those read before a failing one.
    QList<QStringList> cells;
    QVariantList keys;
    const auto addRead = qScopeGuard([&] { m_grid->AddItems(cells, keys); });
    rows.MoveFirst();
    do {
        QStringList row(m_grid->Cols());
        for (qsizetype i = 0; i < m_config.columns.size(); ++i)
            row[gridColumns[i]] = cellText(fields[size_t(i)].Value(), m_config.columns[i].nullAsEmpty);
        const qint64 key = keyField.Value().toLongLong();
        cells << std::move(row);
        keys << key;
        rows.MoveNext();
    } while (!rows.IsEOF());
}

void ChildListEditor::addThroughSearch()
{
    BusyCursor busy;
    runReported(m_config.addFailure, [&] {
        RecordsetPtr selection = m_config.emptySelection(*m_state.appManager);
        const QString extraText = m_screen.searchExtraText ? m_screen.searchExtraText() : QString();
        QWidget *holder = containingWindow(this);
        frmModalSearch search(window());
        search.setWindowIcon(holder->windowIcon());
        search.setWindowTitle(m_config.searchCaption + holder->windowTitle());
        if (!search.InitDialog(m_config.searchClass, m_state.appManager, selection, extraText))
            return;
        search.UseSelectedRecordset(true);
        busy.release();
        UiServices::current().execModal(search);
        const int rowsBefore = m_grid->Rows();
        if (selection && selection->RecordCount() > 0) {
            selection->MoveFirst();
            while (!selection->IsEOF()) {
                QStringList cells;
                for (const PickedField &field : m_config.picked)
                    cells << cellText(selection->Value(field.field), field.nullAsEmpty);
                addChild(selection->Value(QStringLiteral("ID")).toInt(), cells);
                selection->MoveNext();
            }
        }
        // The new rows come selected, so that the user may move or remove them at once.
        if (m_grid->Rows() > rowsBefore)
            m_grid->Select(rowsBefore, 0, m_grid->Rows() - 1, m_grid->Cols() - 1);
        renumber();
    });
    m_grid->SetRedraw(true);
}

void ChildListEditor::addChild(qint32 id, const QStringList &cells)
{
    ComponentCollection &list = children();
    const QString key = QString::number(id);
    if (list.FindIndex(m_config.keyProperty + QStringLiteral(" = ") + key) < 1) {
        list.AddNew(0, 0, QVariant());
        const qint32 count = list.Count();
        Component *child = list.Item(count);
        child->setProperty(m_config.keyProperty, id);
        child->setProperty(QStringLiteral("RecCreateUser"), m_state.userName);
        child->setProperty(QStringLiteral("RecCreateDate"), CreateDate);
        child->setProperty(QStringLiteral("RecLastModUser"), m_state.userName);
        child->setProperty(QStringLiteral("DisplayOrder"), count);
    }
    if (findGridRow(*m_grid, m_config.columns.first().key, key) == -1) {
        const int row = m_grid->AddItem();
        m_grid->SetRow(row);
        m_grid->SetRowData(row, qlonglong(id));
        m_grid->SetTextMatrix(row, m_grid->ColIndex(m_config.columns.first().key), key);
        for (int i = 0; i < cells.size() && i + 1 < m_config.columns.size(); ++i)
            m_grid->SetTextMatrix(row, m_grid->ColIndex(m_config.columns[i + 1].key), cells[i]);
    }
}

void ChildListEditor::removeSelected()
{
    runReported(unableTo(QStringLiteral("remove the rows")), [&] {
        ComponentCollection &list = children();
        const int keyColumn = m_grid->ColIndex(m_config.columns.first().key);
        for (int row = m_grid->Rows() - 1; row >= m_grid->FixedRows(); --row) {
            if (!m_grid->IsSelected(row))
                continue;
            const qint32 position =
                list.FindIndex(m_config.keyProperty + QStringLiteral(" = ") + m_grid->TextMatrix(row, keyColumn));
            if (position > 0)
                list.RemoveAt(position);
            m_grid->RemoveItem(row);
            m_state.childrenRemoved = true;
        }
        renumber();
    });
}

void ChildListEditor::renumber()
{
    runReported(unableTo(QStringLiteral("number the rows")), [&] {
        renumberDisplayOrder(*m_grid, children(), m_config.keyProperty, m_state.appManager->GetUserName(),
                             m_screen.updateProperty);
    });
}

void ChildListEditor::renumberDisplayOrder(
    const FlexGrid &grid, ComponentCollection &children, const QString &keyProperty, const QString &userName,
    const std::function<bool(Component *, const QString &, const QString &, const QString &)> &updateProperty)
{
    // One pass over the collection instead of a search per row: a group of 10,000 members would
    // otherwise compare 50 million keys. Walked from the end so that the first child with a key
    // wins, as a search would find it.
    QHash<qlonglong, Component *> byKey;
    byKey.reserve(children.Count());
    for (qint32 i = children.Count(); i >= 1; --i) {
        Component *child = children.Item(i);
        if (child)
            byKey.insert(child->property(keyProperty).toLongLong(), child);
    }
    const int first = grid.FixedRows();
    for (int row = first; row < grid.Rows(); ++row) {
        if (Component *child = byKey.value(grid.RowData(row).toLongLong()))
            updateProperty(child, QStringLiteral("DisplayOrder"), QString::number(row - first + 1), userName);
    }
}

int ChildListEditor::findGridRow(const FlexGrid &grid, const QString &columnKey, const QString &value)
{
    const int column = grid.ColIndex(columnKey);
    for (int row = grid.FixedRows(); row < grid.Rows(); ++row) {
        if (grid.TextMatrix(row, column) == value)
            return row;
    }
    return -1;
}

void ChildListEditor::moveSelected(int step)
{
    if (!mayEdit())
        return;
    runReported(unableTo(QStringLiteral("move the rows")), [&] {
        QList<int> rows;
        for (int i = 0; i < m_grid->SelectedRows(); ++i)
            rows << m_grid->SelectedRow(i);
        if (rows.isEmpty())
            return;
        // The block stops at the edge: a row already at the top stays the first.
        if ((step < 0 && rows.first() <= m_grid->FixedRows()) || (step > 0 && rows.last() >= m_grid->Rows() - 1))
            return;
        if (step > 0)
            std::reverse(rows.begin(), rows.end());
        for (int row : rows)
            m_grid->MoveRow(row, row + step);
        renumber();
    });
}

qint32 ChildListEditor::selectedKey() const
{
    const int keyColumn = m_grid->ColIndex(m_config.columns.first().key);
    for (int row = m_grid->FixedRows(); row < m_grid->Rows(); ++row) {
        if (m_grid->IsSelected(row))
            return m_grid->TextMatrix(row, keyColumn).toInt();
    }
    return -1;
}

void ChildListEditor::openSelected()
{
    runReported(unableTo(QStringLiteral("open the record")), [&] {
        const qint32 key = selectedKey();
        if (key == -1 && !m_config.opensWithoutSelection)
            return;
        if (!m_state.winMan || !m_state.views)
            return;
        const qint32 view = FindViewIndex(*m_state.views, m_config.detailsView);
        if (view <= 0 && !m_config.opensWithoutSelection)
            return;
        m_state.winMan->OpenDetails(view, view, key, m_config.detailsCaption);
    });
}

void ChildListEditor::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_grid->geometry().contains(event->pos()))
        return QWidget::contextMenuEvent(event);
    QMenu menu(this);
    m_moveUp->setEnabled(mayEdit());
    m_moveDown->setEnabled(mayEdit());
    menu.addAction(m_moveUp);
    menu.addAction(m_moveDown);
    menu.exec(event->globalPos());
}

} // namespace talv::details

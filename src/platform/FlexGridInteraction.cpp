#include "FlexGrid.h"

#include "FlexGridDelegate.h"
#include "FlexGridModel.h"

#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>

#include <utility>

// What the user does to the grid with mouse and keyboard beyond moving about: editing, double
// clicks, dragging rows and resizing columns, and the notifications that follow.

namespace talv {

void FlexGrid::setUpInteraction()
{
    auto *delegate = new FlexGridDelegate(this);
    delegate->SetEditGate([this](const QModelIndex &index) {
        bool cancel = false;
        emit BeforeEdit(index.row() + FixedRows(), index.column(), cancel);
        if (!cancel)
            m_editIndex = index;
        return !cancel;
    });
    setItemDelegate(delegate);

    // The header reports every resize, the grid's own included; only those between a press and
    // a release on the header are the user's.
    horizontalHeader()->viewport()->installEventFilter(this);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int logical) {
        if (m_headerPressed)
            m_userResizedCol = logical;
    });
}

bool FlexGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == horizontalHeader()->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: // a double-click on a divider fits the column
            m_headerPressed = true;
            break;
        case QEvent::MouseButtonRelease:
            m_headerPressed = false;
            if (m_userResizedCol >= 0) {
                const int col = std::exchange(m_userResizedCol, -1);
                emit AfterUserResize(-1, col);
            }
            break;
        default:
            break;
        }
    }
    return QTableView::eventFilter(watched, event);
}

void FlexGrid::SetAllowRowDrag(bool on)
{
    m_allowRowDrag = on;
    setDragDropMode(on ? InternalMove : NoDragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

void FlexGrid::MoveRow(int row, int position)
{
    requireUnbound();
    moveModelRow(dataRow(row), dataRow(position));
}

void FlexGrid::commitData(QWidget *editor)
{
    QTableView::commitData(editor);
    if (m_editIndex.isValid())
        emit AfterEdit(m_editIndex.row() + FixedRows(), m_editIndex.column());
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    emit DblClick();
}

void FlexGrid::startDrag(Qt::DropActions)
{
    const QModelIndex current = currentIndex();
    if (!m_allowRowDrag || IsBound() || !current.isValid())
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(m_model->mimeData({current}));
    // The drop moves the row itself, so the outcome needs no handling here.
    drag->exec(Qt::MoveAction, Qt::MoveAction);
}

void FlexGrid::dragEnterEvent(QDragEnterEvent *event)
{
    if (acceptsRowDrop(event->mimeData())) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
        setState(DraggingState);
    } else {
        event->ignore();
    }
}

void FlexGrid::dragMoveEvent(QDragMoveEvent *event)
{
    if (acceptsRowDrop(event->mimeData())) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
        if (hasAutoScroll())
            startAutoScroll();
    } else {
        event->ignore();
    }
}

void FlexGrid::dropEvent(QDropEvent *event)
{
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
    if (!acceptsRowDrop(event->mimeData())) {
        event->ignore();
        return;
    }
    const int from = m_model->draggedRow(event->mimeData());
    int to = indexAt(event->position().toPoint()).row();
    if (to < 0)
        to = m_model->rowCount() - 1; // dropped below the last row
    event->setDropAction(Qt::MoveAction);
    event->accept();
    if (to == from)
        return;
    moveModelRow(from, to);
    emit AfterMoveRow(from + FixedRows(), to + FixedRows());
}

bool FlexGrid::acceptsRowDrop(const QMimeData *mime) const
{
    return m_allowRowDrag && !IsBound() && m_model->draggedRow(mime) >= 0;
}

void FlexGrid::moveModelRow(int from, int to)
{
    if (from != to)
        m_model->moveRows({}, from, 1, {}, to > from ? to + 1 : to);
}

} // namespace talv

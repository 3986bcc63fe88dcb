#include "WorkArea.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QPainter>

namespace talv::host {

WorkArea::WorkArea(QWidget *parent) : QMdiArea(parent)
{
    setObjectName(QStringLiteral("mdiWorkArea"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setActivationOrder(QMdiArea::ActivationHistoryOrder);
    // The hint comes back whole when the last screen closes, not only where that screen was.
    connect(this, &QMdiArea::subWindowActivated, viewport(), [this] { viewport()->update(); });
}

void WorkArea::SetMainGridRedraw(bool redraw)
{
    // A switch, not a count: a screen whose merge failed leaves the pause on, and its next merge
    // (or any other screen's) must still bring the grid back.
    if (redraw == !m_paused)
        return;
    m_paused = !redraw;
    if (m_redraw)
        m_redraw(redraw);
}

QWidget *WorkArea::screenWithFocus() const
{
    for (QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        auto *window = qobject_cast<QMdiSubWindow *>(w);
        if (window && window->mdiArea() == this)
            return window->widget();
    }
    return nullptr;
}

void WorkArea::setEmptyHint(const QString &hint)
{
    m_emptyHint = hint;
    viewport()->update();
}

void WorkArea::paintEvent(QPaintEvent *event)
{
    QMdiArea::paintEvent(event);
    if (m_emptyHint.isEmpty() || !subWindowList().isEmpty())
        return;
    QPainter painter(viewport());
    // Light on the area's dark background.
    painter.setPen(palette().color(QPalette::Light));
    const QRect room = viewport()->rect().adjusted(24, 24, -24, -24);
    painter.drawText(room, Qt::AlignCenter | Qt::TextWordWrap, m_emptyHint);
}

} // namespace talv::host

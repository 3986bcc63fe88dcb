#include "WorkArea.h"

namespace talv::host {

WorkArea::WorkArea(QWidget *parent) : QMdiArea(parent)
{
    setObjectName(QStringLiteral("mdiWorkArea"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setActivationOrder(QMdiArea::ActivationHistoryOrder);
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

} // namespace talv::host

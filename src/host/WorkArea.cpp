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
    if (redraw) {
        if (m_pauses == 0)
            return;
        if (--m_pauses > 0)
            return;
    } else if (m_pauses++ > 0) {
        return;
    }
    if (m_redraw)
        m_redraw(redraw);
}

} // namespace talv::host

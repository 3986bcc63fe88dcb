#pragma once

#include "contracts/HostWindow.h"

#include <QMdiArea>

#include <functional>

namespace talv::host {

// The area in which the host's screens open, one sub-window each. It is the host window the
// screens look for above themselves: pausing the main grid goes to whoever shows the working list.
class WorkArea : public QMdiArea, public HostWindow
{
    Q_OBJECT
public:
    using RedrawHandler = std::function<void(bool redraw)>;

    explicit WorkArea(QWidget *parent = nullptr);

    void setRedrawHandler(RedrawHandler handler) { m_redraw = std::move(handler); }
    void SetMainGridRedraw(bool redraw) override;
    bool mainGridPaused() const { return m_paused; }

    // The screen that holds the keyboard focus, or nullptr when the focus is elsewhere (in the
    // working list, say) even though a screen is the active one.
    QWidget *screenWithFocus() const;

    // What to do first, shown in the middle of the area while no screen is open.
    void setEmptyHint(const QString &hint);
    const QString &emptyHint() const { return m_emptyHint; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    RedrawHandler m_redraw;
    bool m_paused = false;
    QString m_emptyHint;
};

} // namespace talv::host

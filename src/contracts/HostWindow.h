#pragma once

class QObject;

namespace talv {

// Implemented by the host's window (or any container above a search screen) that owns the main
// grid showing the working list. Not a QObject, so a host window can add it beside its own base.
class HostWindow
{
public:
    virtual ~HostWindow() = default;

    // false pauses painting of the main grid while a screen merges rows into the working list.
    virtual void SetMainGridRedraw(bool redraw) = 0;
};

// The nearest container of `control` (not the control itself) that implements HostWindow, or
// nullptr. Screens embedded in a host that has no such window simply skip the redraw pause.
HostWindow *findHostWindow(const QObject *control);

} // namespace talv

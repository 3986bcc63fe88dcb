#include "HostWindow.h"

#include <QObject>

namespace talv {

HostWindow *findHostWindow(const QObject *control)
{
    for (QObject *up = control ? control->parent() : nullptr; up; up = up->parent()) {
        if (auto *window = dynamic_cast<HostWindow *>(up))
            return window;
    }
    return nullptr;
}

} // namespace talv

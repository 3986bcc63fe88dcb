#pragma once

#include <QtGlobal>

#include <optional>

class QWidget;

namespace talv {

class AppManager;

// F1 in any window that hosts a screen: asks the host for the help topic of the field the user is
// in (the screen's ActiveControl) and, when the host knows one, opens the host's help file there.
// Answers the topic shown, or nothing when the host knows none (then no help is shown). Raises
// what the host raises.
std::optional<qint32> showHostHelp(AppManager &appManager, QWidget *hostedControl);

} // namespace talv

#pragma once

#include <QString>

namespace talv::host {

// The icon theme that scripts/bootstrap installs: the screens' toolbar icons come from it where
// the desktop's own theme has none.
inline const QString FallbackIconTheme = QStringLiteral("Tango");

// Makes QIcon::fromTheme find the desktop's icons first and the fallback theme's after them, also
// where the desktop names no theme and no icon folders (a bare X server, the offscreen platform).
// Call before the first screen is made.
void useFallbackIconTheme();

} // namespace talv::host

#include "IconTheme.h"

#include <QIcon>
#include <QStandardPaths>
#include <QStringList>

namespace talv::host {

void useFallbackIconTheme()
{
    QStringList folders = QIcon::themeSearchPaths();
    const QStringList shared = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                                         QStandardPaths::LocateDirectory);
    for (const QString &folder : shared) {
        if (!folders.contains(folder))
            folders.append(folder);
    }
    QIcon::setThemeSearchPaths(folders);
    // Without a theme of its own Qt looks nowhere, not even in the fallback.
    if (QIcon::themeName().isEmpty())
        QIcon::setThemeName(QStringLiteral("hicolor"));
    QIcon::setFallbackThemeName(FallbackIconTheme);
}

} // namespace talv::host

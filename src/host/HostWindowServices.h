#pragma once

#include <QString>

namespace talv {
class FlexGrid;
}

namespace talv::host {

// What the application manager needs from the main window: the services that show a window of
// their own. The main window implements it and hands itself to ReferenceAppManager.
class HostWindowServices
{
public:
    virtual ~HostWindowServices() = default;

    virtual void ShowAbout() = 0;
    virtual void PopupEdit(FlexGrid *grid) = 0;
    // As AppManager::OpenRelatedDetail: may change `recordId`; false when nothing was opened.
    virtual bool OpenRelatedDetail(const QString &viewCode, const QString &targetViewCode, const QString &caption,
                                   qint32 &recordId) = 0;
};

} // namespace talv::host

#include "HostHelp.h"

#include "AppManager.h"

#include "platform/UiServices.h"

namespace talv {

std::optional<qint32> showHostHelp(AppManager &appManager, QWidget *hostedControl)
{
    qint32 topic = 0;
    if (!hostedControl || !appManager.GetHelpTopicID(hostedControl, topic))
        return std::nullopt;
    UiServices::current().showHelp(appManager.HelpFile(), topic);
    return topic;
}

} // namespace talv

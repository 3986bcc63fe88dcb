#pragma once

#include "platform/UiServices.h"

#include <functional>

namespace talv::host {

// The desktop services of talv-host: everything as the services it wraps do it, except help,
// which opens in the host's own help window instead of an outside browser.
class HostUiServices final : public UiServices
{
public:
    using HelpHandler = std::function<void(const QString &helpFile, int topicId)>;

    // `fallback` must outlive this object.
    HostUiServices(UiServices &fallback, HelpHandler help) : m_fallback(fallback), m_help(std::move(help)) {}

    int messageBox(const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title,
                   int defaultAnswer) override
    {
        return m_fallback.messageBox(text, buttons, icon, title, defaultAnswer);
    }
    int execModal(QDialog &dialog) override { return m_fallback.execModal(dialog); }
    void setBusy(bool busy) override { m_fallback.setBusy(busy); }
    void processEvents() override { m_fallback.processEvents(); }
    void sendKeys(const QString &keys) override { m_fallback.sendKeys(keys); }
    void showHelp(const QString &helpFile, int topicId) override
    {
        if (m_help)
            m_help(helpFile, topicId);
        else
            m_fallback.showHelp(helpFile, topicId);
    }
    void beep() override { m_fallback.beep(); }

private:
    UiServices &m_fallback;
    HelpHandler m_help;
};

} // namespace talv::host

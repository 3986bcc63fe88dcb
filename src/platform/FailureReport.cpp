#include "FailureReport.h"

#include "Error.h"

namespace talv {

FailureText unableTo(const QString &what, const QString &title)
{
    return {QStringLiteral("Unable to %1: ").arg(what), title, MsgIcon::Exclamation};
}

bool runReported(const FailureText &text, const std::function<void()> &handler)
{
    return runReported(handler, [&text](const QString &description) {
        UiServices::current().messageBox(text.prefix + description, MsgButtons::OK, text.icon, text.title);
    });
}

bool runReported(const std::function<void()> &handler, const std::function<void(const QString &)> &report)
{
    QString description;
    try {
        handler();
        return true;
    } catch (const std::exception &e) {
        description = describe(e);
    } catch (...) {
        description = QStringLiteral("An unexpected error occurred.");
    }
    try {
        report(description);
    } catch (...) {
    }
    return false;
}

} // namespace talv

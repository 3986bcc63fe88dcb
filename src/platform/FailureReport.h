#pragma once

#include "UiServices.h"

#include <QString>

#include <functional>

namespace talv {

// How a command tells the user that it failed: the box shows `prefix` followed by the error's
// description, under `title` (empty: the application's name) with `icon`.
struct FailureText {
    QString prefix;
    QString title = {};
    MsgIcon icon = MsgIcon::Exclamation;
};

// "Unable to <what>: <description>", the wording of most commands.
FailureText unableTo(const QString &what, const QString &title = {});

// Runs `handler`; a talv::Error or any std::exception it raises is shown as `text` says. Answers
// true when the handler finished. Every command and event handler of a screen runs through this,
// so nothing it raises reaches the host.
bool runReported(const FailureText &text, const std::function<void()> &handler);

// Runs `handler`; a failure's description goes to `report` (a host message, say) instead of a box.
// Answers true when the handler finished. A failure inside `report` itself is swallowed: there
// is no one left to tell.
bool runReported(const std::function<void()> &handler, const std::function<void(const QString &)> &report);

} // namespace talv

#pragma once

#include "UiServices.h"

#include <QList>
#include <QString>

#include <deque>
#include <functional>
#include <stdexcept>

namespace talv {

// UiServices for tests: records what a screen shows and answers from queues instead of waiting
// for a user. A box or dialog with nothing queued for it is a scripting error: it is recorded in
// failures() and raised as ScriptError, which no screen treats as one of its own errors.
class ScriptedUiServices final : public UiServices
{
public:
    class ScriptError : public std::logic_error
    {
    public:
        using std::logic_error::logic_error;
    };

    struct Box {
        QString text;
        MsgButtons buttons;
        MsgIcon icon;
        QString title;
        int defaultAnswer;
    };
    struct HelpRequest {
        QString helpFile;
        int topicId;
    };
    // Acts on a dialog as the user would (fills it, clicks OK ...); the dialog's result code is
    // the answer of execModal.
    using DialogScript = std::function<void(QDialog &)>;

    // --- scripting
    // Answers for the next message boxes, in order; each must be one of its box's buttons.
    void queueAnswer(int answer) { m_answers.push_back(answer); }
    void queueDialog(DialogScript script) { m_dialogs.push_back(std::move(script)); }
    qsizetype pendingAnswers() const { return qsizetype(m_answers.size()); }
    qsizetype pendingDialogs() const { return qsizetype(m_dialogs.size()); }

    // --- what happened
    const QList<Box> &boxes() const { return m_boxes; }
    const QList<QString> &keystrokes() const { return m_keystrokes; }
    const QList<HelpRequest> &helpRequests() const { return m_help; }
    const QList<QString> &failures() const { return m_failures; }
    int dialogsShown() const { return m_dialogsShown; }
    int busyDepth() const { return m_busyDepth; }
    int busyCount() const { return m_busyCount; } // how often the busy pointer was turned on
    int eventRuns() const { return m_eventRuns; }
    int beeps() const { return m_beeps; }

    // --- UiServices
    int messageBox(const QString &text, MsgButtons buttons = MsgButtons::OK, MsgIcon icon = MsgIcon::None,
                   const QString &title = {}, int defaultAnswer = 0) override;
    // Shows the dialog (not modally) so its widgets are visible and can take the focus, runs the
    // next queued script against it and hides it again; a script that does not close the dialog
    // leaves the result it had (Rejected unless the script set another).
    int execModal(QDialog &dialog) override;
    // Taking back more than was turned on is recorded as a failure.
    void setBusy(bool busy) override;
    void processEvents() override;
    // Recorded, and delivered at once to the focused widget so a test sees its effect.
    void sendKeys(const QString &keys) override;
    void showHelp(const QString &helpFile, int topicId) override;
    void beep() override { ++m_beeps; }

private:
    [[noreturn]] void fail(const QString &message);

    std::deque<int> m_answers;
    std::deque<DialogScript> m_dialogs;
    QList<Box> m_boxes;
    QList<QString> m_keystrokes;
    QList<HelpRequest> m_help;
    QList<QString> m_failures;
    int m_dialogsShown = 0;
    int m_busyDepth = 0;
    int m_busyCount = 0;
    int m_eventRuns = 0;
    int m_beeps = 0;
};

} // namespace talv

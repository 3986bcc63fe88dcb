#include "ScriptedUiServices.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QWidget>

namespace talv {

namespace {

bool offers(MsgButtons buttons, int answer)
{
    switch (buttons) {
    case MsgButtons::OK:
        return answer == Answer::OK;
    case MsgButtons::OKCancel:
        return answer == Answer::OK || answer == Answer::Cancel;
    case MsgButtons::YesNo:
        return answer == Answer::Yes || answer == Answer::No;
    case MsgButtons::YesNoCancel:
        return answer == Answer::Yes || answer == Answer::No || answer == Answer::Cancel;
    }
    return false;
}

} // namespace

void ScriptedUiServices::fail(const QString &message)
{
    m_failures.append(message);
    throw ScriptError(message.toStdString());
}

int ScriptedUiServices::messageBox(const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title,
                                   int defaultAnswer)
{
    m_boxes.append(Box{text, buttons, icon, title, defaultAnswer});
    if (defaultAnswer != 0 && !offers(buttons, defaultAnswer))
        fail(QStringLiteral("The default %1 is not a button of the message box \"%2\"").arg(defaultAnswer).arg(text));
    if (m_answers.empty())
        fail(QStringLiteral("No answer queued for the message box \"%1\"").arg(text));
    const int answer = m_answers.front();
    m_answers.pop_front();
    if (!offers(buttons, answer))
        fail(QStringLiteral("The answer %1 is not a button of the message box \"%2\"").arg(answer).arg(text));
    return answer;
}

int ScriptedUiServices::execModal(QDialog &dialog)
{
    ++m_dialogsShown;
    if (m_dialogs.empty())
        fail(QStringLiteral("No script queued for the dialog \"%1\"").arg(dialog.windowTitle()));
    const DialogScript script = std::move(m_dialogs.front());
    m_dialogs.pop_front();

    dialog.setResult(QDialog::Rejected);
    dialog.show();
    try {
        script(dialog);
    } catch (...) {
        dialog.hide();
        throw;
    }
    const int result = dialog.result();
    dialog.hide();
    return result;
}

void ScriptedUiServices::setBusy(bool busy)
{
    if (busy) {
        ++m_busyDepth;
        ++m_busyCount;
        return;
    }
    if (m_busyDepth == 0) {
        m_failures.append(QStringLiteral("The busy pointer was restored more often than shown"));
        return;
    }
    --m_busyDepth;
}

void ScriptedUiServices::processEvents()
{
    ++m_eventRuns;
    QCoreApplication::processEvents();
}

void ScriptedUiServices::sendKeys(const QString &keys)
{
    const internal::KeyStroke stroke = internal::parseKeyStroke(keys);
    m_keystrokes.append(keys);
    QWidget *target = QApplication::focusWidget();
    if (!target)
        return;
    const auto modifiers = Qt::KeyboardModifiers(stroke.modifiers);
    QKeyEvent press(QEvent::KeyPress, stroke.key, modifiers, stroke.text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, stroke.key, modifiers, stroke.text);
    QCoreApplication::sendEvent(target, &release);
}

void ScriptedUiServices::showHelp(const QString &helpFile, int topicId)
{
    m_help.append(HelpRequest{helpFile, topicId});
}

} // namespace talv

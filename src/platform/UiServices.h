#pragma once

#include <QString>

class QDialog;

namespace talv {

// Button codes a message box answers (and the host's Message too).
namespace Answer {
inline constexpr int OK = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace Answer

enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Information, Exclamation, Critical, Question };

// Everything a screen asks of the desktop that would block, or reach outside the screen, in a
// test: message boxes, modal dialogs, the busy pointer, pending events, keystrokes and help.
// Screens reach it through UiServices::current(); tests install a scripted one.
class UiServices
{
public:
    virtual ~UiServices() = default;

    // Answers the pressed button as an Answer code. An empty title shows the application's name.
    // `defaultAnswer` is the button that Enter presses (an Answer code; 0 leaves it to the style):
    // a question whose Yes destroys something defaults to No.
    virtual int messageBox(const QString &text, MsgButtons buttons = MsgButtons::OK, MsgIcon icon = MsgIcon::None,
                           const QString &title = {}, int defaultAnswer = 0) = 0;
    // Shows `dialog` modally; answers its result code once it is hidden.
    virtual int execModal(QDialog &dialog) = 0;
    // true shows the busy pointer, false takes one back; calls nest (use BusyCursor).
    virtual void setBusy(bool busy) = 0;
    // Lets pending paint and posted events run during a long operation.
    virtual void processEvents() = 0;
    // Sends a keystroke to the widget with the focus (nothing when none has it): a character
    // with the modifiers "^" Ctrl, "+" Shift, "%" Alt, or a key in braces: "^C", "^V", "{F1}".
    // Unknown key texts raise talv::Error(InvalidArgument).
    virtual void sendKeys(const QString &keys) = 0;
    // Opens the help file at a topic (0 for its contents).
    virtual void showHelp(const QString &helpFile, int topicId) = 0;
    // The quiet signal for input that a field refused (a full field): a sound, never a box.
    virtual void beep() = 0;

    // The services in use: the installed ones, else the desktop's.
    static UiServices &current();
    // Installs `services` (not owned; nullptr restores the desktop's); answers the previous ones.
    static UiServices *install(UiServices *services);
};

// Installs services for a scope and restores the previous ones, for tests.
class ScopedUiServices
{
public:
    explicit ScopedUiServices(UiServices &services) : m_previous(UiServices::install(&services)) {}
    ~ScopedUiServices() { UiServices::install(m_previous); }
    ScopedUiServices(const ScopedUiServices &) = delete;
    ScopedUiServices &operator=(const ScopedUiServices &) = delete;

private:
    UiServices *m_previous;
};

namespace internal {
struct KeyStroke {
    int key = 0;       // a Qt::Key
    int modifiers = 0; // Qt::KeyboardModifiers
    QString text;      // what the key types, if anything
};
// Parses a keystroke text of UiServices::sendKeys; raises InvalidArgument for unknown ones.
KeyStroke parseKeyStroke(const QString &keys);
} // namespace internal

} // namespace talv

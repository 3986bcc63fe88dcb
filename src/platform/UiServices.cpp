#include "UiServices.h"

#include "Error.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

namespace talv {

namespace {

int answerOf(QMessageBox::StandardButton button, MsgButtons buttons)
{
    switch (button) {
    case QMessageBox::Ok:
        return Answer::OK;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        // Closed without a button: what Escape would have pressed.
        return buttons == MsgButtons::OK ? Answer::OK : buttons == MsgButtons::YesNo ? Answer::No : Answer::Cancel;
    }
}

QMessageBox::StandardButton standardButton(int answer)
{
    switch (answer) {
    case Answer::OK:
        return QMessageBox::Ok;
    case Answer::Cancel:
        return QMessageBox::Cancel;
    case Answer::Yes:
        return QMessageBox::Yes;
    case Answer::No:
        return QMessageBox::No;
    default:
        return QMessageBox::NoButton;
    }
}

QMessageBox::StandardButtons standardButtons(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::OK:
        return QMessageBox::Ok;
    case MsgButtons::OKCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon standardIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None:
        return QMessageBox::NoIcon;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

class DesktopUiServices final : public UiServices
{
public:
    int messageBox(const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title,
                   int defaultAnswer) override
    {
        QMessageBox box(standardIcon(icon), title.isEmpty() ? QGuiApplication::applicationDisplayName() : title, text,
                        standardButtons(buttons), QApplication::activeWindow());
        if (const QMessageBox::StandardButton button = standardButton(defaultAnswer); button != QMessageBox::NoButton)
            box.setDefaultButton(button);
        box.exec();
        return answerOf(box.standardButton(box.clickedButton()), buttons);
    }

    int execModal(QDialog &dialog) override { return dialog.exec(); }

    void setBusy(bool busy) override
    {
        if (busy)
            QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QApplication::restoreOverrideCursor();
    }

    void processEvents() override { QCoreApplication::processEvents(); }

    void sendKeys(const QString &keys) override
    {
        const internal::KeyStroke stroke = internal::parseKeyStroke(keys);
        QWidget *target = QApplication::focusWidget();
        if (!target)
            return;
        const auto modifiers = Qt::KeyboardModifiers(stroke.modifiers);
        // Posted, not sent: the keystroke arrives after the command that sent it has finished,
        // as a key typed by the user would.
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, stroke.key, modifiers, stroke.text));
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, stroke.key, modifiers, stroke.text));
    }

    void showHelp(const QString &helpFile, int topicId) override
    {
        if (helpFile.isEmpty())
            return;
        QUrl url = QUrl::fromLocalFile(helpFile);
        // Only HTML help can be opened at a topic; other formats open at their contents.
        const QString suffix = QFileInfo(helpFile).suffix().toLower();
        if (topicId > 0 && (suffix == QLatin1String("html") || suffix == QLatin1String("htm")))
            url.setFragment(QString::number(topicId));
        QDesktopServices::openUrl(url);
    }

    void beep() override { QApplication::beep(); }
};

UiServices *s_installed = nullptr;

} // namespace

UiServices &UiServices::current()
{
    static DesktopUiServices desktop;
    return s_installed ? *s_installed : desktop;
}

UiServices *UiServices::install(UiServices *services)
{
    UiServices *previous = s_installed;
    s_installed = services;
    return previous;
}

namespace internal {

namespace {

struct NamedKey {
    const char *name;
    int key;
};

constexpr NamedKey NamedKeys[] = {
    {"ENTER", Qt::Key_Return},  {"ESC", Qt::Key_Escape},    {"TAB", Qt::Key_Tab},    {"BACKSPACE", Qt::Key_Backspace},
    {"BS", Qt::Key_Backspace},  {"DELETE", Qt::Key_Delete}, {"DEL", Qt::Key_Delete}, {"INSERT", Qt::Key_Insert},
    {"INS", Qt::Key_Insert},    {"HOME", Qt::Key_Home},     {"END", Qt::Key_End},    {"PGUP", Qt::Key_PageUp},
    {"PGDN", Qt::Key_PageDown}, {"UP", Qt::Key_Up},         {"DOWN", Qt::Key_Down},  {"LEFT", Qt::Key_Left},
    {"RIGHT", Qt::Key_Right},
};

[[noreturn]] void badKeys(const QString &keys)
{
    throw Error(Error::InvalidArgument, QStringLiteral("Unknown keystroke '%1'").arg(keys));
}

int keyOfName(const QString &name, const QString &keys)
{
    const QString upper = name.toUpper();
    if (upper.size() >= 2 && upper.size() <= 3 && upper.startsWith(QLatin1Char('F'))) {
        bool ok = false;
        const int number = upper.mid(1).toInt(&ok);
        if (ok && number >= 1 && number <= 12)
            return Qt::Key_F1 + number - 1;
    }
    for (const NamedKey &named : NamedKeys) {
        if (upper == QLatin1String(named.name))
            return named.key;
    }
    badKeys(keys);
}

} // namespace

KeyStroke parseKeyStroke(const QString &keys)
{
    KeyStroke stroke;
    qsizetype at = 0;
    // A lone modifier character is the character itself ("+" types a plus).
    for (; at + 1 < keys.size(); ++at) {
        const QChar c = keys.at(at);
        if (c == QLatin1Char('^'))
            stroke.modifiers |= Qt::ControlModifier;
        else if (c == QLatin1Char('+'))
            stroke.modifiers |= Qt::ShiftModifier;
        else if (c == QLatin1Char('%'))
            stroke.modifiers |= Qt::AltModifier;
        else
            break;
    }
    const QString rest = keys.mid(at);
    QChar character;
    if (rest.size() == 1 && rest != QLatin1String("{") && rest != QLatin1String("}")) {
        character = rest.at(0);
    } else if (rest.size() >= 3 && rest.startsWith(QLatin1Char('{')) && rest.endsWith(QLatin1Char('}'))) {
        const QString name = rest.mid(1, rest.size() - 2);
        if (name.size() == 1) {
            character = name.at(0); // "{+}", "{^}", "{%}", "{{}"
        } else {
            stroke.key = keyOfName(name, keys);
            return stroke;
        }
    } else {
        badKeys(keys);
    }

    stroke.key =
        character.isLetter() && character.unicode() < 128 ? character.toUpper().unicode() : character.unicode();
    // With Ctrl or Alt a key types nothing; the widget reacts to the key and its modifiers.
    if (!(stroke.modifiers & (Qt::ControlModifier | Qt::AltModifier)))
        stroke.text = stroke.modifiers & Qt::ShiftModifier ? character.toUpper() : character;
    return stroke;
}

} // namespace internal

} // namespace talv

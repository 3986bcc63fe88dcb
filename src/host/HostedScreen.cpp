#include "HostedScreen.h"

#include "contracts/LateBinding.h"
#include "contracts/Names.h"
#include "platform/Error.h"
#include "platform/FailureReport.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QMetaMethod>

namespace talv::host {

namespace {

// The slot of ours that takes a signal with these parameters, or an invalid method.
QMetaMethod receiverFor(const QObject *receiver, const char *slotName, const QMetaMethod &signal)
{
    if (signal.parameterCount() != 1)
        return {};
    QByteArray signature(slotName);
    const int type = signal.parameterMetaType(0).id();
    if (type == QMetaType::Int)
        signature += "(int)";
    else if (type == QMetaType::LongLong)
        signature += "(qlonglong)";
    else
        return {};
    const int index = receiver->metaObject()->indexOfSlot(signature.constData());
    return index < 0 ? QMetaMethod() : receiver->metaObject()->method(index);
}

} // namespace

HostedScreen::HostedScreen(QWidget *control, QMdiSubWindow *window, ListBinding binding)
    : QObject(window), m_control(control), m_window(window), m_binding(binding)
{
    window->installEventFilter(this);
}

void HostedScreen::connectEvents()
{
    struct Binding {
        const QString &event;
        const char *slot;
    };
    static const Binding bindings[] = {
        {names::event::Quit, "onQuit"},
        {names::event::UpdateList, "onUpdateList"},
        {names::event::NewItem, "onNewItem"},
        {names::event::RemoveItem, "onRemoveItem"},
    };
    const QMetaObject *meta = m_control->metaObject();
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod signal = meta->method(i);
        if (signal.methodType() != QMetaMethod::Signal)
            continue;
        for (const Binding &binding : bindings) {
            if (QString::fromLatin1(signal.name()).compare(binding.event, Qt::CaseInsensitive) != 0)
                continue;
            // Whatever Quit carries is ignored; a list event without an id tells the host nothing.
            const bool isQuit = binding.event == names::event::Quit;
            const QMetaMethod slot = isQuit ? metaObject()->method(metaObject()->indexOfSlot("onQuit()"))
                                            : receiverFor(this, binding.slot, signal);
            if (slot.isValid())
                connect(m_control, signal, this, slot);
        }
    }
}

QString HostedScreen::title() const
{
    return m_window ? m_window->windowTitle() : QString();
}

bool HostedScreen::canClose()
{
    if (m_approved || !m_control)
        return true;
    if (!LateBinding::hasMember(m_control, names::member::CanClose, 0))
        return true;
    bool agrees = true;
    runReported(unableTo(QStringLiteral("ask %1 whether it may close").arg(title())),
                [&] { agrees = LateBinding::call(m_control, names::member::CanClose).toBool(); });
    return agrees;
}

void HostedScreen::deactivate()
{
    if (!m_control || !LateBinding::hasMember(m_control, names::member::Deactivate, 0))
        return;
    // The screen is going away; what it could not release dies with it.
    runReported([this] { LateBinding::call(m_control, names::member::Deactivate); }, [](const QString &) {});
}

void HostedScreen::closeApproved()
{
    m_approved = true;
    deactivate();
    if (m_window)
        m_window->close();
}

void HostedScreen::discard()
{
    m_approved = true;
    if (m_window) {
        m_window->hide();
        m_window->deleteLater();
    }
}

void HostedScreen::notifyListChanges(const QString &event)
{
    if (!m_control || !LateBinding::hasMember(m_control, names::member::NotifyListChanges, 1))
        return;
    runReported(unableTo(QStringLiteral("tell %1 that the working list changed").arg(title())),
                [&] { LateBinding::call(m_control, names::member::NotifyListChanges, {event}); });
}

bool HostedScreen::eventFilter(QObject *watched, QEvent *event)
{
    // The type first: the window sends events while it is being destroyed, when it is no longer
    // a QMdiSubWindow to compare with.
    if (event->type() == QEvent::Close && !m_approved && watched == m_window) {
        if (!canClose()) {
            event->ignore();
            return true;
        }
        m_approved = true;
        deactivate();
    }
    return QObject::eventFilter(watched, event);
}

void HostedScreen::onQuit()
{
    emit quitRequested(this);
}

} // namespace talv::host

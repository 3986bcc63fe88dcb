#include "ModalHostWindow.h"

#include "contracts/AppManager.h"
#include "contracts/ClassRegistry.h"
#include "contracts/HostHelp.h"
#include "contracts/LateBinding.h"
#include "contracts/Names.h"
#include "platform/Error.h"
#include "platform/FailureReport.h"
#include "platform/Twips.h"
#include "platform/UiServices.h"

#include <QAction>
#include <QCloseEvent>
#include <QMetaMethod>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <memory>

namespace talv {

namespace {

// Room the window gives around its control, in twips.
constexpr QSize WindowAllowance(100, 750);

// The extent the control was designed with: its own size when it set one, else what it asks for.
QSize designSize(const QWidget &control)
{
    if (control.testAttribute(Qt::WA_Resized))
        return control.size();
    const QSize hint = control.sizeHint();
    return hint.isValid() ? hint : control.size();
}

bool isQuit(const QMetaMethod &method)
{
    return method.methodType() == QMetaMethod::Signal &&
           QString::fromLatin1(method.name()).compare(names::event::Quit, Qt::CaseInsensitive) == 0;
}

} // namespace

ModalHostWindow::ModalHostWindow(Rules rules, const QString &caption, QWidget *parent)
    : QDialog(parent), m_rules(std::move(rules))
{
    setWindowTitle(caption);
    // The window's own keys: they act while the focus is anywhere in this window, and nowhere else.
    addWindowKey(QStringLiteral("actHelp"), Qt::Key_F1, &ModalHostWindow::showHelpTopic);
    addWindowKey(QStringLiteral("actSystemControl"), Qt::Key_F9, &ModalHostWindow::displaySystemControlEntry);
}

void ModalHostWindow::addWindowKey(const QString &name, Qt::Key key, void (ModalHostWindow::*handler)())
{
    auto *action = new QAction(this);
    action->setObjectName(name);
    action->setShortcut(QKeySequence(key));
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    connect(action, &QAction::triggered, this, handler);
}

ModalHostWindow::~ModalHostWindow()
{
    // Released by its caller without a close: the control still gets its unload steps.
    unload();
}

void ModalHostWindow::addHostedControl(const QString &className)
{
    if (m_container)
        throw Error(Error::IllegalOperation,
                    QStringLiteral("The window already hosts a control named \"%1\".").arg(m_rules.controlName));
    auto container = std::make_unique<QWidget>();
    container->setObjectName(m_rules.controlName);
    auto *layout = new QVBoxLayout(container.get());
    layout->setContentsMargins(0, 0, 0, 0);
    QWidget *control = ClassRegistry::instance().CreateAs<QWidget>(className, container.get());
    layout->addWidget(control);

    // Invisible until the window is activated, as a control added at run time is.
    container->hide();
    container->setParent(this);
    m_container = container.release();
    m_control = control;
    connectQuit();
}

void ModalHostWindow::sizeToHostedControl()
{
    const QSize control = designSize(*m_control);
    m_container->setGeometry(QRect(QPoint(0, 0), control));
    resize(twips::toPixels(twips::fromPixels(control) + WindowAllowance));
}

void ModalHostWindow::letEventsRun()
{
    UiServices::current().processEvents();
}

void ModalHostWindow::keepAppManager(AppManager *appManager)
{
    // The hosted control's initialisation would be the first to trip over a missing one.
    if (!appManager)
        throw Error(Error::InvalidArgument, QStringLiteral("The window was given no application manager."));
    m_appManager = appManager;
}

QVariant ModalHostWindow::callHosted(const QString &member, const QVariantList &args)
{
    return LateBinding::call(m_control, member, args);
}

QVariant ModalHostWindow::callHostedByRef(const QString &member, QVariantList &args)
{
    return LateBinding::callByRef(m_control, member, args);
}

void ModalHostWindow::connectQuit()
{
    const QMetaMethod slot = metaObject()->method(metaObject()->indexOfSlot("onHostedQuit()"));
    const QMetaObject *meta = m_control->metaObject();
    for (int i = 0; i < meta->methodCount(); ++i) {
        if (isQuit(meta->method(i)))
            connect(m_control, meta->method(i), this, slot);
    }
}

void ModalHostWindow::onHostedQuit()
{
    const QScopedValueRollback guard(m_inHostedEvent, true);
    if (m_rules.quitHides)
        hide(); // the caller's modal show returns; the caller releases the window
    else
        close();
}

bool ModalHostWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        activate();
    return QDialog::event(event);
}

void ModalHostWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Offscreen and on some window managers a shown dialog is never activated.
    activate();
}

void ModalHostWindow::activate()
{
    if (m_container)
        m_container->show();
}

void ModalHostWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (m_container)
        m_container->resize((size() - twips::toPixels(WindowAllowance)).expandedTo(QSize(0, 0)));
}

void ModalHostWindow::reject()
{
    close();
}

void ModalHostWindow::closeEvent(QCloseEvent *event)
{
    const bool asks = m_control && (!m_rules.askOnlyWhenVisible || !m_container->isHidden());
    if (asks && !hostedAgreesToClose()) {
        event->ignore();
        return;
    }
    event->accept();
    unload();
}

bool ModalHostWindow::hostedAgreesToClose()
{
    // No answer is not a yes; the control's "quit" still ends the window.
    bool agrees = false;
    runReported(unableTo(QStringLiteral("close the window")), [&] {
        const QVariant answer = callHosted(names::member::CanClose);
        agrees = answer.metaType() == QMetaType::fromType<bool>() && answer.toBool();
    });
    return agrees;
}

void ModalHostWindow::unload()
{
    if (m_rules.deactivatesOnUnload && m_control) {
        try {
            callHosted(names::member::Deactivate);
        } catch (const std::exception &) {
            // The control is going away; what it could not release goes with it.
        }
    }
    if (QWidget *container = m_container) {
        m_container = nullptr;
        m_control = nullptr;
        container->hide();
        container->setParent(nullptr);
        // Inside the control's own event the control is still on the stack.
        if (m_inHostedEvent)
            container->deleteLater();
        else
            delete container;
    }
    m_appManager = nullptr;
}

void ModalHostWindow::showHelpTopic()
{
    if (!m_appManager || !m_control)
        return;
    runReported(unableTo(QStringLiteral("show help")), [this] { showHostHelp(*m_appManager, m_control); });
}

void ModalHostWindow::displaySystemControlEntry()
{
    if (!m_appManager || !m_control)
        return;
    runReported(unableTo(QStringLiteral("show the system control entry")),
                [this] { m_appManager->DisplaySystemControlEntry(m_control); });
}

} // namespace talv

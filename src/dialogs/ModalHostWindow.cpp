#include "ModalHostWindow.h"

#include "contracts/AppManager.h"
#include "contracts/ClassRegistry.h"
#include "contracts/LateBinding.h"
#include "platform/Error.h"
#include "platform/Twips.h"
#include "platform/UiServices.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
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
           QString::fromLatin1(method.name()).compare(QLatin1String("quit"), Qt::CaseInsensitive) == 0;
}

} // namespace

ModalHostWindow::ModalHostWindow(Rules rules, const QString &caption, QWidget *parent)
    : QDialog(parent), m_rules(std::move(rules))
{
    setWindowTitle(caption);
    // Keys reach the focused control first; the application filter lets the window see them before.
    qApp->installEventFilter(this);
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

void ModalHostWindow::setUpHelp()
{
    m_helpFile = m_appManager->HelpFile();
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
    try {
        const QVariant answer = callHosted(QStringLiteral("CanClose"));
        return answer.metaType() == QMetaType::fromType<bool>() && answer.toBool();
    } catch (const std::exception &e) {
        // No answer is not a yes; the control's "quit" still ends the window.
        UiServices::current().messageBox(QStringLiteral("Unable to close the window: ") + describe(e), MsgButtons::OK,
                                         MsgIcon::Exclamation);
        return false;
    }
}

void ModalHostWindow::unload()
{
    if (m_rules.deactivatesOnUnload && m_control) {
        try {
            callHosted(QStringLiteral("Deactivate"));
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

bool ModalHostWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (widget != this && !isAncestorOf(widget))
        return false;
    // The window answers these keys itself; the control does not see them too.
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_F1:
        showHelpTopic();
        return true;
    case Qt::Key_F9:
        displaySystemControlEntry();
        return true;
    default:
        return false;
    }
}

void ModalHostWindow::showHelpTopic()
{
    if (!m_appManager || !m_control)
        return;
    try {
        qint32 topic = 0;
        if (!m_appManager->GetHelpTopicID(m_control, topic))
            return;
        UiServices::current().showHelp(m_helpFile, topic);
    } catch (const std::exception &e) {
        UiServices::current().messageBox(QStringLiteral("Unable to show help: ") + describe(e), MsgButtons::OK,
                                         MsgIcon::Exclamation);
    }
}

void ModalHostWindow::displaySystemControlEntry()
{
    if (!m_appManager || !m_control)
        return;
    try {
        m_appManager->DisplaySystemControlEntry(m_control);
    } catch (const std::exception &e) {
        UiServices::current().messageBox(QStringLiteral("Unable to show the system control entry: ") + describe(e),
                                         MsgButtons::OK, MsgIcon::Exclamation);
    }
}

} // namespace talv

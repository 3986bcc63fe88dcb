#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QVariantList>

namespace talv {

class AppManager;

// The window plumbing that the modal search and detail hosts share: one control created by class
// name inside a container that the window registers under a fixed name, sizing to that control,
// calls on it by member name, its "quit" event, the close rule with its CanClose, and the F1 and
// F9 keys of the window, answered through the host. The subclasses add InitDialog and their forwarding operations.
class ModalHostWindow : public QDialog
{
    Q_OBJECT

public:
    ~ModalHostWindow() override;

    // The container of the hosted control, registered under the window's fixed name; null before
    // InitDialog and after unloading.
    QWidget *GenericDetails() const { return m_container; }
    // The hosted control itself (the container's object).
    QWidget *HostedControl() const { return m_control; }
    AppManager *appManager() const { return m_appManager; }

protected:
    // How the two hosts differ in their window events.
    struct Rules {
        QString controlName;      // "ModalSearch" or "ModalDetail"
        bool askOnlyWhenVisible;  // a close asks CanClose only while the container is visible
        bool quitHides;           // "quit" hides the window; otherwise it unloads it
        bool deactivatesOnUnload; // unloading calls the control's Deactivate first
    };

    ModalHostWindow(Rules rules, const QString &caption, QWidget *parent);

    // The steps of InitDialog, raising talv::Error on failure.
    void keepAppManager(AppManager *appManager);
    void addHostedControl(const QString &className);
    // Window = control + 100 twips wide, + 750 twips high.
    void sizeToHostedControl();
    void letEventsRun();

    // The hosted control's member by name; errors pass to the caller.
    QVariant callHosted(const QString &member, const QVariantList &args = {});
    QVariant callHostedByRef(const QString &member, QVariantList &args);

    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // Escape closes through the same close rule as the title bar.
    void reject() override;

private slots:
    void onHostedQuit();

private:
    void addWindowKey(const QString &name, Qt::Key key, void (ModalHostWindow::*handler)());
    void connectQuit();
    void activate();
    bool hostedAgreesToClose();
    void unload();
    void showHelpTopic();
    void displaySystemControlEntry();

    Rules m_rules;
    AppManager *m_appManager = nullptr;
    QPointer<QWidget> m_container;
    QPointer<QWidget> m_control;
    bool m_inHostedEvent = false;
};

} // namespace talv

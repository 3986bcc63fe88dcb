#pragma once

#include <QMdiSubWindow>
#include <QObject>
#include <QPointer>
#include <QString>

namespace talv::host {

// One screen open in the work area: a control created by class name (or one of the host's own
// screens) inside its sub-window. Reaches the control by member name only, so a screen from any
// library can be hosted, and turns the control's events into typed signals for the host.
class HostedScreen : public QObject
{
    Q_OBJECT
public:
    enum class ListEvent { UpdateList, NewItem, RemoveItem };

    // How a screen stands to the working list it was opened from.
    struct ListBinding {
        qint32 view = -1;     // position of the view whose list it was opened from; -1 none
        bool browses = false; // the control walks that working list itself
        // Its records are of the list's kind, so the ids of its events name rows of the list (a
        // group screen opened on an element's list reports groups, not elements).
        bool sameKind = true;
    };

    HostedScreen(QWidget *control, QMdiSubWindow *window, ListBinding binding);

    QWidget *control() const { return m_control; }
    QMdiSubWindow *window() const { return m_window; }
    qint32 listView() const { return m_binding.view; }
    bool browsesWorkingList() const { return m_binding.browses; }
    bool reportsListRows() const { return m_binding.sameKind; }

    // Connects the control's Quit, UpdateList, NewItem and RemoveItem signals, found by name in
    // any letter case; a control without them simply raises nothing.
    void connectEvents();

    // The control's CanClose; true for a control without one. A CanClose that fails is reported
    // and lets the screen go: a broken screen must not trap the user.
    bool canClose();
    // Closes the window once the control agreed; the close asks nothing more.
    void closeApproved();
    // Closes the window without asking, for a control that never came up.
    void discard();
    // Calls the control's NotifyListChanges when it has one; failures are reported.
    void notifyListChanges(const QString &event);

signals:
    void quitRequested(talv::host::HostedScreen *screen);
    void listEvent(talv::host::HostedScreen *screen, talv::host::HostedScreen::ListEvent event, qint32 id);

protected:
    // Every close of the sub-window (title bar, Ctrl+F4, Window menu) goes through CanClose.
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void onQuit();
    void onUpdateList(int id) { emit listEvent(this, ListEvent::UpdateList, id); }
    void onUpdateList(qlonglong id) { emit listEvent(this, ListEvent::UpdateList, qint32(id)); }
    void onNewItem(int id) { emit listEvent(this, ListEvent::NewItem, id); }
    void onNewItem(qlonglong id) { emit listEvent(this, ListEvent::NewItem, qint32(id)); }
    void onRemoveItem(int id) { emit listEvent(this, ListEvent::RemoveItem, id); }
    void onRemoveItem(qlonglong id) { emit listEvent(this, ListEvent::RemoveItem, qint32(id)); }

private:
    void deactivate();
    QString title() const;

    QPointer<QWidget> m_control;
    QPointer<QMdiSubWindow> m_window;
    ListBinding m_binding;
    bool m_approved = false;
};

} // namespace talv::host

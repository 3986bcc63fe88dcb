#pragma once

#include "HostedScreen.h"
#include "QueryService.h"
#include "ViewCatalogue.h"
#include "WorkArea.h"
#include "WorkingLists.h"

#include "contracts/AppManager.h"
#include "contracts/WinMan.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>

#include <functional>

namespace talv::host {

// Opens the host's screens in the work area and keeps them in step with the working lists.
// Record screens are created by the class name their view names, handed a list and the host's
// objects, and called by member name; their events come back as list updates or closes.
// Every failure is reported to the user here: the screen that asked is never interrupted, and a
// screen that fails to open never closes the one the user is on.
class WindowManager : public QObject, public WinMan
{
    Q_OBJECT
public:
    WindowManager(WorkArea &area, ViewCatalogue &views, WorkingLists &lists, QueryService queries,
                  QObject *parent = nullptr);

    void setAppManager(AppManager *appManager) { m_appManager = appManager; }

    // --- WinMan
    void OpenDetails(qint32 viewNumber, qint32 targetViewNumber, qint32 recordId, const QString &text,
                     const RecordsetPtr &list) override;
    void NewDetails(qint32 viewNumber, qint32 targetViewNumber, const QString &caption) override;
    // The view whose list a screen being opened was handed; otherwise the view on show.
    qint32 WorkingListType() override;

    void setCurrentView(qint32 position) { m_currentView = position; }
    qint32 currentView() const { return m_currentView; }

    // Opens a search screen on the working list of the view at `view`; null when it could not be
    // opened (the user was told why).
    QWidget *OpenSearch(const QString &className, const QString &caption, qint32 view);
    // Opens the host's read-only screen of the records of `targetCode` that belong to record
    // `recordId` of `sourceCode`; false when there are none (or the codes name no view).
    bool OpenRelated(const QString &sourceCode, const QString &targetCode, const QString &caption, qint32 recordId);

    // Asks the screen's CanClose and closes it when it agrees; answers whether it closed.
    bool CloseScreen(QWidget *control);
    // Closes every screen, most recent first, stopping at the first that refuses.
    bool CloseAll();

    QList<QWidget *> Screens() const;
    // The control of the active sub-window, or null.
    QWidget *ActiveScreen() const;
    HostedScreen *screenOf(const QWidget *control) const;

signals:
    void screensChanged();

private:
    void configureTextFields(QWidget *control);
    using Initialiser = std::function<void(QWidget *control)>;

    // Runs `open`, reporting its failure as "Unable to <what>: ..."; answers whether it finished.
    // A Quit raised before control returns to the event loop is then ignored.
    bool reportFailure(const QString &what, const std::function<void()> &open);
    // Creates the control inside a new sub-window and initialises it; raises when either fails,
    // leaving no window behind.
    QWidget *openControl(const QString &className, const QString &caption, HostedScreen::ListBinding binding,
                         const Initialiser &initialise);
    QWidget *host(QWidget *control, const QString &caption, HostedScreen::ListBinding binding,
                  const Initialiser &initialise);
    RecordsetPtr singleRecord(qint32 listView, qint32 recordId);
    QVariantList initArguments(const RecordsetPtr &list, qint32 view);
    void onQuit(HostedScreen *screen);
    void onListEvent(HostedScreen *screen, HostedScreen::ListEvent event, qint32 id);
    void onListChanged(qint32 position);
    void queueNotification(HostedScreen *screen);
    void flushNotifications();

    WorkArea &m_area;
    ViewCatalogue &m_views;
    WorkingLists &m_lists;
    QueryService m_queries;
    AppManager *m_appManager = nullptr;
    qint32 m_currentView = 1;
    qint32 m_openingView = -1;
    bool m_openFailed = false;
    QList<QPointer<HostedScreen>> m_screens;
    QList<QPointer<HostedScreen>> m_pendingNotifications;
};

} // namespace talv::host

#pragma once

#include <functional>

#include "HelpWindow.h"
#include "HostSession.h"
#include "HostWindowServices.h"
#include "ViewCatalogue.h"
#include "WindowManager.h"
#include "WorkArea.h"
#include "WorkingLists.h"

#include "contracts/AppManager.h"

#include <QMainWindow>
#include <QPointer>

#include <optional>

class QActionGroup;
class QComboBox;
class QLabel;
class QMenu;

namespace talv {
class FlexGrid;
}

namespace talv::host {

class MainMenuAccessKeys;

// The host's main window: the working list of the view on show, the work area where screens
// open, the menus and the status bar. It offers the application manager the services that need
// a window (about box, pop-up editor, related records, system-control entries).
class MainWindow : public QMainWindow, public HostWindowServices
{
    Q_OBJECT
public:
    MainWindow(HostSession &session, ViewCatalogue &views, QWidget *parent = nullptr);

    // The program's icon, drawn rather than shipped: a green tile with the initials.
    static QIcon applicationIcon();
    ~MainWindow() override;

    // The manager the screens are handed; not owned, set before screens open.
    void setAppManager(AppManager *appManager);

    WindowManager &windowManager() { return *m_winMan; }
    WorkingLists &workingLists() { return *m_lists; }
    WorkArea *workArea() const { return m_area; }
    FlexGrid *workingListGrid() const { return m_grid; }

    // Shows the view's working list (a position in the catalogue).
    void showView(qint32 position);
    qint32 currentView() const { return m_winMan->currentView(); }

    // --- commands
    void findElementGroup();
    void openSelectedRecord();
    // The group screen on the element under the cursor: it walks the groups holding the element.
    void openGroupsOfElement();
    void removeSelectedFromList();
    // Runs a change of the working list; a failure is shown with `failure` (its %1 the reason).
    void changeList(const QString &failure, const std::function<void()> &change);
    void showDatabaseInfo();
    // F1: the help of the field the user is in, or the contents outside a screen.
    void showHelp();
    // Our help window at a topic (0: the contents).
    void showHelpTopic(int topicId);

    // --- HostWindowServices
    void ShowAbout() override;
    void PopupEdit(FlexGrid *grid) override;
    bool OpenRelatedDetail(const QString &viewCode, const QString &targetViewCode, const QString &caption,
                           qint32 &recordId) override;

    HelpWindow *helpWindow() const { return m_help; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWorkingListPanel();
    void buildMenus();
    void buildStatusBar();
    void refreshWorkingList();
    void fitColumns();
    void updateStatus();
    void updateWindowMenu();
    // The id of the current row of the working list, if a data row is current.
    std::optional<qint32> currentRecordId() const;
    void setMainGridRedraw(bool redraw);
    void showSystemControlOfActiveScreen();
    QAction *addCommand(QMenu *menu, const QString &name, const QString &text, const QKeySequence &shortcut);

    HostSession &m_session;
    ViewCatalogue &m_views;
    AppManager *m_appManager = nullptr;
    WorkingLists *m_lists;
    WorkArea *m_area;
    MainMenuAccessKeys *m_menuAccessKeys = nullptr;
    WindowManager *m_winMan;
    FlexGrid *m_grid = nullptr;
    QComboBox *m_viewChooser = nullptr;
    QLabel *m_listCaption = nullptr;
    QLabel *m_statusServer = nullptr;
    QLabel *m_statusUser = nullptr;
    QLabel *m_statusAccess = nullptr; // "read-only" when nothing can be changed
    QLabel *m_statusListSize = nullptr;
    QMenu *m_windowMenu = nullptr;
    QActionGroup *m_viewActions = nullptr;
    QPointer<HelpWindow> m_help;
};

} // namespace talv::host

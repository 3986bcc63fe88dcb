#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QMenuBar;

namespace talv::host {

class WorkArea;

// Keys belong to the window that has the focus: while the user is in a screen of the work area,
// the main window's menu titles give up the access keys that the screen answers itself, so that
// Alt+F opens the screen's File menu and Alt+W presses its "Ne&w..." instead of the main window's
// menus. The titles get their keys back when the focus leaves the screen.
class MainMenuAccessKeys : public QObject
{
    Q_OBJECT
public:
    // The titles of `bar` as they are now are the ones restored later.
    MainMenuAccessKeys(QMenuBar *bar, WorkArea *area);

    // Gives the titles the keys that the screen with the focus leaves free; runs on every move
    // of the focus.
    void update();

private:
    struct Title {
        QPointer<QAction> action;
        QString caption;
    };
    // Both may go before this object while the main window is taken apart, and the focus moves
    // on the way.
    QPointer<WorkArea> m_area;
    QList<Title> m_titles;
};

} // namespace talv::host

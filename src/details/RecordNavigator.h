#pragma once

#include "DetailsState.h"

#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QToolButton;

namespace talv::details {

// Walks the current list: the working list when it holds groups, or the groups of one element.
// Shows the position ("txtCurrentRecord" of "lblTotalRecords"), moves by the four buttons, by a
// typed position and by the goto dialog, and keeps in step when the host's list changes.
class RecordNavigator : public QWidget
{
    Q_OBJECT
public:
    // What moving asks of the screen around it.
    struct Screen {
        std::function<bool()> canClose;    // the save prompt; false keeps the record
        std::function<void()> showRecord;  // the record change to the list group id
        std::function<bool()> isNewRecord; // the record on screen was never saved
        std::function<bool()> newRecordShown;
        std::function<void()> quit;        // the list emptied
        std::function<void(bool)> setBusy; // the wait panel while moving
    };

    static const QString ElementGroupsSql;

    RecordNavigator(DetailsState &state, Screen screen, QWidget *parent = nullptr);

    // The working list's view code: from the window manager and the views, or "EGP" without one.
    QString workingListType() const;
    // For a group list the working list; for an element the list of its groups (queried anew).
    void buildCurrentList();
    // Puts the current list on the group to show: the list group id in a working list (found
    // through the list's index), the first group of an element's list.
    void placeOnListGroup();

    // Shows where the record on screen stands in the current list.
    void updatePositionDisplay();
    void setPosition(const QString &current, const QString &total);
    QString positionText() const;

    // Goes to a 1-based position given as text, with the save prompt and the existence check.
    void goToPosition(const QString &text);
    void first();
    void previous();
    void next();
    void last();
    // The goto dialog over the current list; goes to the position chosen there.
    void gotoDialog();
    // The host's list changed: find the record again, or drop a group that was deleted elsewhere.
    void notifyListChanges();

    // Enables or disables every navigation control (disabled in modal use).
    void setNavigationEnabled(bool enabled);

    // After the current row left the list: shows the row that took its place, or the last row.
    void showRowAfterRemoval();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    qsizetype rowCount() const;
    qint32 currentPositionNumber() const;
    void resetBox();
    void onPositionEntered();
    void onPositionLeft();

    DetailsState &m_state;
    Screen m_screen;
    QToolButton *m_first;
    QToolButton *m_previous;
    QLineEdit *m_current;
    QLabel *m_total;
    QToolButton *m_next;
    QToolButton *m_last;
};

} // namespace talv::details

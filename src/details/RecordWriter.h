#pragma once

#include "DetailsState.h"

#include <QObject>

#include <functional>

namespace talv::details {

class RecordForm;
class RecordNavigator;
class RecordObjects;
class WaitPanel;

// The writing side of the record screen: the save prompt, saving with its checks, beginning a new
// record and deleting the record on screen. All writes go through the group object, the field
// manager and, for deletion, the host.
class RecordWriter : public QObject
{
    Q_OBJECT
public:
    // What writing asks of the screen around it.
    struct Screen {
        std::function<void()> clearScreen;     // bindings removed, fields and grids emptied
        std::function<void()> fillFirstTab;    // bind and show the group object on the first tab
        std::function<void()> refreshChildren; // after a save: the child components re-read
        std::function<void()> loadFieldManagerRecord;
        std::function<void()> showRecord; // the record change to the list group id, without a prompt
        QWidget *screenWidget = nullptr;  // the control, for the field manager
        QString screenName;
        std::function<QObjectList()> controls;
    };

    RecordWriter(DetailsState &state, RecordObjects &objects, RecordForm &form, RecordNavigator &navigator,
                 WaitPanel &wait, Screen screen);

    // Asks to save a changed record; false when the user cancelled (the caller must not go on).
    bool savePrompt();
    // Saves the record; true when it was written. Failures are shown to the user.
    bool save();
    // Begins a new record and answers its id; errors pass to the caller.
    qint32 newData();
    // File > New: the save prompt, then a new record on a cleared screen.
    void fileNew();
    // Edit > Delete: asks, deletes through the host, and shows the row that took the record's place.
    void deleteRecord();

signals:
    void UpdateList(qint32 id);
    void RemoveItem(qint32 id);
    void Quit();

private:
    // What became of a write: done, or not done because another user saved first and the user
    // chose to keep editing (Kept) or to see the other version (Reload).
    enum class Outcome { Written, Kept, Reload };

    // The name is free for this group (other groups compared without regard to case).
    bool nameIsUnique();
    // The first field that must not be empty and is, told to the user and focused; false if none.
    bool refusedByValidation();
    // Writes the group; a lost race with another user is offered to be resolved.
    Outcome writeGroup();
    void keepListsInStep();
    void beginNewGroup();
    void showNewRecordCounters();

    DetailsState &m_state;
    RecordObjects &m_objects;
    RecordForm &m_form;
    RecordNavigator &m_navigator;
    WaitPanel &m_wait;
    Screen m_screen;
};

} // namespace talv::details

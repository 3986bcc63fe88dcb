#pragma once

#include "platform/Recordset.h"

#include <QString>

#include <array>

namespace talv {
class AppManager;
class ViewCollection;
class WinMan;
} // namespace talv

namespace talv::details {

// What the record screen knows about its session and the record on screen, shared by the objects
// that make up the screen. Holds no widgets and no business objects.
struct DetailsState {
    static constexpr int TabCount = 4;

    // --- the host, as handed in
    AppManager *appManager = nullptr;
    WinMan *winMan = nullptr; // none in modal use
    ViewCollection *views = nullptr;
    QString serverName;
    qint32 serverType = 0;
    qint32 userId = 0;
    QString userName;

    // --- the lists
    RecordsetPtr workingList; // the host's, never changed here
    RecordsetPtr currentList; // the list navigation walks: the working list, or an element's groups
    qint32 listGroupId = 0;   // the group of the current list's current row
    qint32 currentRecordId = 0;
    qint32 elementId = 0; // on an element list: the element whose groups are listed
    bool groupList = true;

    // --- flags
    bool modal = false;
    bool loadFailed = false;
    bool displaySuppressed = false;
    bool closeWithoutAsking = false;
    bool closing = false;
    bool childrenRemoved = false;
    std::array<bool, TabCount> tabLoaded{};

    // Also true without any list (modal use): the save then announces the record to the host.
    bool currentListIsWorkingList() const { return currentList == workingList; }
    void clearTabsLoaded() { tabLoaded.fill(false); }
};

} // namespace talv::details

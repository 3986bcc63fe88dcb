#pragma once

#include "DetailsState.h"

#include <QObjectList>
#include <QString>

#include <memory>

class QWidget;

namespace talv {
class ElementGroupObject;
class FieldManager;
class RecordObject;
} // namespace talv

namespace talv::details {

// The business objects behind the record screen: the group object, the companion object held
// beside it on an element list, and the field manager. Creates them by class name, opens them on
// the session's server, releases them, and answers the change tests that ask all of them.
class RecordObjects
{
public:
    enum class LoadResult { Loaded, NotFound };

    explicit RecordObjects(DetailsState &state);
    ~RecordObjects();
    RecordObjects(const RecordObjects &) = delete;
    RecordObjects &operator=(const RecordObjects &) = delete;

    ElementGroupObject *group() const { return m_group.get(); }
    RecordObject *companion() const { return m_companion.get(); }
    FieldManager *fieldManager() const { return m_fieldManager.get(); }

    // Creates the field manager and attaches it to the screen's controls.
    void startFieldManager(QWidget *screen, const QString &screenName, const QObjectList &controls);
    // Tells the field manager which record is on screen (after every load and new record).
    void loadFieldManagerRecord(QWidget *screen, const QString &screenName, const QObjectList &controls);

    // On an element list: the global element of a list's record id, through the element clients.
    qint32 resolveGlobalElement(qint32 recordId) const;
    // Creates the companion object anew and loads it; false when there is no such element.
    bool loadCompanion(qint32 elementId);

    // A new group object, opened on the session's server; the old one is unbound and released.
    ElementGroupObject &renewGroup();
    // Loads the group into a new group object. Errors pass to the caller.
    LoadResult loadGroup(qint32 groupId);
    // Removes every binding of the group object on screen (before the screen is cleared).
    void unbindGroup();

    // The group's own fields, its children or the removal of a child changed.
    bool recordChanged() const;
    // recordChanged(), or anything the field manager watches.
    bool anythingChanged() const;

    // Releases everything, ignoring errors (the screen is going away).
    void releaseAll();

private:
    void releaseGroup();
    void releaseCompanion();
    template <typename T> std::unique_ptr<T> openNew(const QString &className) const;

    DetailsState &m_state;
    std::unique_ptr<ElementGroupObject> m_group;
    std::unique_ptr<RecordObject> m_companion;
    std::unique_ptr<FieldManager> m_fieldManager;
};

} // namespace talv::details

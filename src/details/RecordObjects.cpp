#include "RecordObjects.h"

#include "contracts/AppManager.h"
#include "contracts/ClassRegistry.h"
#include "contracts/ComponentCollection.h"
#include "contracts/ElementGroupObject.h"
#include "contracts/FieldManager.h"
#include "contracts/Names.h"
#include "platform/Error.h"

namespace talv::details {

RecordObjects::RecordObjects(DetailsState &state) : m_state(state)
{}

RecordObjects::~RecordObjects()
{
    releaseAll();
}

template <typename T> std::unique_ptr<T> RecordObjects::openNew(const QString &className) const
{
    std::unique_ptr<T> object(ClassRegistry::instance().CreateAs<T>(className));
    if (!object->Open(m_state.serverName, m_state.serverType))
        throw Error(Error::Database, QStringLiteral("The server %1 is not open.").arg(m_state.serverName));
    return object;
}

void RecordObjects::startFieldManager(QWidget *screen, const QString &screenName, const QObjectList &controls)
{
    m_fieldManager.reset(ClassRegistry::instance().CreateAs<FieldManager>(names::FieldManagerClass));
    m_fieldManager->Init(m_state.userId, m_state.appManager);
    m_fieldManager->Attach(screen, screenName, controls, QVariant());
}

void RecordObjects::loadFieldManagerRecord(QWidget *screen, const QString &screenName, const QObjectList &controls)
{
    if (m_fieldManager)
        m_fieldManager->LoadRecord(screen, screenName, controls, m_state.currentRecordId);
}

qint32 RecordObjects::resolveGlobalElement(qint32 recordId) const
{
    const auto tracking = openNew<RecordObject>(names::ElementTrackingClass);
    const auto global = openNew<RecordObject>(names::ElementGlobalClass);
    if (tracking->LoadByID(recordId)) {
        if (global->LoadByID(tracking->property(QStringLiteral("ElementGlobalID")).toInt()))
            return global->ID();
    } else if (global->LoadByID(recordId)) {
        return global->ID();
    }
    return recordId;
}

bool RecordObjects::loadCompanion(qint32 elementId)
{
    releaseCompanion();
    m_companion = openNew<RecordObject>(names::ElementGlobalClass);
    return m_companion->LoadByID(elementId);
}

ElementGroupObject &RecordObjects::renewGroup()
{
    releaseGroup();
    m_group = openNew<ElementGroupObject>(names::ElementGroupClass);
    return *m_group;
}

RecordObjects::LoadResult RecordObjects::loadGroup(qint32 groupId)
{
    return renewGroup().LoadByID(groupId) ? LoadResult::Loaded : LoadResult::NotFound;
}

void RecordObjects::unbindGroup()
{
    if (m_group)
        m_group->Unbind(QString());
}

bool RecordObjects::recordChanged() const
{
    if (!m_group)
        return false;
    return m_group->IsChanged() || m_group->IsNew() || m_state.childrenRemoved || m_group->Members().AnyChanged() ||
           m_group->References().AnyChanged();
}

bool RecordObjects::anythingChanged() const
{
    return recordChanged() || (m_fieldManager && m_fieldManager->IsDirty());
}

void RecordObjects::releaseGroup()
{
    if (!m_group)
        return;
    try {
        m_group->Unbind(QString());
        m_group->Close();
    } catch (...) {
        // A group that cannot be closed is released all the same.
    }
    m_group.reset();
}

void RecordObjects::releaseCompanion()
{
    if (!m_companion)
        return;
    try {
        m_companion->Close();
    } catch (...) {
    }
    m_companion.reset();
}

void RecordObjects::releaseAll()
{
    releaseGroup();
    releaseCompanion();
    m_fieldManager.reset();
}

} // namespace talv::details

#include "RecordWriter.h"

#include "RecordForm.h"
#include "RecordNavigator.h"
#include "RecordObjects.h"
#include "WaitPanel.h"

#include "contracts/AppManager.h"
#include "contracts/ElementGroupObject.h"
#include "contracts/FieldManager.h"
#include "platform/BusyCursor.h"
#include "platform/Error.h"
#include "platform/FailureReport.h"

namespace talv::details {

namespace {

const FailureText SaveFailure{QStringLiteral("Unable to save record: "), QStringLiteral("Record Error"),
                              MsgIcon::Exclamation};
const FailureText NewFailure{QStringLiteral("Unable to create new record: "), {}, MsgIcon::Exclamation};
const FailureText DeleteFailure{QStringLiteral("Unable to delete record.\n"), {}, MsgIcon::Exclamation};

QString quoted(QString text)
{
    return text.replace(QLatin1Char('\''), QStringLiteral("''"));
}

} // namespace

RecordWriter::RecordWriter(DetailsState &state, RecordObjects &objects, RecordForm &form, RecordNavigator &navigator,
                           WaitPanel &wait, Screen screen)
    : m_state(state), m_objects(objects), m_form(form), m_navigator(navigator), m_wait(wait),
      m_screen(std::move(screen))
{}

bool RecordWriter::savePrompt()
{
    if (!m_objects.anythingChanged())
        return true;
    const int answer = m_state.appManager->Message(QStringLiteral("EGP004"));
    if (answer == Answer::Cancel)
        return false;
    if (answer == Answer::Yes)
        return save();
    return true;
}

bool RecordWriter::nameIsUnique()
{
    ElementGroupObject &group = *m_objects.group();
    const QString sql =
        QStringLiteral("SELECT ELEMENT_GROUP_ID FROM ELEMENT_GROUP WHERE Upper(ELEMENT_GROUP_NAME) = '") +
        quoted(group.property(QStringLiteral("ElementGroupName")).toString().toUpper()) +
        QStringLiteral("' AND NOT ELEMENT_GROUP_ID = ") + QString::number(group.ID());
    return m_state.appManager->CallGetQueryRSXML(sql)->RecordCount() == 0;
}

bool RecordWriter::refusedByValidation()
{
    const std::pair<RecordForm::Field, const char *> rules[] = {
        {RecordForm::Field::GroupName, "EGP005"},
        {RecordForm::Field::GroupType, "EGP006"},
        {RecordForm::Field::MemberType, "EGP007"},
    };
    for (const auto &[field, message] : rules) {
        if (m_form.fieldText(field).isEmpty()) {
            m_state.appManager->Message(QString::fromLatin1(message));
            m_form.focusField(field);
            return true;
        }
    }
    return false;
}

bool RecordWriter::save()
{
    WaitScope wait(m_wait, WaitPanel::Saving);
    BusyCursor busy;
    bool result = false;
    bool reload = false;
    runReported(SaveFailure, [&] {
        if (m_objects.anythingChanged()) {
            if (!nameIsUnique()) {
                m_state.appManager->Message(QStringLiteral("EGP010"));
                return;
            }
            ElementGroupObject &group = *m_objects.group();
            group.setProperty(QStringLiteral("RecLastModUser"), m_state.userName);
            if (refusedByValidation())
                return;
            const Outcome outcome = writeGroup();
            if (outcome != Outcome::Written) {
                // Nothing was written: every edit stays on screen, unless the user asked for theirs.
                reload = outcome == Outcome::Reload;
                return;
            }
            result = true;
            if (!m_state.closeWithoutAsking)
                group.Refresh();
            m_form.setNewRecordShown(false);
            keepListsInStep();
        }
        FieldManager *fields = m_objects.fieldManager();
        if (fields && fields->IsDirty() && result) {
            if (fields->SaveRecord(m_screen.screenWidget, m_screen.screenName, m_screen.controls(),
                                   m_state.currentRecordId))
                fields->AcceptChanges();
            else
                result = false;
        }
        if (result)
            m_state.childrenRemoved = false;
    });
    if (reload)
        m_screen.showRecord();
    return result;
}

// The group object raises WriteConflict when another user saved the group since it was loaded;
// the user decides whose version stays.
RecordWriter::Outcome RecordWriter::writeGroup()
{
    ElementGroupObject &group = *m_objects.group();
    for (;;) {
        try {
            group.Save();
            return Outcome::Written;
        } catch (const Error &e) {
            if (e.number() != ElementGroupObject::WriteConflict)
                throw;
            const int answer = UiServices::current().messageBox(
                e.description() + QStringLiteral("\n\nYour changes are still on screen.\n"
                                                 "Yes: save your version over theirs.\n"
                                                 "No: show the group as they saved it (your changes are dropped).\n"
                                                 "Cancel: go on editing without saving."),
                MsgButtons::YesNoCancel, MsgIcon::Exclamation, QStringLiteral("Group Changed by Another User"));
            if (answer == Answer::Yes) {
                group.OverwriteOnNextSave();
                continue;
            }
            return answer == Answer::No ? Outcome::Reload : Outcome::Kept;
        }
    }
}

void RecordWriter::keepListsInStep()
{
    const qint32 id = m_state.listGroupId;
    if (m_state.currentListIsWorkingList() || m_state.closeWithoutAsking) {
        emit UpdateList(id);
    } else {
        Recordset &list = *m_state.currentList;
        const QString criterion = QStringLiteral("ID=") + QString::number(id);
        bool listed = false;
        if (list.RecordCount() > 0) {
            list.MoveFirst();
            list.Find(criterion);
            listed = !list.IsEOF();
        }
        if (!listed) {
            list.AddNew();
            list.SetValue(QStringLiteral("ID"), id);
            list.SetValue(QStringLiteral("GroupName"),
                          m_objects.group()->property(QStringLiteral("ElementGroupName")).toString());
            list.SetValue(QStringLiteral("GroupType"), m_form.fieldText(RecordForm::Field::GroupType));
            list.Update();
        }
        if (m_state.workingList && m_state.workingList->RecordCount() > 0) {
            m_state.workingList->MoveFirst();
            m_state.workingList->Find(criterion);
            if (!m_state.workingList->IsEOF())
                emit UpdateList(id);
        }
    }
    if (!m_state.closeWithoutAsking)
        m_screen.refreshChildren();
}

void RecordWriter::beginNewGroup()
{
    ElementGroupObject &group = m_objects.renewGroup();
    group.NewRecord(false, QVariant());
    group.setProperty(QStringLiteral("RecCreateUser"), m_state.userName);
    group.setProperty(QStringLiteral("RecLastModUser"), m_state.userName);
    group.setProperty(QStringLiteral("OrgUnitID"), m_state.appManager->GetSystemOrgUnitID());
    m_state.listGroupId = m_state.currentRecordId = group.ID();
}

void RecordWriter::showNewRecordCounters()
{
    if (m_state.currentList) {
        const QString next = QString::number(m_state.currentList->RecordCount() + 1);
        m_navigator.setPosition(next, next);
    }
}

qint32 RecordWriter::newData()
{
    BusyCursor busy;
    WaitScope wait(m_wait, WaitPanel::PleaseWait);
    m_state.displaySuppressed = true;
    // Another record may be on screen: its fields must not linger on the tabs not yet shown.
    m_screen.clearScreen();
    beginNewGroup();
    m_screen.fillFirstTab();
    m_screen.loadFieldManagerRecord();
    showNewRecordCounters();
    m_navigator.updatePositionDisplay();
    m_form.setNewRecordShown(true);
    return m_objects.group()->ID();
}

void RecordWriter::fileNew()
{
    if (!savePrompt())
        return;
    BusyCursor busy;
    WaitScope wait(m_wait, WaitPanel::PleaseWait);
    runReported(NewFailure, [&] {
        m_screen.clearScreen();
        beginNewGroup();
        m_form.setNewRecordShown(true);
        showNewRecordCounters();
        m_screen.fillFirstTab();
        m_navigator.updatePositionDisplay();
        m_screen.loadFieldManagerRecord();
    });
}

void RecordWriter::deleteRecord()
{
    if (m_state.appManager->Message(QStringLiteral("EGP002")) != Answer::Yes)
        return;
    BusyCursor busy;
    WaitScope wait(m_wait, WaitPanel::Deleting);
    runReported(DeleteFailure, [&] {
        if (!m_state.groupList) {
            const RecordObject *companion = m_objects.companion();
            if (!m_state.appManager->CheckPermission(companion ? companion->PermissionValue() : QVariant())) {
                m_state.closeWithoutAsking = false;
                return;
            }
        }
        if (!m_state.appManager->Delete(QStringLiteral("delete_table_data"), m_state.listGroupId, m_state.userName,
                                        QStringLiteral("ELEMENT_GROUP")))
            return;
        if (m_state.groupList)
            emit RemoveItem(m_state.listGroupId);
        if (!m_state.currentList)
            return;
        if (!m_state.currentListIsWorkingList())
            m_state.currentList->Delete();
        if (m_state.currentList->RecordCount() == 0) {
            emit Quit();
            return;
        }
        m_navigator.showRowAfterRemoval();
    });
}

} // namespace talv::details

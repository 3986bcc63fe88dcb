#include "ELGroupDetails.h"

#include "ChildListEditor.h"
#include "RecordForm.h"
#include "RecordNavigator.h"
#include "RecordObjects.h"
#include "RecordWriter.h"
#include "RelatedScreens.h"
#include "TextFieldSetup.h"
#include "WaitPanel.h"

#include "contracts/AppManager.h"
#include "contracts/ClassRegistry.h"
#include "contracts/ComponentCollection.h"
#include "contracts/ElementGroupObject.h"
#include "contracts/Names.h"
#include "contracts/ViewCollection.h"
#include "contracts/WinMan.h"
#include "platform/BusyCursor.h"
#include "platform/Error.h"
#include "platform/FailureReport.h"
#include "platform/FocusedField.h"

#include <QAction>
#include <QApplication>

namespace talv::details {

namespace {

const FailureText ChangeFailure{QStringLiteral("Unable to change to record: "), QStringLiteral("Record Error"),
                                MsgIcon::Exclamation};

} // namespace

ELGroupDetails::ELGroupDetails(QWidget *parent)
    : QWidget(parent), m_objects(std::make_unique<RecordObjects>(m_state)),
      m_textFields(std::make_unique<TextFieldSetup>(m_state))
{
    buildFrame();
    connectParts();
}

ELGroupDetails::~ELGroupDetails()
{
    // Bindings point at the fields: the business objects go before the widgets.
    m_objects->releaseAll();
}

void ELGroupDetails::connectParts()
{
    RecordWriter::Screen screen;
    screen.clearScreen = [this] { clearScreen(); };
    screen.fillFirstTab = [this] { fillFirstTab(); };
    screen.refreshChildren = [this] { refreshChildren(); };
    screen.loadFieldManagerRecord = [this] { m_objects->loadFieldManagerRecord(this, objectName(), namedControls()); };
    screen.showRecord = [this] { showRecord(); };
    screen.screenWidget = this;
    screen.screenName = objectName();
    screen.controls = [this] { return namedControls(); };
    m_writer = new RecordWriter(m_state, *m_objects, *m_form, *m_navigator, *m_wait, std::move(screen));
    m_writer->setParent(this);
    connect(m_writer, &RecordWriter::UpdateList, this, &ELGroupDetails::UpdateList);
    connect(m_writer, &RecordWriter::RemoveItem, this, &ELGroupDetails::RemoveItem);
    connect(m_writer, &RecordWriter::Quit, this, &ELGroupDetails::Quit);
    m_related = new RelatedScreens(m_state, *m_objects, *m_writer, *m_navigator, *m_form, *m_wait, this);
    connect(m_related, &RelatedScreens::UpdateList, this, &ELGroupDetails::UpdateList);
    connect(m_form, &RecordForm::tabShown, this, &ELGroupDetails::onTabShown);
}

ElementGroupObject *ELGroupDetails::group() const
{
    return m_objects->group();
}

QWidget *ELGroupDetails::ActiveControl() const
{
    QWidget *focused = focusWidget();
    return focused && isAncestorOf(focused) ? focused : nullptr;
}

void ELGroupDetails::readSession(AppManager *appManager)
{
    if (!appManager)
        throw Error(Error::InvalidArgument, QStringLiteral("no application manager was given"));
    m_state.appManager = appManager;
    m_state.serverName = appManager->GetServerName();
    m_state.serverType = appManager->GetServerType();
    m_state.userId = appManager->GetUserID();
    m_state.userName = appManager->GetUserName();
}

void ELGroupDetails::startFieldManagerAndSecurity()
{
    m_objects->startFieldManager(this, objectName(), namedControls());
    m_state.appManager->ApplySecurity(this, QVariant(), objectName(), namedControls());
}

void ELGroupDetails::InitDetails(const RecordsetPtr &rsView, AppManager *objAppManager, qint32 /*lngViewID*/,
                                 WinMan *objWinMan, ViewCollection *colViews, const QString & /*strExtraInfo*/)
{
    const bool started = runReported(unableTo(QStringLiteral("start the record screen")), [&] {
        m_state.workingList = m_state.currentList = rsView;
        readSession(objAppManager);
        m_state.winMan = objWinMan;
        m_state.views = colViews;
        startFieldManagerAndSecurity();
        m_state.clearTabsLoaded();
    });
    // A screen that could not start asks to be closed as soon as it is shown.
    m_state.loadFailed = !started;
}

void ELGroupDetails::InitModalDetails(AppManager *objAppManager, const QString & /*strExtraInfo*/)
{
    const bool started = runReported(unableTo(QStringLiteral("start the record screen")), [&] {
        m_state.displaySuppressed = false;
        m_state.workingList.reset();
        m_state.currentList.reset();
        m_state.winMan = nullptr;
        readSession(objAppManager);
        m_state.views = &objAppManager->ViewManager().colViews();
        m_state.modal = true;
        startFieldManagerAndSecurity();
        ApplyRichText({this}, names::DetailsClass, namedControls());
        applyModalRule(true);
    });
    m_state.loadFailed = !started;
}

void ELGroupDetails::LoadData(qint32 lngRecordID)
{
    BusyCursor busy;
    const bool shown = runReported(unableTo(QStringLiteral("show the record")), [&] {
        m_state.currentRecordId = lngRecordID;
        const QString listType = m_navigator->workingListType();
        m_state.groupList = listType != names::view::ElementTracking && listType != names::view::Elements;
        if (m_state.groupList) {
            m_state.listGroupId = lngRecordID;
        } else {
            m_state.currentRecordId = m_objects->resolveGlobalElement(lngRecordID);
            if (!m_objects->loadCompanion(m_state.currentRecordId)) {
                m_state.appManager->Message(QStringLiteral("EGP003"));
                throw std::logic_error("element not found"); // told the user already
            }
            m_state.elementId = m_state.currentRecordId;
        }
        m_navigator->buildCurrentList();
        m_navigator->placeOnListGroup();
        if (!loadListGroup())
            throw std::logic_error("group not shown"); // told the user already
        m_form->selectFirstTab();
        if (!m_state.displaySuppressed) {
            fillFirstTab();
            m_navigator->updatePositionDisplay();
        }
        m_objects->loadFieldManagerRecord(this, objectName(), namedControls());
    });
    m_state.loadFailed = !shown;
}

bool ELGroupDetails::loadListGroup()
{
    try {
        if (m_objects->loadGroup(m_state.listGroupId) == RecordObjects::LoadResult::Loaded) {
            m_state.displaySuppressed = false;
            return true;
        }
    } catch (const std::exception &) {
        m_state.appManager->Message(QStringLiteral("EGP008"));
        m_state.displaySuppressed = false;
        return false;
    }
    if (m_state.groupList) {
        // A group that is gone from a group list shows as an empty new record.
        NewData(m_state.listGroupId);
        return true;
    }
    DisplayMessage(QStringLiteral("EGP011"), QStringLiteral("Element Group"));
    return false;
}

void ELGroupDetails::showRecord()
{
    runReported(ChangeFailure, [&] {
        BusyCursor busy;
        clearScreen();
        if (!loadListGroup())
            return;
        m_form->selectFirstTab();
        if (!m_state.displaySuppressed) {
            fillFirstTab();
            m_navigator->updatePositionDisplay();
        }
        m_objects->loadFieldManagerRecord(this, objectName(), namedControls());
    });
}

void ELGroupDetails::clearScreen()
{
    // Bindings first: emptying a bound field would write into the group.
    m_objects->unbindGroup();
    m_form->clear();
    m_members->clear();
    m_references->clear();
    m_state.clearTabsLoaded();
}

void ELGroupDetails::fillFirstTab()
{
    ElementGroupObject &group = *m_objects->group();
    BusyCursor busy;
    WaitScope wait(*m_wait, WaitPanel::Loading);
    m_form->bindFirstTab(group);
    m_members->load();
    m_form->refreshCaptionAndSummary(group, *m_state.appManager);
    m_state.tabLoaded[RecordForm::Identifiers] = true;
}

void ELGroupDetails::onTabShown(int tab)
{
    if (m_inTabChange)
        return;
    m_inTabChange = true;
    ElementGroupObject *group = m_objects->group();
    if (group && tab > RecordForm::Identifiers && tab < DetailsState::TabCount && !m_state.tabLoaded[size_t(tab)]) {
        runReported(unableTo(QStringLiteral("show the tab")), [&] {
            BusyCursor busy;
            WaitScope wait(*m_wait, WaitPanel::Loading);
            if (tab == RecordForm::References)
                m_references->load();
            else
                m_form->bindCommentTab(tab, *group);
            m_state.tabLoaded[size_t(tab)] = true;
        });
    }
    if (RecordObject *companion = m_objects->companion()) {
        try {
            companion->TabChanged(0);
        } catch (...) {
            // The companion's interest in tabs is its own affair.
        }
    }
    m_inTabChange = false;
}

void ELGroupDetails::refreshChildren()
{
    ElementGroupObject &group = *m_objects->group();
    group.Members().RefreshAll();
    group.References().RefreshAll();
}

qint32 ELGroupDetails::NewData(qint32 /*lngIDLocal*/)
{
    qint32 id = 0;
    runReported(unableTo(QStringLiteral("create new record")), [&] { id = m_writer->newData(); });
    return id;
}

qint32 ELGroupDetails::GetID() const
{
    return m_state.currentRecordId;
}

void ELGroupDetails::saveFromMenu()
{
    m_writer->save();
    if (ElementGroupObject *group = m_objects->group())
        runReported(unableTo(QStringLiteral("show the saved record")),
                    [&] { m_form->refreshCaptionAndSummary(*group, *m_state.appManager); });
}

bool ELGroupDetails::CanClose()
{
    bool answer = false;
    runReported(unableTo(QStringLiteral("close the record")), [&] {
        if (m_state.loadFailed) {
            m_state.closing = true;
            answer = true;
            return;
        }
        if (m_state.appManager->GetControlAccess(objectName(), QStringLiteral("mnuFileSave")) != QLatin1String("F")) {
            answer = true;
            return;
        }
        m_state.closing = true;
        const bool withoutAsking = std::exchange(m_state.closeWithoutAsking, false);
        if (withoutAsking || !m_objects->anythingChanged()) {
            answer = true;
            return;
        }
        const int reply = m_state.appManager->Message(QStringLiteral("EGP004"));
        if (reply == Answer::Cancel) {
            m_state.closing = false;
            answer = false;
        } else {
            answer = reply != Answer::Yes || m_writer->save();
        }
    });
    m_form->setClosing(m_state.closing);
    return answer;
}

bool ELGroupDetails::promptBeforeMove()
{
    const bool mayGo = CanClose();
    // The screen stays open: name edits update the caption again.
    m_state.closing = false;
    m_form->setClosing(false);
    return mayGo;
}

void ELGroupDetails::Deactivate()
{
    m_objects->releaseAll();
}

void ELGroupDetails::NotifyListChanges(const QString & /*strEvent*/)
{
    runReported(ChangeFailure, [&] { m_navigator->notifyListChanges(); });
}

int ELGroupDetails::DisplayMessage(const QString &strMessageID, const QString &strArg1)
{
    return DisplayMessage(strMessageID, strArg1, QString(), QString());
}

int ELGroupDetails::DisplayMessage(const QString &strMessageID, const QString &strArg1, const QString &strArg2)
{
    return DisplayMessage(strMessageID, strArg1, strArg2, QString());
}

int ELGroupDetails::DisplayMessage(const QString &strMessageID, const QString &strArg1, const QString &strArg2,
                                   const QString &strArg3)
{
    int answer = 0;
    runReported(unableTo(QStringLiteral("show the message")), [&] {
        QStringList arguments{strArg1};
        for (const QString &more : {strArg2, strArg3})
            if (!more.isEmpty())
                arguments.append(more);
        answer = m_state.appManager->Message(strMessageID, arguments);
    });
    return answer;
}

void ELGroupDetails::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_state.loadFailed)
        emit Quit();
}

void RegisterDetailsScreen()
{
    ClassRegistry::instance().RegisterWidget<ELGroupDetails>(names::DetailsClass);
}

void UnregisterDetailsScreen()
{
    ClassRegistry::instance().Unregister(names::DetailsClass);
}

} // namespace talv::details

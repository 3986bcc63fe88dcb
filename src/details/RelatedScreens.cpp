#include "RelatedScreens.h"

#include "RecordForm.h"
#include "RecordNavigator.h"
#include "RecordObjects.h"
#include "RecordWriter.h"
#include "WaitPanel.h"

#include "contracts/AppManager.h"
#include "contracts/ElementGroupObject.h"
#include "contracts/Names.h"
#include "contracts/ViewCollection.h"
#include "contracts/WinMan.h"
#include "dialogs/frmAuditLog.h"
#include "dialogs/frmModalSearch.h"
#include "platform/BusyCursor.h"
#include "platform/Error.h"
#include "platform/FailureReport.h"
#include "platform/UiServices.h"
#include "platform/XmlHelper.h"

#include <QWidget>

#include <memory>

namespace talv::details {

namespace {

const QString AuditedTable = QStringLiteral("ELEMENT_GROUP");
const QString CopyOperation = QStringLiteral("COPY_EL_GROUPS");
const QString EmptyGroupList = QStringLiteral("Select * from ELGROUP_WL_VW WHERE 1=0");

} // namespace

const QString RelatedScreens::ElementManagementCaption = QStringLiteral("ELEMENT MANAGEMENT...");
const QString RelatedScreens::EoSpecsCaption = QStringLiteral("EO SPECS...");
const QString RelatedScreens::EoRankSpecsCaption = QStringLiteral("EO RANK SPECS...");
const QString RelatedScreens::ElementTrackingCaption = QStringLiteral("Element Global Tracking (EGT)...");
const QString RelatedScreens::ReferencesCaption = QStringLiteral("References...");

RelatedScreens::RelatedScreens(DetailsState &state, RecordObjects &objects, RecordWriter &writer,
                               RecordNavigator &navigator, RecordForm &form, WaitPanel &wait, QWidget *screen)
    : QObject(screen), m_state(state), m_objects(objects), m_writer(writer), m_navigator(navigator), m_form(form),
      m_wait(wait), m_screen(screen)
{}

QWidget *RelatedScreens::holder() const
{
    return containingWindow(m_screen);
}

void RelatedScreens::openThroughWindowManager(const QString &targetCode, const QString &caption)
{
    runReported(unableTo(QStringLiteral("open the screen")), [&] {
        if (!m_state.winMan || !m_state.views)
            throw Error(Error::InvalidArgument, QStringLiteral("There is no window manager to open the screen in."));
        const qint32 own = FindViewIndex(*m_state.views, names::view::ElementGroups);
        const qint32 target = FindViewIndex(*m_state.views, targetCode);
        m_state.winMan->OpenDetails(own, target, m_state.listGroupId, caption);
    });
}

void RelatedScreens::elementManagement()
{
    openThroughWindowManager(names::view::ElementManagement, ElementManagementCaption);
}

void RelatedScreens::eoSpecs()
{
    openThroughWindowManager(names::view::EoSpecs, EoSpecsCaption);
}

void RelatedScreens::eoRankSpecs()
{
    openThroughWindowManager(names::view::EoRankSpecs, EoRankSpecsCaption);
}

void RelatedScreens::openRelatedDetail(const QString &targetCode, const QString &caption, const QString &what)
{
    AppManager *host = m_state.appManager;
    runReported(
        [&] {
            qint32 recordId = m_state.currentRecordId;
            if (!host->OpenRelatedDetail(names::view::ElementGroups, targetCode, caption, recordId))
                host->Message(QStringLiteral("EGP011"), {what});
        },
        [&](const QString &) { host->Message(QStringLiteral("MGA013"), {what}); });
}

void RelatedScreens::elementGlobalTracking()
{
    openRelatedDetail(names::view::ElementTracking, ElementTrackingCaption, QStringLiteral("Global Element"));
}

void RelatedScreens::references()
{
    openRelatedDetail(names::view::References, ReferencesCaption, QStringLiteral("Reference"));
}

void RelatedScreens::showAuditTrail(const QString &caption, const QString &columnName)
{
    BusyCursor busy;
    QWidget *window = holder();
    frmAuditLog log(m_screen->window());
    log.setWindowTitle(caption);
    log.setWindowIcon(window->windowIcon());
    log.LoadAuditData(AuditedTable, m_state.listGroupId, m_state.appManager, columnName);
    busy.release();
    UiServices::current().execModal(log);
}

void RelatedScreens::recordMaintenance()
{
    runReported(unableTo(QStringLiteral("show the audit trail")),
                [&] { showAuditTrail(QStringLiteral("Record Maintenance - ") + holder()->windowTitle(), {}); });
}

QString RelatedScreens::auditedColumn(const QString &componentPropertiesXml, const QString &tag)
{
    if (tag.isEmpty())
        return {};
    const QDomDocument document = XmlHelper::load(componentPropertiesXml);
    QDomNode node;
    try {
        node = XmlHelper::selectSingleNode(document, QStringLiteral("TALV/COMPONENT_PROPERTIES/") + tag);
    } catch (const Error &) {
        return {}; // a tag that is no element name names no entry
    }
    if (node.isNull() || node.firstChild().isNull())
        return {};
    const QString entry = XmlHelper::text(node.firstChild());
    const qsizetype dot = entry.indexOf(QLatin1Char('.'));
    return dot < 0 ? entry : entry.mid(dot + 1);
}

QString RelatedScreens::focusedTag() const
{
    QWidget *focused = m_screen->focusWidget();
    // The focus may sit in a part of a field (a combo box's line edit): the field carries the tag.
    for (QWidget *up = focused; up && up != m_screen && m_screen->isAncestorOf(up); up = up->parentWidget()) {
        const QVariant tag = up->property("Tag");
        if (tag.isValid())
            return tag.toString();
    }
    return {};
}

void RelatedScreens::attributeMaintenance()
{
    runReported(unableTo(QStringLiteral("show the audit trail")), [&] {
        BusyCursor busy;
        ElementGroupObject *group = m_objects.group();
        if (!group)
            throw Error(Error::InvalidArgument, QStringLiteral("No element group is on screen."));
        const QString column = auditedColumn(group->ComponentPropertiesXml(), focusedTag());
        if (column.isEmpty()) {
            busy.release();
            m_state.appManager->Message(QStringLiteral("APP001"));
            return;
        }
        busy.release();
        showAuditTrail(QStringLiteral("Attribute Maintenance - ") + holder()->windowTitle() + QStringLiteral(" (") +
                           column + QLatin1Char(')'),
                       column);
    });
}

void RelatedScreens::find()
{
    runReported(unableTo(QStringLiteral("find element groups")), [&] {
        if (!m_writer.savePrompt())
            return;
        BusyCursor busy;
        RecordsetPtr selection = m_state.appManager->CallGetQueryRSXML(EmptyGroupList);
        QWidget *window = holder();
        frmModalSearch search(m_screen->window());
        search.setWindowIcon(window->windowIcon());
        search.setWindowTitle(QStringLiteral("Element Group Search - ") + window->windowTitle());
        if (!search.InitDialog(names::SearchClass, m_state.appManager, selection, QString()))
            return;
        search.UseSelectedRecordset(true);
        busy.release();
        UiServices::current().execModal(search);
        if (!selection || selection->RecordCount() < 1)
            return;
        m_state.currentList = selection;
        // The prompt was answered already: the move must not ask again.
        m_state.closeWithoutAsking = true;
        m_navigator.goToPosition(QStringLiteral("1"));
        m_state.closeWithoutAsking = false;
        m_navigator.updatePositionDisplay();
        m_form.setNewRecordShown(false);
    });
}

void RelatedScreens::copyDataFrom()
{
    AppManager *host = m_state.appManager;
    runReported(
        [&] {
            if (m_objects.anythingChanged()) {
                if (host->Message(QStringLiteral("APP029")) != Answer::OK || !m_writer.save()) {
                    host->Message(QStringLiteral("APP028"));
                    return;
                }
            }
            auto picked = std::make_shared<QStringList>();
            {
                QWidget *window = holder();
                frmModalSearch search(m_screen->window());
                search.setWindowIcon(window->windowIcon());
                RecordsetPtr noSelection;
                if (!search.InitDialog(names::SearchClass, host, noSelection, QString()))
                    return;
                QVariant items = QVariant::fromValue(picked);
                search.SetSelectedItems(items);
                UiServices::current().execModal(search);
            }
            if (picked->isEmpty() || host->Message(QStringLiteral("APP027")) != Answer::Yes)
                return;
            BusyCursor busy;
            WaitScope wait(m_wait, WaitPanel::Copying);
            // Only the first pick is copied: a group takes one other group's data.
            if (host->Copy(CopyOperation, picked->first(), m_state.listGroupId, m_state.userName)) {
                m_navigator.goToPosition(m_navigator.positionText());
                emit UpdateList(m_state.listGroupId);
            }
        },
        [&](const QString &description) { host->Message(QStringLiteral("APP036"), {description}); });
}

} // namespace talv::details

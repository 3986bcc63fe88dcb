#include "ELGroupSearch.h"

#include "contracts/AppManager.h"
#include "contracts/ViewCollection.h"
#include "contracts/WinMan.h"
#include "platform/Error.h"
#include "platform/FailureReport.h"
#include "platform/FlexGrid.h"
#include "platform/Twips.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace talv::search {

namespace {

// The screen has one size, width 9750 by height 9900 twips, whatever its window does.
constexpr QSize FixedSizeTwips(9750, 9900);

} // namespace

ELGroupSearch::ELGroupSearch(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ELGroupSearch"));
    buildFrame();
    connectButtons();
    setFixedSize(twips::toPixels(FixedSizeTwips));
}

ELGroupSearch::~ELGroupSearch()
{
    // The grid shares rsResults; let it go first so the set is released with the screen.
    fgResults->Unbind();
    mrsView.reset();
    rsResults.reset();
    objWinMan = nullptr;
    objAppManager = nullptr;
    colViews = nullptr;
    colSelectedItems.reset();
}

QWidget *ELGroupSearch::ActiveControl() const
{
    QWidget *focused = QApplication::focusWidget();
    return focused && isAncestorOf(focused) ? focused : nullptr;
}

void ELGroupSearch::readSession(AppManager *appManager)
{
    if (!appManager)
        throw Error(Error::InvalidArgument, QStringLiteral("no application manager was given"));
    if (QWidget *window = parentWindow())
        window->setWindowTitle(Caption);
    objAppManager = appManager;
    strServerName = objAppManager->GetServerName();
    lngServerType = objAppManager->GetServerType();
    lngUserID = objAppManager->GetUserID();
    strUserName = objAppManager->GetUserName();
}

void ELGroupSearch::applySecurity()
{
    // The host sees the screen's named controls and menu items as one flat list.
    QObjectList controls;
    const QList<QObject *> all = findChildren<QObject *>();
    for (QObject *child : all) {
        if (!child->objectName().isEmpty() && (child->isWidgetType() || qobject_cast<QAction *>(child)))
            controls.append(child);
    }
    objAppManager->ApplySecurity(this, QVariant(), objectName(), controls);
}

void ELGroupSearch::InitSearch(const RecordsetPtr &rsTemp, AppManager *appManager, qint32 viewType, WinMan *winMan,
                               ViewCollection *views, const QString &extraInfo)
{
    runReported(unableTo(QStringLiteral("start the search")), [&] {
        blnModal = false;
        mrsView = rsTemp;
        readSession(appManager);
        strExtraInfo = extraInfo;
        lngViewType = viewType;
        objWinMan = winMan;
        colViews = views;
        applySecurity();
        LoadGroupTypes();
        LoadDefaultProperties();
        if (mnuOptionsSaveDefault->isChecked())
            LoadDefaultCriteria();
        cmdOK->setEnabled(false);
        cmdFindNow->setDefault(true);
        // The user starts typing criteria at once.
        txtGroupID->setFocus();
    });
}

void ELGroupSearch::InitModalSearch(AppManager *appManager)
{
    RecordsetPtr none;
    InitModalSearch(appManager, none, QString());
}

void ELGroupSearch::InitModalSearch(AppManager *appManager, RecordsetPtr &rsTemp)
{
    InitModalSearch(appManager, rsTemp, QString());
}

void ELGroupSearch::InitModalSearch(AppManager *appManager, RecordsetPtr &rsTemp, const QString &extraInfo)
{
    runReported(unableTo(QStringLiteral("start the search")), [&] {
        blnModal = true;
        readSession(appManager);
        strExtraInfo = extraInfo;
        colViews = &objAppManager->ViewManager().colViews();
        mrsView = rsTemp;
        objWinMan = nullptr;
        cmdOK->setVisible(true);
        cmdOK->setEnabled(false);
        cmdCancel->setVisible(true);
        cmdAddToList->setVisible(false);
        cmdReplaceList->setVisible(false);
        cmdFindNow->setDefault(true);
        applySecurity();
        LoadGroupTypes();
        mnuOptionsSaveDefault->setEnabled(true);
        // A caller with a purpose of its own (a group copy, say) starts from blank criteria.
        if (strExtraInfo.isEmpty()) {
            LoadDefaultProperties();
            if (mnuOptionsSaveDefault->isChecked())
                LoadDefaultCriteria();
        }
        txtGroupID->setFocus();
    });
}

bool ELGroupSearch::CanClose()
{
    runReported(unableTo(QStringLiteral("save the search settings")), [&] {
        if (!strExtraInfo.isEmpty())
            return;
        SaveDefaultProperties();
        if (mnuOptionsSaveDefault->isChecked())
            SaveDefaultCriteria();
    });
    return true;
}

void ELGroupSearch::Deactivate()
{
    // The search keeps nothing that needs letting go before it closes.
}

void ELGroupSearch::SetSingleSelect()
{
    runReported(unableTo(QStringLiteral("switch to single selection")),
                [&] { fgResults->SetSelMode(FlexGrid::SelectMode::Single); });
}

void ELGroupSearch::UseSelectedRecordset(bool useRecordset)
{
    blnUseRecordset = useRecordset;
}

void ELGroupSearch::SetSelectedItems(const SelectedIds &selectedItems)
{
    colSelectedItems = selectedItems;
}

void ELGroupSearch::keyPressEvent(QKeyEvent *event)
{
    // An embedded widget has no dialog to press its default button or answer Escape for it.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (cmdFindNow->isEnabled() && cmdFindNow->isVisible()) {
            cmdFindNow->click();
            event->accept();
            return;
        }
        break;
    case Qt::Key_Escape:
        if (cmdCancel->isEnabled() && cmdCancel->isVisible()) {
            cmdCancel->click();
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

} // namespace talv::search

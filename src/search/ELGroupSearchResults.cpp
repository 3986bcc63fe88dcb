// The results grid and the commands that act on its rows: the working-list merges, Details, New,
// OK and Cancel.
#include "ELGroupSearch.h"

#include "contracts/AppManager.h"
#include "contracts/HostWindow.h"
#include "contracts/ViewCollection.h"
#include "contracts/WinMan.h"
#include "dialogs/frmModalDetail.h"
#include "platform/BusyCursor.h"
#include "platform/Error.h"
#include "platform/FailureReport.h"
#include "platform/FlexGrid.h"
#include "platform/UiServices.h"
#include "recordset/RS_Functions.h"

#include <QPushButton>

namespace talv::search {

namespace {

const QString NewGroupCaption = QStringLiteral("Element Group...");

// Runs a merge into the working list with the host's main grid paused. Only a merge that
// completes lets the grid paint again.
void withMainGridPaused(const QObject *control, const std::function<void()> &merge)
{
    BusyCursor busy;
    HostWindow *host = findHostWindow(control);
    if (host)
        host->SetMainGridRedraw(false);
    merge();
    if (host)
        host->SetMainGridRedraw(true);
}

} // namespace

void ELGroupSearch::updateOkButton()
{
    runReported(unableTo(QStringLiteral("update the OK button")), [this] {
        cmdOK->setEnabled(fgResults->Row() >= fgResults->FixedRows() || fgResults->SelectedRows() > 0);
    });
}

void ELGroupSearch::onResultsDoubleClick()
{
    if (fgResults->Row() < 1)
        return;
    if (blnModal)
        Confirm();
    else
        AddToList();
}

void ELGroupSearch::SelectAll()
{
    runReported(unableTo(QStringLiteral("select the groups")), [this] {
        if (fgResults->Rows() < 2)
            return;
        BusyCursor busy;
        const int col = qMin(1, fgResults->Cols() - 1);
        fgResults->Select(1, col, fgResults->Rows() - 1, col);
    });
}

void ELGroupSearch::SelectNone()
{
    runReported(unableTo(QStringLiteral("clear the selection")), [this] {
        // The heading cell takes the cursor and holds no row, so nothing stays selected.
        fgResults->Select(0, 0);
        fgResults->SelectNone();
    });
}

void ELGroupSearch::requireList() const
{
    if (!mrsView)
        throw Error(Error::IllegalOperation, QStringLiteral("the search was given no list to change"));
}

bool ELGroupSearch::hasResults() const
{
    // Nothing is searched until Find Now or a stored default: then no row can be selected either.
    return rsResults && fgResults->IsBound();
}

void ELGroupSearch::AddToList()
{
    runReported(unableTo(QStringLiteral("add the groups to the list")), [this] {
        requireList();
        if (hasResults())
            withMainGridPaused(this, [this] { RS_Functions::AddSelectedToList(*fgResults, *rsResults, *mrsView); });
    });
}

void ELGroupSearch::ReplaceList()
{
    runReported(unableTo(QStringLiteral("replace the list")), [this] {
        requireList();
        if (hasResults())
            withMainGridPaused(this,
                               [this] { RS_Functions::ReplaceListWithSelected(*fgResults, *rsResults, *mrsView); });
    });
}

qint32 ELGroupSearch::chosenGroupId() const
{
    // The first selected row; a current row that nobody selected (as after Find Now) stands in.
    const int row = fgResults->SelectedRows() > 0 ? fgResults->SelectedRow(0) : fgResults->Row();
    bool numeric = false;
    const qint32 id = fgResults->TextMatrix(row, 0).toInt(&numeric);
    if (!numeric)
        throw Error(Error::InvalidArgument, QStringLiteral("row %1 holds no group id").arg(row));
    return id;
}

std::unique_ptr<frmModalDetail> ELGroupSearch::openModalDetails()
{
    auto dialog = std::make_unique<frmModalDetail>(this);
    dialog->setWindowIcon(parentWindow()->windowIcon());
    if (!dialog->InitDialog(names::DetailsClass, objAppManager, QString()))
        throw Error(Error::ClassNotRegistered,
                    QStringLiteral("the group record screen (%1) could not be started").arg(names::DetailsClass));
    return dialog;
}

qint32 ELGroupSearch::groupsView() const
{
    if (!colViews)
        throw Error(Error::IllegalOperation, QStringLiteral("the search was given no views"));
    return FindViewIndex(*colViews, names::view::ElementGroups);
}

void ELGroupSearch::OpenDetails()
{
    runReported(unableTo(QStringLiteral("open the group's details")), [this] {
        if (fgResults->Row() < 1 || !hasResults())
            return;
        if (!objWinMan) {
            const std::unique_ptr<frmModalDetail> dialog = openModalDetails();
            dialog->LoadData(chosenGroupId());
            UiServices::current().execModal(*dialog);
            return;
        }
        BusyCursor busy;
        RecordsetPtr oneRow;
        RS_Functions::MakeCurrentRowRecordset(*fgResults, *rsResults, oneRow);
        const qint32 view = groupsView();
        objWinMan->OpenDetails(view, view, chosenGroupId(), names::SingleRecordView, oneRow);
    });
}

void ELGroupSearch::NewGroup()
{
    runReported(unableTo(QStringLiteral("create a new group")), [this] {
        if (!blnModal) {
            if (!objWinMan)
                throw Error(Error::IllegalOperation, QStringLiteral("the search has no window manager"));
            const qint32 view = groupsView();
            objWinMan->NewDetails(view, view, NewGroupCaption);
            emit Quit();
            return;
        }
        const std::unique_ptr<frmModalDetail> dialog = openModalDetails();
        const qint32 newId = dialog->NewData(-1);
        UiServices::current().execModal(*dialog);
        if (newId > 0)
            showNewGroup(newId);
    });
}

void ELGroupSearch::showNewGroup(qint32 newId)
{
    const RecordsetPtr row = objAppManager->CallGetQueryRSXML(NewGroupSql(newId));
    if (!row || row->RecordCount() != 1)
        return;
    row->MoveFirst();
    fgResults->Unbind();
    if (rsResults)
        RS_Functions::MergeRecord(*row, *rsResults);
    else
        RS_Functions::CopyRecordset(*row, rsResults);
    bindResults();
    const int last = fgResults->Rows() - 1;
    fgResults->SetRow(last);
    fgResults->ShowCell(last, qMin(1, fgResults->Cols() - 1));
}

void ELGroupSearch::Confirm()
{
    SelectedItems();
    emit Quit();
}

void ELGroupSearch::CancelSearch()
{
    // Let go of the caller's set without touching it: a cancelled pick changes nothing.
    mrsView.reset();
    emit Quit();
}

void ELGroupSearch::SelectedItems()
{
    runReported(unableTo(QStringLiteral("hand over the selected groups")), [this] {
        if (colSelectedItems) {
            colSelectedItems->clear();
            for (int i = 0; i < fgResults->SelectedRows(); ++i)
                colSelectedItems->append(fgResults->TextMatrix(fgResults->SelectedRow(i), 0));
        }
        if (blnUseRecordset && hasResults()) {
            requireList();
            RS_Functions::ReplaceListWithSelected(*fgResults, *rsResults, *mrsView);
        }
    });
}

} // namespace talv::search

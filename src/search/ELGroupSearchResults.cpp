// The results grid and the commands that act on its rows.
#include "ELGroupSearch.h"

#include "platform/FlexGrid.h"

#include <QPushButton>

namespace talv::search {

void ELGroupSearch::updateOkButton()
{
    guarded(QStringLiteral("update the OK button"),
            [this] { cmdOK->setEnabled(fgResults->Row() >= fgResults->FixedRows() || fgResults->SelectedRows() > 0); });
}

// The commands below are wired to their buttons but act on nothing yet: they wait for the
// working-list merge utilities and the modal hosts.

void ELGroupSearch::onResultsDoubleClick()
{
    // Not built yet: OK in a modal search, Add to List otherwise, on a data row only.
}

void ELGroupSearch::SelectAll()
{
    // Not built yet: selects every data row.
}

void ELGroupSearch::SelectNone()
{
    // Not built yet: leaves no data row selected.
}

void ELGroupSearch::AddToList()
{
    // Not built yet: appends the selected rows missing from mrsView, pausing the host's grid.
}

void ELGroupSearch::ReplaceList()
{
    // Not built yet: mrsView becomes the selected rows, when there are any.
}

void ELGroupSearch::OpenDetails()
{
    // Not built yet: opens the current group through the window manager or a modal details window.
}

void ELGroupSearch::NewGroup()
{
    // Not built yet: a new group through the window manager (then Quit) or a modal details window.
}

void ELGroupSearch::Confirm()
{
    // Not built yet: hands over the selection with SelectedItems, then raises Quit.
}

void ELGroupSearch::CancelSearch()
{
    // Not built yet: releases mrsView, leaving the caller's set untouched, then raises Quit.
}

void ELGroupSearch::SelectedItems()
{
    guarded(QStringLiteral("hand over the selected groups"), [this] {
        if (colSelectedItems) {
            colSelectedItems->clear();
            for (int i = 0; i < fgResults->SelectedRows(); ++i)
                colSelectedItems->append(fgResults->TextMatrix(fgResults->SelectedRow(i), 0));
        }
        // Not built yet: with blnUseRecordset, mrsView becomes exactly the selected rows.
    });
}

} // namespace talv::search

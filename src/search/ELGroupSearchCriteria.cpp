// Criteria, the search statement, Find Now and View SQL.
#include "ELGroupSearch.h"
#include "frmSQL.h"

#include "contracts/AppManager.h"
#include "platform/BusyCursor.h"
#include "platform/Error.h"
#include "platform/FailureReport.h"
#include "platform/FlexGrid.h"
#include "platform/UiServices.h"
#include "recordset/Misc_Functions.h"
#include "recordset/RS_Functions.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace talv::search {

namespace {

const QString RecordsReturned = QStringLiteral("Records Returned:");

} // namespace

void ELGroupSearch::LoadGroupTypes()
{
    const RecordsetPtr types = objAppManager->CallGetQueryRSXML(GroupTypesSql);
    cboElementGroupType->clear();
    if (!types || types->RecordCount() == 0)
        return;
    types->MoveFirst();
    cboElementGroupType->addItem(QString());
    for (; !types->IsEOF(); types->MoveNext())
        cboElementGroupType->addItem(types->Value(QStringLiteral("element_group_type_desc")).toString());
}

void ELGroupSearch::ClearCriteria()
{
    txtGroupID->clear();
    txtGroupName->clear();
    if (cboElementGroupType->count() > 0)
        cboElementGroupType->setCurrentIndex(0);
    cboGroupNameComparison->setCurrentIndex(Contains);

    fgResults->Unbind();
    fgResults->SetRows(1);
    lblRecordsReturned->setText(RecordsReturned);
    if (rsResults && rsResults->State() == Recordset::StateOpen)
        rsResults->Close();
    rsResults.reset();

    const RecordsetPtr empty = objAppManager->CallGetQueryRSXML(EmptyResultsSql);
    RS_Functions::CopyRecordset(*empty, rsResults);
    bindResults();
}

void ELGroupSearch::resetSearch()
{
    strSearchName.clear();
    LoadGroupTypes();
    ClearCriteria();
}

void ELGroupSearch::NewSearch()
{
    runReported(unableTo(QStringLiteral("start a new search")), [this] { resetSearch(); });
}

SearchCriteria ELGroupSearch::criteria() const
{
    return {txtGroupID->text(), txtGroupName->text(), cboGroupNameComparison->currentIndex(),
            cboElementGroupType->currentText()};
}

bool ELGroupSearch::CriteriaEntered() const
{
    return search::CriteriaEntered(criteria());
}

QString ELGroupSearch::BuildSearchSQL()
{
    const SearchCriteria entered = criteria();
    if (!entered.groupId.trimmed().isEmpty() && !IsNumericGroupId(entered.groupId)) {
        objAppManager->Message(QStringLiteral("EGP009"));
        txtGroupID->setFocus();
        txtGroupID->selectAll();
        return {};
    }
    return search::BuildSearchSQL(entered);
}

void ELGroupSearch::bindResults()
{
    fgResults->BindToRecordset(rsResults);
    fgResults->DataRefresh();
    Misc_Functions::FormatGridCaptions(*fgResults);
    // One line per group; the name takes whatever room the id and the type leave, so the grid
    // never needs a horizontal scroll bar.
    fgResults->SetWordWrap(false);
    QHeaderView *header = fgResults->horizontalHeader();
    for (int col = 0; col < fgResults->Cols(); ++col) {
        const QString caption = fgResults->TextMatrix(0, col);
        if (caption == u"Group Name") {
            header->setSectionResizeMode(col, QHeaderView::Stretch);
            continue;
        }
        header->setSectionResizeMode(col, QHeaderView::Interactive);
        fgResults->SetColWidth(col, caption == u"ID" ? 70 : 180);
    }
}

void ELGroupSearch::FindNow()
{
    runReported(FailureText{.prefix = QStringLiteral("Error: ")}, [this] {
        if (!objAppManager)
            throw Error(Error::IllegalOperation, QStringLiteral("the search has not been started by its host"));
        if (!CriteriaEntered() && objAppManager->Message(QStringLiteral("APP043")) == Answer::No)
            return;

        BusyCursor busy;
        fgResults->Unbind();
        lblRecordsReturned->setText(QStringLiteral("Records Returned: Searching..."));
        // Painted now, without running other events: a second click must not start a second search.
        lblRecordsReturned->repaint();

        const QString sql = BuildSearchSQL();
        if (sql.isEmpty())
            return;
        const RecordsetPtr rows = objAppManager->CallGetQueryRSXML(sql);
        RS_Functions::CopyRecordset(*rows, rsResults);
        if (rsResults->State() != Recordset::StateOpen)
            rsResults->Open();
        bindResults();

        lblRecordsReturned->setText(QStringLiteral("Records Returned: ") + QString::number(rsResults->RecordCount()));
        if (rsResults->RecordCount() == 0)
            cmdOK->setEnabled(false);
        else
            fgResults->SetRow(fgResults->FixedRows());
    });
}

void ELGroupSearch::ViewSQL()
{
    runReported(unableTo(QStringLiteral("show the search SQL")), [this] {
        if (!objAppManager)
            throw Error(Error::IllegalOperation, QStringLiteral("the search has not been started by its host"));
        frmSQL dialog(this);
        dialog.setWindowIcon(parentWindow()->windowIcon());
        dialog.txtSQL()->setPlainText(BuildSearchSQL());
        UiServices::current().execModal(dialog);
    });
}

} // namespace talv::search

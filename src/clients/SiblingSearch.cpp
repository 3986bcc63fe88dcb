#include "SiblingSearch.h"

#include "contracts/AppManager.h"
#include "platform/BusyCursor.h"
#include "platform/Error.h"
#include "platform/FailureReport.h"
#include "platform/FlexGrid.h"
#include "platform/Twips.h"
#include "recordset/Misc_Functions.h"
#include "recordset/RS_Functions.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace talv::clients {

namespace {

constexpr QSize FixedSizeTwips(9750, 7800);

QPushButton *button(const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(name);
    return b;
}

} // namespace

SiblingSearch::SiblingSearch(Config config, QWidget *parent) : QWidget(parent), m_config(std::move(config))
{
    setObjectName(m_config.objectName);
    buildFrame();
    setFixedSize(twips::toPixels(FixedSizeTwips));
}

SiblingSearch::~SiblingSearch()
{
    // The grid shares rsResults; let it go first.
    fgResults->Unbind();
}

void SiblingSearch::buildFrame()
{
    auto *criteria = new QGridLayout;
    int row = 0;
    for (const SearchCriterion &criterion : m_config.statement.criteria) {
        auto *field = new QLineEdit;
        field->setObjectName(criterion.objectName);
        auto *caption = new QLabel(criterion.caption);
        caption->setObjectName(QStringLiteral("lbl") + criterion.objectName.mid(3));
        caption->setBuddy(field);
        criteria->addWidget(caption, row, 0);
        criteria->addWidget(field, row++, 1);
        m_criteria << field;
    }
    if (!m_config.kinds.isEmpty()) {
        cboKind = new QComboBox;
        cboKind->setObjectName(QStringLiteral("cboKind"));
        // The blank first entry stands for every kind.
        cboKind->addItem(QString());
        cboKind->addItems(m_config.kinds);
        auto *caption = new QLabel(m_config.kindCaption);
        caption->setObjectName(QStringLiteral("lblKind"));
        caption->setBuddy(cboKind);
        criteria->addWidget(caption, row, 0);
        criteria->addWidget(cboKind, row++, 1);
    }

    cmdFindNow = button(QStringLiteral("cmdFindNow"), QStringLiteral("F&ind Now"));
    cmdFindNow->setDefault(true);
    auto *top = new QHBoxLayout;
    top->addLayout(criteria, 1);
    auto *searchButtons = new QVBoxLayout;
    searchButtons->addWidget(cmdFindNow);
    searchButtons->addStretch();
    top->addLayout(searchButtons);

    fgResults = new FlexGrid;
    fgResults->setObjectName(QStringLiteral("fgResults"));
    fgResults->SetSelMode(FlexGrid::SelectMode::ListBox);
    lblRecordsReturned = new QLabel(QStringLiteral("Records Returned:"));
    lblRecordsReturned->setObjectName(QStringLiteral("lblRecordsReturned"));

    cmdSelectAll = button(QStringLiteral("cmdSelectAll"), QStringLiteral("Select &All"));
    cmdDeselectAll = button(QStringLiteral("cmdDeselectAll"), QStringLiteral("&Select None"));
    cmdOK = button(QStringLiteral("cmdOK"), QStringLiteral("OK"));
    cmdCancel = button(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    cmdOK->setEnabled(false);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblRecordsReturned, 1);
    for (QPushButton *b : {cmdSelectAll, cmdDeselectAll, cmdOK, cmdCancel})
        bottom->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(fgResults, 1);
    layout->addLayout(bottom);

    connect(cmdFindNow, &QPushButton::clicked, this, &SiblingSearch::FindNow);
    connect(cmdSelectAll, &QPushButton::clicked, this, &SiblingSearch::SelectAll);
    connect(cmdDeselectAll, &QPushButton::clicked, this, &SiblingSearch::SelectNone);
    connect(cmdOK, &QPushButton::clicked, this, &SiblingSearch::Confirm);
    connect(cmdCancel, &QPushButton::clicked, this, &SiblingSearch::CancelSearch);
    connect(fgResults, &FlexGrid::SelChange, this, &SiblingSearch::updateOkButton);
    connect(fgResults, &FlexGrid::RowColChange, this, &SiblingSearch::updateOkButton);
    connect(fgResults, &FlexGrid::DblClick, this, [this] {
        if (fgResults->Row() >= fgResults->FixedRows() && fgResults->SelectedRows() > 0)
            Confirm();
    });
}

QWidget *SiblingSearch::ActiveControl() const
{
    QWidget *focused = QApplication::focusWidget();
    return focused && isAncestorOf(focused) ? focused : nullptr;
}

void SiblingSearch::InitModalSearch(AppManager *appManager)
{
    RecordsetPtr none;
    InitModalSearch(appManager, none, QString());
}

void SiblingSearch::InitModalSearch(AppManager *appManager, RecordsetPtr &rsTemp)
{
    InitModalSearch(appManager, rsTemp, QString());
}

void SiblingSearch::InitModalSearch(AppManager *appManager, RecordsetPtr &rsTemp, const QString &extraInfo)
{
    runReported(unableTo(QStringLiteral("start the search")), [&] {
        if (!appManager)
            throw Error(Error::InvalidArgument, QStringLiteral("no application manager was given"));
        objAppManager = appManager;
        mrsView = rsTemp;
        if (cboKind) {
            // The caller knows which kind belongs where the picks go: the user cannot pick another.
            const QString kind = KindFromExtraText(extraInfo, m_config.kinds);
            cboKind->setCurrentText(kind);
            cboKind->setEnabled(kind.isEmpty());
        }
        if (!m_criteria.isEmpty())
            m_criteria.first()->setFocus();
    });
}

bool SiblingSearch::CanClose()
{
    return true;
}

void SiblingSearch::Deactivate()
{
    // Nothing is held that needs letting go before the screen closes.
}

void SiblingSearch::UseSelectedRecordset(bool useRecordset)
{
    blnUseRecordset = useRecordset;
}

void SiblingSearch::SetSelectedItems(const search::SelectedIds &selectedItems)
{
    colSelectedItems = selectedItems;
}

void SiblingSearch::SetSingleSelect()
{
    SetMutliSelect(false);
}

void SiblingSearch::SetMutliSelect(bool multiSelect)
{
    runReported(unableTo(QStringLiteral("change the selection mode")), [&] {
        fgResults->SetSelMode(multiSelect ? FlexGrid::SelectMode::ListBox : FlexGrid::SelectMode::Single);
        m_multiSelect = multiSelect;
    });
}

bool SiblingSearch::GetMultiSelect() const
{
    return m_multiSelect;
}

QList<QLineEdit *> SiblingSearch::nameFields() const
{
    QList<QLineEdit *> names;
    for (qsizetype i = 0; i < m_criteria.size(); ++i) {
        if (m_config.statement.criteria[i].match != CriterionMatch::Number)
            names << m_criteria[i];
    }
    return names;
}

void SiblingSearch::SetNameType(qint16 nameType, bool enabled)
{
    SetNameType(nameType, enabled, QString());
}

void SiblingSearch::SetNameType(qint16 nameType, bool enabled, const QString &classLevelKeyword)
{
    runReported(unableTo(QStringLiteral("set the name type")), [&] {
        const QList<QLineEdit *> names = nameFields();
        if (nameType < 0 || nameType >= names.size())
            throw Error(Error::InvalidArgument, QStringLiteral("There is no name type %1.").arg(nameType));
        for (QLineEdit *field : names)
            field->setEnabled(enabled || field == names[nameType]);
        if (!classLevelKeyword.isEmpty())
            names[nameType]->setText(classLevelKeyword);
        names[nameType]->setFocus();
    });
}

void SiblingSearch::SetIdEnabled(bool enabled)
{
    for (qsizetype i = 0; i < m_criteria.size(); ++i) {
        if (m_config.statement.criteria[i].match == CriterionMatch::Number)
            m_criteria[i]->setEnabled(enabled);
    }
}

QString SiblingSearch::chosenKind() const
{
    return cboKind ? cboKind->currentText() : QString();
}

void SiblingSearch::FindNow()
{
    runReported(FailureText{.prefix = QStringLiteral("Error: ")}, [this] {
        if (!objAppManager)
            throw Error(Error::IllegalOperation, QStringLiteral("the search has not been started by its host"));
        QStringList values;
        for (QLineEdit *field : std::as_const(m_criteria))
            values << (field->isEnabled() ? field->text() : QString());
        // Built before anything changes: a criterion the user mistyped leaves the last results.
        const QString sql = BuildSiblingSearchSql(m_config.statement, values, chosenKind());

        BusyCursor busy;
        fgResults->Unbind();
        const RecordsetPtr rows = objAppManager->CallGetQueryRSXML(sql);
        RS_Functions::CopyRecordset(*rows, rsResults);
        if (rsResults->State() != Recordset::StateOpen)
            rsResults->Open();
        fgResults->BindToRecordset(rsResults);
        fgResults->DataRefresh();
        Misc_Functions::FormatGridCaptions(*fgResults);
        fgResults->SetWordWrap(false);
        fgResults->horizontalHeader()->setStretchLastSection(true);
        lblRecordsReturned->setText(QStringLiteral("Records Returned: ") + QString::number(rsResults->RecordCount()));
        updateOkButton();
    });
}

void SiblingSearch::updateOkButton()
{
    cmdOK->setEnabled(fgResults->IsBound() && fgResults->SelectedRows() > 0);
}

void SiblingSearch::SelectAll()
{
    runReported(unableTo(QStringLiteral("select the rows")), [this] {
        if (fgResults->Rows() < 2 || !GetMultiSelect())
            return;
        const int col = qMin(1, fgResults->Cols() - 1);
        fgResults->Select(1, col, fgResults->Rows() - 1, col);
        updateOkButton();
    });
}

void SiblingSearch::SelectNone()
{
    runReported(unableTo(QStringLiteral("clear the selection")), [this] {
        fgResults->Select(0, 0);
        fgResults->SelectNone();
        updateOkButton();
    });
}

void SiblingSearch::SelectedItems()
{
    if (colSelectedItems) {
        colSelectedItems->clear();
        for (int i = 0; i < fgResults->SelectedRows(); ++i)
            colSelectedItems->append(fgResults->TextMatrix(fgResults->SelectedRow(i), 0));
    }
    if (blnUseRecordset && rsResults && fgResults->IsBound()) {
        if (!mrsView)
            throw Error(Error::IllegalOperation, QStringLiteral("the search was given no set for the picked rows"));
        RS_Functions::ReplaceListWithSelected(*fgResults, *rsResults, *mrsView);
    }
}

void SiblingSearch::Confirm()
{
    // A pick that cannot be handed over keeps the window open, so the user can cancel.
    if (runReported(unableTo(QStringLiteral("hand over the picked rows")), [this] { SelectedItems(); }))
        emit Quit();
}

void SiblingSearch::CancelSearch()
{
    // The caller's set stays as it was handed over.
    mrsView.reset();
    emit Quit();
}

void SiblingSearch::keyPressEvent(QKeyEvent *event)
{
    // An embedded widget has no dialog to press its default button or answer Escape for it.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        cmdFindNow->click();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        cmdCancel->click();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace talv::clients

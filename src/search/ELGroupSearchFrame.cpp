// The screen's controls, menus and toolbar, and the commands that need nothing but the frame.
#include "ELGroupSearch.h"

#include "contracts/AppManager.h"
#include "platform/CommandTable.h"
#include "platform/FailureReport.h"
#include "platform/FlexGrid.h"
#include "platform/FocusedField.h"
#include "platform/UiServices.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace talv::search {

namespace {

template <typename W> W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QPushButton *button(const QString &name, const QString &caption)
{
    return named(new QPushButton(caption), name);
}

QLabel *label(const QString &name, const QString &caption)
{
    return named(new QLabel(caption), name);
}

// Present for the shape of the menus, never offered.
void neverOffered(QAction *action)
{
    action->setVisible(false);
    action->setEnabled(false);
}

} // namespace

void ELGroupSearch::buildFrame()
{
    m_commands = new CommandTable(this);
    m_focusedField = new FocusedField(this);

    tabElementGroup = named(new QTabWidget, QStringLiteral("tabElementGroup"));
    auto *criteriaPage = new QWidget;
    auto *criteria = new QGridLayout(criteriaPage);
    txtGroupID = named(new QLineEdit, QStringLiteral("txtGroupID"));
    txtGroupName = named(new QLineEdit, QStringLiteral("txtGroupName"));
    cboGroupNameComparison = named(new QComboBox, QStringLiteral("cboGroupNameComparison"));
    cboGroupNameComparison->addItems(NameComparisonItems());
    cboElementGroupType = named(new QComboBox, QStringLiteral("cboElementGroupType"));
    const std::pair<QLabel *, QWidget *> rows[] = {
        {label(QStringLiteral("lblGroupID"), QStringLiteral("Group ID")), txtGroupID},
        {label(QStringLiteral("lblGroupName"), QStringLiteral("Group Name")), txtGroupName},
        {label(QStringLiteral("lblElementGroupComparison"), QStringLiteral("Comparison")), cboGroupNameComparison},
        {label(QStringLiteral("lblElementGroupType"), QStringLiteral("Group Type")), cboElementGroupType},
    };
    int row = 0;
    for (const auto &[caption, field] : rows) {
        caption->setBuddy(field);
        criteria->addWidget(caption, row, 0);
        criteria->addWidget(field, row++, 1);
    }
    criteria->setRowStretch(row, 1);
    tabElementGroup->addTab(criteriaPage, QStringLiteral("Element Group"));

    cmdFindNow = button(QStringLiteral("cmdFindNow"), QStringLiteral("F&ind Now"));
    cmdFindNow->setDefault(true);
    cmdNew = button(QStringLiteral("cmdNew"), QStringLiteral("Ne&w..."));
    auto *searchButtons = new QVBoxLayout;
    searchButtons->addWidget(cmdFindNow);
    searchButtons->addWidget(cmdNew);
    searchButtons->addStretch();

    auto *top = new QHBoxLayout;
    top->addWidget(tabElementGroup, 1);
    top->addLayout(searchButtons);

    fgResults = named(new FlexGrid, QStringLiteral("fgResults"));
    fgResults->SetSelMode(FlexGrid::SelectMode::ListBox);
    lblRecordsReturned = label(QStringLiteral("lblRecordsReturned"), QStringLiteral("Records Returned:"));

    cmdDetails = button(QStringLiteral("cmdDetails"), QStringLiteral("&Details..."));
    cmdAddToList = button(QStringLiteral("cmdAddToList"), QStringLiteral("Add to &List"));
    cmdReplaceList = button(QStringLiteral("cmdReplaceList"), QStringLiteral("&Replace List"));
    cmdSelectAll = button(QStringLiteral("cmdSelectAll"), QStringLiteral("Select &All"));
    cmdDeselectAll = button(QStringLiteral("cmdDeselectAll"), QStringLiteral("&Select None"));
    cmdOK = button(QStringLiteral("cmdOK"), QStringLiteral("OK"));
    cmdCancel = button(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    // Only a modal search offers OK and Cancel.
    cmdOK->setVisible(false);
    cmdCancel->setVisible(false);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblRecordsReturned, 1);
    for (QPushButton *b : {cmdSelectAll, cmdDeselectAll, cmdDetails, cmdAddToList, cmdReplaceList, cmdOK, cmdCancel})
        bottom->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(buildMenus());
    tbElgroupSearch = m_commands->buildToolbar(QStringLiteral("tbElgroupSearch"), {QStringLiteral("New"),
                                                                                   QStringLiteral("Open"),
                                                                                   QStringLiteral("Save"),
                                                                                   {},
                                                                                   QStringLiteral("Cut"),
                                                                                   QStringLiteral("Copy"),
                                                                                   QStringLiteral("Paste"),
                                                                                   {},
                                                                                   QStringLiteral("Help")});
    layout->addWidget(tbElgroupSearch);
    layout->addLayout(top);
    layout->addWidget(fgResults, 1);
    layout->addLayout(bottom);
}

QMenuBar *ELGroupSearch::buildMenus()
{
    auto *bar = named(new QMenuBar(this), QStringLiteral("mnuBar"));
    CommandTable &commands = *m_commands;

    QMenu *file = addNamedMenu(bar, QStringLiteral("mnuFile"), QStringLiteral("&File"));
    commands.add(file, {.objectName = QStringLiteral("mnuFileNew"),
                        .caption = QStringLiteral("&New Search"),
                        .shortcut = QKeySequence(Qt::CTRL | Qt::Key_N),
                        .toolbarKey = QStringLiteral("New"),
                        .tooltip = QStringLiteral("Create New Search"),
                        .iconName = QStringLiteral("document-new"),
                        .handler = [this] {
                            NewSearch();
                            // The next search starts where the last one started.
                            txtGroupID->setFocus();
                        }});
    commands.add(file, {.objectName = QStringLiteral("mnuFileOpenSearch"),
                        .caption = QStringLiteral("&Open Search..."),
                        .shortcut = QKeySequence(Qt::CTRL | Qt::Key_O),
                        .toolbarKey = QStringLiteral("Open"),
                        .tooltip = QStringLiteral("Open Saved Search"),
                        .iconName = QStringLiteral("document-open"),
                        .handler = [this] { OpenUserSearch(); }});
    commands.add(file, {.objectName = QStringLiteral("mnuFileSaveSearch"),
                        .caption = QStringLiteral("&Save Search"),
                        .shortcut = QKeySequence(Qt::CTRL | Qt::Key_S),
                        .toolbarKey = QStringLiteral("Save"),
                        .tooltip = QStringLiteral("Save Current Search"),
                        .iconName = QStringLiteral("document-save"),
                        .handler = [this] { SaveUserSearch(false); }});
    commands.add(file, {.objectName = QStringLiteral("mnuFileSaveSearchAs"),
                        .caption = QStringLiteral("Save Search &As..."),
                        .shortcut = QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                        .iconName = QStringLiteral("document-save-as"),
                        .handler = [this] { SaveUserSearch(true); }});
    commands.add(file, {.objectName = QStringLiteral("mnuFileDeleteSearch"),
                        .caption = QStringLiteral("&Delete Search..."),
                        .shortcut = QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D),
                        .handler = [this] { DeleteUserSearch(); }});
    commands.addSeparator(file, QStringLiteral("mnuFileSeperator"));
    commands.add(file, {.objectName = QStringLiteral("mnuFileClose"),
                        .caption = QStringLiteral("&Close"),
                        .handler = [this] { closeScreen(); }});

    QMenu *edit = addNamedMenu(bar, QStringLiteral("mnuEdit"), QStringLiteral("&Edit"));
    neverOffered(commands.add(edit, {.objectName = QStringLiteral("mnuEditUndo"),
                                     .caption = QStringLiteral("&Undo"),
                                     .shortcut = QKeySequence(Qt::CTRL | Qt::Key_Z)}));
    neverOffered(commands.add(edit, {.objectName = QStringLiteral("mnuEditRedo"),
                                     .caption = QStringLiteral("&Redo"),
                                     .shortcut = QKeySequence(Qt::CTRL | Qt::Key_Y)}));
    neverOffered(commands.addSeparator(edit, QStringLiteral("mnuEditSeperator")));
    commands.add(edit, {.objectName = QStringLiteral("mnuEditCut"),
                        .caption = QStringLiteral("Cu&t"),
                        .shortcut = QKeySequence(Qt::CTRL | Qt::Key_X),
                        .toolbarKey = QStringLiteral("Cut"),
                        .tooltip = QStringLiteral("Cut"),
                        .iconName = QStringLiteral("edit-cut"),
                        .handler = [this] { EditKeystroke(QStringLiteral("^X")); }});
    commands.add(edit, {.objectName = QStringLiteral("mnuEditCopy"),
                        .caption = QStringLiteral("&Copy"),
                        .shortcut = QKeySequence(Qt::CTRL | Qt::Key_C),
                        .toolbarKey = QStringLiteral("Copy"),
                        .tooltip = QStringLiteral("Copy"),
                        .iconName = QStringLiteral("edit-copy"),
                        .handler = [this] { EditKeystroke(QStringLiteral("^C")); }});
    commands.add(edit, {.objectName = QStringLiteral("mnuEditPaste"),
                        .caption = QStringLiteral("&Paste"),
                        .shortcut = QKeySequence(Qt::CTRL | Qt::Key_V),
                        .toolbarKey = QStringLiteral("Paste"),
                        .tooltip = QStringLiteral("Paste"),
                        .iconName = QStringLiteral("edit-paste"),
                        .handler = [this] { EditKeystroke(QStringLiteral("^V")); }});

    QMenu *tools = addNamedMenu(bar, QStringLiteral("mnuTools"), QStringLiteral("&Tools"));
    neverOffered(commands.add(
        tools, {.objectName = QStringLiteral("mnuToolsOptions"), .caption = QStringLiteral("&Options...")}));
    tools->menuAction()->setVisible(false);

    QMenu *options = addNamedMenu(bar, QStringLiteral("mnuOptions"), QStringLiteral("&Options"));
    // The action checks and unchecks itself; the settings read it when they are saved.
    mnuOptionsSaveDefault = commands.add(options, {.objectName = QStringLiteral("mnuOptionsSaveDefault"),
                                                   .caption = QStringLiteral("Save Settings as &Default")});
    mnuOptionsSaveDefault->setCheckable(true);
    commands.add(options, {.objectName = QStringLiteral("mnuOptionsViewSQL"),
                           .caption = QStringLiteral("&View Search SQL"),
                           .handler = [this] { ViewSQL(); }});

    QMenu *help = addNamedMenu(bar, QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    commands.add(help, {.objectName = QStringLiteral("mnuHelpTALVHelp"),
                        .caption = QStringLiteral("Varnex &Help F1"),
                        .toolbarKey = QStringLiteral("Help"),
                        .tooltip = QStringLiteral("Help"),
                        .iconName = QStringLiteral("help-browser"),
                        .handler = [this] { showHelp(); }});
    commands.addSeparator(help, QStringLiteral("mnuHelpSeperator"));
    commands.add(help, {.objectName = QStringLiteral("mnuHelpAbout"),
                        .caption = QStringLiteral("&About Varnex..."),
                        .handler = [this] { showAbout(); }});
    return bar;
}

void ELGroupSearch::connectButtons()
{
    connect(cmdFindNow, &QPushButton::clicked, this, &ELGroupSearch::FindNow);
    connect(cmdNew, &QPushButton::clicked, this, &ELGroupSearch::NewGroup);
    connect(cmdDetails, &QPushButton::clicked, this, &ELGroupSearch::OpenDetails);
    connect(cmdAddToList, &QPushButton::clicked, this, &ELGroupSearch::AddToList);
    connect(cmdReplaceList, &QPushButton::clicked, this, &ELGroupSearch::ReplaceList);
    connect(cmdSelectAll, &QPushButton::clicked, this, &ELGroupSearch::SelectAll);
    connect(cmdDeselectAll, &QPushButton::clicked, this, &ELGroupSearch::SelectNone);
    connect(cmdOK, &QPushButton::clicked, this, &ELGroupSearch::Confirm);
    connect(cmdCancel, &QPushButton::clicked, this, &ELGroupSearch::CancelSearch);
    connect(fgResults, &FlexGrid::DblClick, this, &ELGroupSearch::onResultsDoubleClick);
    connect(fgResults, &FlexGrid::RowColChange, this, &ELGroupSearch::updateOkButton);
    connect(fgResults, &FlexGrid::SelChange, this, &ELGroupSearch::updateOkButton);
}

QWidget *ELGroupSearch::parentWindow() const
{
    // A host sub-window counts as a window here, so the caption never lands on the main window.
    for (QWidget *up = parentWidget(); up; up = up->parentWidget()) {
        if (up->isWindow() || up->windowType() == Qt::SubWindow)
            return up;
    }
    return const_cast<ELGroupSearch *>(this);
}

void ELGroupSearch::EditKeystroke(const QString &keys)
{
    runReported(unableTo(QStringLiteral("edit the text")), [&] {
        // Only a text box cuts, copies and pastes; the grid and the lists have nothing to give.
        if (qobject_cast<QLineEdit *>(m_focusedField->field()) && m_focusedField->restore())
            UiServices::current().sendKeys(keys);
    });
}

void ELGroupSearch::showHelp()
{
    // The host answers F1 with the help of the field the user is in.
    runReported(unableTo(QStringLiteral("show help")), [this] {
        m_focusedField->restore();
        UiServices::current().sendKeys(QStringLiteral("{F1}"));
    });
}

void ELGroupSearch::showAbout()
{
    runReported(unableTo(QStringLiteral("show the About box")), [this] {
        if (objAppManager)
            objAppManager->ShowAbout();
    });
}

void ELGroupSearch::closeScreen()
{
    if (CanClose())
        emit Quit();
}

} // namespace talv::search

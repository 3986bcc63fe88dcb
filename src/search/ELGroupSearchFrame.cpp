// The screen's controls, menus and toolbar, and the commands that need nothing but the frame.
#include "ELGroupSearch.h"

#include "contracts/AppManager.h"
#include "platform/FlexGrid.h"
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

struct ToolbarKey {
    const char *key;
    const char *tooltip;
};

constexpr ToolbarKey ToolbarKeys[] = {
    {"New", "Create New Search"},
    {"Open", "Open Saved Search"},
    {"Save", "Save Current Search"},
    {"Cut", "Cut"},
    {"Copy", "Copy"},
    {"Paste", "Paste"},
    {"Help", "Help"},
};

} // namespace

void ELGroupSearch::buildFrame()
{
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
    layout->addWidget(buildToolbar());
    layout->addLayout(top);
    layout->addWidget(fgResults, 1);
    layout->addLayout(bottom);
}

QAction *ELGroupSearch::addMenuItem(QMenu *menu, const QString &name, const QString &caption,
                                    const QKeySequence &shortcut)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(name);
    if (caption == QLatin1String("-"))
        action->setSeparator(true);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        // Several screens may be open in one host window: a shortcut acts on the screen in use.
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }
    menu->addAction(action);
    return action;
}

QMenuBar *ELGroupSearch::buildMenus()
{
    auto *bar = named(new QMenuBar(this), QStringLiteral("mnuBar"));
    const auto addMenu = [&](const QString &name, const QString &caption) {
        QMenu *menu = bar->addMenu(caption);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        return menu;
    };

    QMenu *file = addMenu(QStringLiteral("mnuFile"), QStringLiteral("&File"));
    mnuFileNew = addMenuItem(file, QStringLiteral("mnuFileNew"), QStringLiteral("&New Search"),
                             QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuFileOpenSearch = addMenuItem(file, QStringLiteral("mnuFileOpenSearch"), QStringLiteral("&Open Search..."),
                                    QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFileSaveSearch = addMenuItem(file, QStringLiteral("mnuFileSaveSearch"), QStringLiteral("&Save Search"),
                                    QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuFileSaveSearchAs =
        addMenuItem(file, QStringLiteral("mnuFileSaveSearchAs"), QStringLiteral("Save Search &As..."));
    mnuFileDeleteSearch = addMenuItem(file, QStringLiteral("mnuFileDeleteSearch"), QStringLiteral("&Delete Search..."));
    addMenuItem(file, QStringLiteral("mnuFileSeperator"), QStringLiteral("-"));
    mnuFileClose = addMenuItem(file, QStringLiteral("mnuFileClose"), QStringLiteral("&Close"));

    QMenu *edit = addMenu(QStringLiteral("mnuEdit"), QStringLiteral("&Edit"));
    // Undo and Redo are kept for the shape of the menu but never offered.
    for (QAction *hidden :
         {addMenuItem(edit, QStringLiteral("mnuEditUndo"), QStringLiteral("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z)),
          addMenuItem(edit, QStringLiteral("mnuEditRedo"), QStringLiteral("&Redo"), QKeySequence(Qt::CTRL | Qt::Key_Y)),
          addMenuItem(edit, QStringLiteral("mnuEditSeperator"), QStringLiteral("-"))}) {
        hidden->setVisible(false);
        hidden->setEnabled(false);
    }
    mnuEditCut =
        addMenuItem(edit, QStringLiteral("mnuEditCut"), QStringLiteral("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X));
    mnuEditCopy =
        addMenuItem(edit, QStringLiteral("mnuEditCopy"), QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuEditPaste =
        addMenuItem(edit, QStringLiteral("mnuEditPaste"), QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V));

    QMenu *tools = addMenu(QStringLiteral("mnuTools"), QStringLiteral("&Tools"));
    addMenuItem(tools, QStringLiteral("mnuToolsOptions"), QStringLiteral("&Options..."))->setVisible(false);
    tools->menuAction()->setVisible(false);

    QMenu *options = addMenu(QStringLiteral("mnuOptions"), QStringLiteral("&Options"));
    mnuOptionsSaveDefault =
        addMenuItem(options, QStringLiteral("mnuOptionsSaveDefault"), QStringLiteral("Save Settings as &Default"));
    mnuOptionsSaveDefault->setCheckable(true);
    mnuOptionsViewSQL = addMenuItem(options, QStringLiteral("mnuOptionsViewSQL"), QStringLiteral("&View Search SQL"));

    QMenu *help = addMenu(QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    mnuHelpTALVHelp = addMenuItem(help, QStringLiteral("mnuHelpTALVHelp"), QStringLiteral("Varnex &Help F1"));
    addMenuItem(help, QStringLiteral("mnuHelpSeperator"), QStringLiteral("-"));
    mnuHelpAbout = addMenuItem(help, QStringLiteral("mnuHelpAbout"), QStringLiteral("&About Varnex..."));
    return bar;
}

QToolBar *ELGroupSearch::buildToolbar()
{
    tbElgroupSearch = named(new QToolBar, QStringLiteral("tbElgroupSearch"));
    tbElgroupSearch->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const ToolbarKey &k : ToolbarKeys) {
        const QString key = QString::fromLatin1(k.key);
        QAction *action = tbElgroupSearch->addAction(key);
        action->setObjectName(key);
        action->setData(key);
        action->setToolTip(QString::fromLatin1(k.tooltip));
    }
    return tbElgroupSearch;
}

void ELGroupSearch::connectCommands()
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

    connect(mnuFileNew, &QAction::triggered, this, &ELGroupSearch::NewSearch);
    connect(mnuFileOpenSearch, &QAction::triggered, this, &ELGroupSearch::OpenUserSearch);
    connect(mnuFileSaveSearch, &QAction::triggered, this, [this] { SaveUserSearch(false); });
    connect(mnuFileSaveSearchAs, &QAction::triggered, this, [this] { SaveUserSearch(true); });
    connect(mnuFileDeleteSearch, &QAction::triggered, this, [this] {
        if (mnuFileDeleteSearch->isEnabled())
            DeleteUserSearch();
    });
    connect(mnuFileClose, &QAction::triggered, this, &ELGroupSearch::closeScreen);
    connect(mnuEditCut, &QAction::triggered, this, [this] { EditKeystroke(QStringLiteral("^X")); });
    connect(mnuEditCopy, &QAction::triggered, this, [this] { EditKeystroke(QStringLiteral("^C")); });
    connect(mnuEditPaste, &QAction::triggered, this, [this] { EditKeystroke(QStringLiteral("^V")); });
    connect(mnuOptionsViewSQL, &QAction::triggered, this, &ELGroupSearch::ViewSQL);
    connect(mnuHelpTALVHelp, &QAction::triggered, this, &ELGroupSearch::showHelp);
    connect(mnuHelpAbout, &QAction::triggered, this, [this] {
        guarded(QStringLiteral("show the About box"), [this] {
            if (objAppManager)
                objAppManager->ShowAbout();
        });
    });
    connect(tbElgroupSearch, &QToolBar::actionTriggered, this,
            [this](QAction *action) { onToolbarButton(action->data().toString()); });
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

void ELGroupSearch::onToolbarButton(const QString &key)
{
    // Keys compare exactly: "new" is not "New".
    if (key == QLatin1String("New"))
        NewSearch();
    else if (key == QLatin1String("Open"))
        OpenUserSearch();
    else if (key == QLatin1String("Save"))
        SaveUserSearch(false);
    else if (key == QLatin1String("Cut"))
        EditKeystroke(QStringLiteral("^X"));
    else if (key == QLatin1String("Copy"))
        EditKeystroke(QStringLiteral("^C"));
    else if (key == QLatin1String("Paste"))
        EditKeystroke(QStringLiteral("^V"));
    else if (key == QLatin1String("Help"))
        showHelp();
}

void ELGroupSearch::EditKeystroke(const QString &keys)
{
    guarded(QStringLiteral("edit the text"), [&] {
        // Only a text box cuts, copies and pastes; the grid and the lists have nothing to give.
        if (qobject_cast<QLineEdit *>(ActiveControl()))
            UiServices::current().sendKeys(keys);
    });
}

void ELGroupSearch::showHelp()
{
    // The host answers F1 with the help of the focused control.
    guarded(QStringLiteral("show help"), [] { UiServices::current().sendKeys(QStringLiteral("{F1}")); });
}

void ELGroupSearch::closeScreen()
{
    if (CanClose())
        emit Quit();
}

} // namespace talv::search

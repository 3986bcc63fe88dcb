#include "MainWindow.h"

#include "AboutBox.h"
#include "HelpWindow.h"
#include "MainMenuAccessKeys.h"
#include "PopupEditor.h"
#include "RelatedRecordScreen.h"

#include "contracts/ClassRegistry.h"
#include "contracts/HostHelp.h"
#include "contracts/Names.h"
#include "platform/AccessKeys.h"
#include "platform/FailureReport.h"
#include "platform/FlexGrid.h"
#include "platform/UiServices.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

namespace talv::host {

namespace {

QString recordCount(qsizetype count)
{
    return count == 1 ? QObject::tr("1 record") : QObject::tr("%1 records").arg(count);
}

// The column that names a list's records, which gets the room the others leave: the first field
// called ..._NAME after the id, else the last one (a reference's full citation).
int nameColumn(const Recordset &list)
{
    for (int c = 1; c < list.FieldCount(); ++c) {
        if (list.FieldName(c).endsWith(QLatin1String("_NAME"), Qt::CaseInsensitive))
            return c;
    }
    return list.FieldCount() - 1;
}

} // namespace

MainWindow::MainWindow(HostSession &session, ViewCatalogue &views, QWidget *parent)
    : QMainWindow(parent), m_session(session), m_views(views)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(tr("TALV ELGroup"));
    setWindowIcon(applicationIcon());
    m_lists = new WorkingLists(m_views, m_session.queries(), this);
    m_area = new WorkArea;
    m_winMan = new WindowManager(*m_area, m_views, *m_lists, m_session.queries(), this);
    m_area->setRedrawHandler([this](bool redraw) { setMainGridRedraw(redraw); });

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splMain"));
    buildWorkingListPanel();
    splitter->addWidget(m_grid->parentWidget());
    splitter->addWidget(m_area);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({440, 840});
    setCentralWidget(splitter);

    buildMenus();
    m_menuAccessKeys = new MainMenuAccessKeys(menuBar(), m_area);
    buildStatusBar();

    connect(m_lists, &WorkingLists::changed, this, [this](qint32 position) {
        if (position == currentView())
            refreshWorkingList();
    });
    connect(m_winMan, &WindowManager::screensChanged, this, &MainWindow::updateStatus);
    showView(1);
    resize(1280, 800);
}

MainWindow::~MainWindow()
{
    // The menu titles stop following the focus, which moves while the screens close. Screens hold
    // the working lists and the manager: they go first.
    delete m_menuAccessKeys;
    delete m_area;
    m_area = nullptr;
}

QIcon MainWindow::applicationIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(0x2e, 0x7d, 0x32));
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(size / 2);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("EG"));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void MainWindow::setAppManager(AppManager *appManager)
{
    m_appManager = appManager;
    m_winMan->setAppManager(appManager);
}

void MainWindow::buildWorkingListPanel()
{
    auto *panel = new QWidget;
    panel->setObjectName(QStringLiteral("picWorkingList"));
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);
    m_viewChooser = new QComboBox(panel);
    m_viewChooser->setObjectName(QStringLiteral("cboView"));
    for (qint32 i = 1; i <= m_views.Count(); ++i)
        m_viewChooser->addItem(viewDefinition(m_views, i).caption, i);
    connect(m_viewChooser, &QComboBox::activated, this,
            [this](int index) { showView(m_viewChooser->itemData(index).toInt()); });
    layout->addWidget(m_viewChooser);
    m_listCaption = new QLabel(panel);
    m_listCaption->setObjectName(QStringLiteral("lblWorkingList"));
    layout->addWidget(m_listCaption);
    m_grid = new FlexGrid(panel);
    m_grid->setObjectName(QStringLiteral("fgWorkingList"));
    m_grid->SetSelMode(FlexGrid::SelectMode::ListBox);
    // One line per record: the list is for scanning, the screens show the whole text.
    m_grid->SetWordWrap(false);
    connect(m_grid, &FlexGrid::DblClick, this, &MainWindow::openSelectedRecord);
    layout->addWidget(m_grid, 1);
}

QAction *MainWindow::addCommand(QMenu *menu, const QString &name, const QString &text, const QKeySequence &shortcut)
{
    auto *action = menu->addAction(text);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    return action;
}

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    connect(addCommand(file, QStringLiteral("mnuFileDatabase"), tr("&Database Information..."),
                       QKeySequence(Qt::CTRL | Qt::Key_I)),
            &QAction::triggered, this, &MainWindow::showDatabaseInfo);
    file->addSeparator();
    QAction *quit = addCommand(file, QStringLiteral("mnuFileQuit"), tr("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu *view = menuBar()->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    m_viewActions = new QActionGroup(this);
    for (qint32 i = 1; i <= m_views.Count(); ++i) {
        const HostView::Definition &definition = viewDefinition(m_views, i);
        QAction *action = addCommand(view, QStringLiteral("mnuView") + definition.code,
                                     QStringLiteral("&%1 %2 (%3)").arg(i).arg(definition.caption, definition.code),
                                     i <= 9 ? QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + i)) : QKeySequence());
        action->setCheckable(true);
        action->setData(i);
        m_viewActions->addAction(action);
        connect(action, &QAction::triggered, this, [this, i] { showView(i); });
    }
    view->addSeparator();
    // Enter and Delete belong to the list alone: in a screen they edit text and press buttons.
    QWidget *panel = m_grid->parentWidget();
    QAction *open =
        addCommand(view, QStringLiteral("mnuViewOpenRecord"), tr("&Open Record"), QKeySequence(Qt::Key_Return));
    open->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    panel->addAction(open);
    connect(open, &QAction::triggered, this, &MainWindow::openSelectedRecord);
    connect(addCommand(view, QStringLiteral("mnuViewGroupsOfElement"), tr("Element &Groups of Element"),
                       QKeySequence(Qt::CTRL | Qt::Key_G)),
            &QAction::triggered, this, &MainWindow::openGroupsOfElement);
    QAction *remove = addCommand(view, QStringLiteral("mnuViewRemoveFromList"), tr("&Remove from List"),
                                 QKeySequence(Qt::Key_Delete));
    remove->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    panel->addAction(remove);
    connect(remove, &QAction::triggered, this, &MainWindow::removeSelectedFromList);
    QAction *addAll = addCommand(view, QStringLiteral("mnuViewAddAll"), tr("&Add All Records to List"),
                                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L));
    connect(addAll, &QAction::triggered, this, [this] {
        changeList(tr("add the records to the list"), [this] { m_lists->addAllRecords(currentView()); });
    });
    QAction *clear = addCommand(view, QStringLiteral("mnuViewClearList"), tr("&Clear List"),
                                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete));
    connect(clear, &QAction::triggered, this,
            [this] { changeList(tr("clear the list"), [this] { m_lists->clear(currentView()); }); });
    QAction *goToList = addCommand(view, QStringLiteral("mnuViewWorkingList"), tr("Go to &Working List"),
                                   QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(goToList, &QAction::triggered, this, [this] { m_grid->setFocus(); });

    QMenu *tools = menuBar()->addMenu(tr("&Tools"));
    tools->setObjectName(QStringLiteral("mnuTools"));
    QAction *find = addCommand(tools, QStringLiteral("mnuToolsFindElementGroup"), tr("&Find Element Group..."),
                               QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(find, &QAction::triggered, this, &MainWindow::findElementGroup);
    // A new user meets an empty area first: it says where to begin.
    m_area->setEmptyHint(
        tr("To begin, find element groups with Tools > %1 (%2), or open a record of the working "
           "list with Enter or a double click.")
            .arg(AccessKeys::without(find->text()), find->shortcut().toString(QKeySequence::NativeText)));
    connect(addCommand(tools, QStringLiteral("mnuToolsSystemControl"), tr("&System Control Entry..."),
                       QKeySequence(Qt::Key_F9)),
            &QAction::triggered, this, &MainWindow::showSystemControlOfActiveScreen);

    m_windowMenu = menuBar()->addMenu(tr("&Window"));
    m_windowMenu->setObjectName(QStringLiteral("mnuWindow"));
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::updateWindowMenu);
    updateWindowMenu();

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    connect(addCommand(help, QStringLiteral("mnuHelpContents"), tr("TALV ELGroup &Help"), QKeySequence(Qt::Key_F1)),
            &QAction::triggered, this, &MainWindow::showHelp);
    help->addSeparator();
    QAction *about = addCommand(help, QStringLiteral("mnuHelpAbout"), tr("&About TALV ELGroup..."),
                                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this, &MainWindow::ShowAbout);
}

void MainWindow::updateWindowMenu()
{
    m_windowMenu->clear();
    QAction *close =
        addCommand(m_windowMenu, QStringLiteral("mnuWindowClose"), tr("&Close"), QKeySequence(Qt::CTRL | Qt::Key_F4));
    connect(close, &QAction::triggered, this, [this] {
        if (QWidget *screen = m_winMan->ActiveScreen())
            m_winMan->CloseScreen(screen);
    });
    connect(addCommand(m_windowMenu, QStringLiteral("mnuWindowCloseAll"), tr("Close &All"),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F4)),
            &QAction::triggered, m_winMan, &WindowManager::CloseAll);
    m_windowMenu->addSeparator();
    connect(addCommand(m_windowMenu, QStringLiteral("mnuWindowNext"), tr("&Next"), QKeySequence(Qt::CTRL | Qt::Key_F6)),
            &QAction::triggered, m_area, &QMdiArea::activateNextSubWindow);
    connect(addCommand(m_windowMenu, QStringLiteral("mnuWindowPrevious"), tr("&Previous"),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6)),
            &QAction::triggered, m_area, &QMdiArea::activatePreviousSubWindow);
    connect(addCommand(m_windowMenu, QStringLiteral("mnuWindowTile"), tr("&Tile"),
                       QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_T)),
            &QAction::triggered, m_area, &QMdiArea::tileSubWindows);
    connect(addCommand(m_windowMenu, QStringLiteral("mnuWindowCascade"), tr("Ca&scade"),
                       QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C)),
            &QAction::triggered, m_area, &QMdiArea::cascadeSubWindows);
    const QList<QMdiSubWindow *> windows = m_area->subWindowList();
    if (!windows.isEmpty())
        m_windowMenu->addSeparator();
    int number = 0;
    for (QMdiSubWindow *window : windows) {
        ++number;
        QAction *item = m_windowMenu->addAction(
            number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(window->windowTitle()) : window->windowTitle());
        item->setCheckable(true);
        item->setChecked(window == m_area->activeSubWindow());
        connect(item, &QAction::triggered, m_area, [this, window] { m_area->setActiveSubWindow(window); });
    }
}

void MainWindow::buildStatusBar()
{
    m_statusServer = new QLabel(this);
    m_statusServer->setObjectName(QStringLiteral("lblStatusServer"));
    m_statusUser = new QLabel(this);
    m_statusUser->setObjectName(QStringLiteral("lblStatusUser"));
    m_statusListSize = new QLabel(this);
    m_statusListSize->setObjectName(QStringLiteral("lblStatusListSize"));
    statusBar()->addWidget(m_statusServer, 1);
    statusBar()->addPermanentWidget(m_statusUser);
    statusBar()->addPermanentWidget(m_statusListSize);

    // Whoever can change nothing is told so before a command is found disabled.
    const QString readOnlyReason = m_session.readOnlyReason();
    m_statusAccess = new QLabel(tr("read-only"), this);
    m_statusAccess->setObjectName(QStringLiteral("lblStatusAccess"));
    m_statusAccess->setToolTip(readOnlyReason);
    m_statusAccess->setVisible(!readOnlyReason.isEmpty());
    statusBar()->addPermanentWidget(m_statusAccess);
}

void MainWindow::updateStatus()
{
    if (!m_statusServer)
        return;
    m_statusServer->setText(tr("Database: %1").arg(m_session.serverName()));
    const SessionUser &user = m_session.user();
    m_statusUser->setText(user.fullName.isEmpty() ? tr("User: %1").arg(user.userName)
                                                  : tr("User: %1 (%2)").arg(user.userName, user.fullName));
    const qint32 view = currentView();
    const qsizetype rows = m_lists->list(view)->RecordCount();
    m_statusListSize->setText(tr("%1: %2").arg(viewDefinition(m_views, view).caption, recordCount(rows)));
    m_listCaption->setText(tr("Working list: %1").arg(recordCount(rows)));
}

void MainWindow::showView(qint32 position)
{
    const bool shown = runReported(unableTo(tr("show the working list")), [&] {
        const RecordsetPtr list = m_lists->list(position);
        m_winMan->setCurrentView(position);
        m_grid->BindToRecordset(list);
        for (int c = 0; c < m_grid->Cols(); ++c)
            m_grid->SetTextMatrix(0, c, RelatedRecordScreen::headingFor(list->FieldName(c)));
        fitColumns();
    });
    if (!shown)
        return;
    m_viewChooser->setCurrentIndex(m_viewChooser->findData(position));
    for (QAction *action : m_viewActions->actions())
        action->setChecked(action->data().toInt() == position);
    updateStatus();
}

void MainWindow::refreshWorkingList()
{
    if (m_grid->IsBound()) {
        const bool wasEmpty = m_grid->Rows() <= m_grid->FixedRows();
        m_grid->DataRefresh();
        // A list that just got its first rows is fitted to them; later the widths are the user's,
        // except the ids, which grow longer as the list fills.
        if (wasEmpty)
            fitColumns();
        else if (m_grid->Cols() > 0)
            m_grid->AutoSize(0);
    }
    updateStatus();
}

void MainWindow::fitColumns()
{
    if (m_grid->Cols() == 0 || !m_grid->IsBound())
        return;
    m_grid->AutoSize(0, m_grid->Cols() - 1);
    // A long text must not push the other columns out of the narrow list; the name takes the rest.
    const int widest = m_grid->fontMetrics().averageCharWidth() * 40;
    const int named = nameColumn(*m_grid->BoundRecordset());
    QHeaderView *header = m_grid->horizontalHeader();
    for (int c = 0; c < m_grid->Cols(); ++c) {
        header->setSectionResizeMode(c, c == named ? QHeaderView::Stretch : QHeaderView::Interactive);
        if (c != named)
            m_grid->SetColWidth(c, qMin(m_grid->ColWidth(c), widest));
    }
}

void MainWindow::setMainGridRedraw(bool redraw)
{
    m_grid->SetRedraw(redraw);
    // A screen merged rows into a list while the grid was paused: show them and tell the others.
    if (redraw)
        m_lists->announce(currentView());
}

void MainWindow::findElementGroup()
{
    if (!ClassRegistry::instance().IsRegistered(names::SearchClass)) {
        UiServices::current().messageBox(tr("Find Element Group is not available: the element group screens "
                                            "(%1) are not installed in this program.")
                                             .arg(names::SearchClass),
                                         MsgButtons::OK, MsgIcon::Information);
        return;
    }
    const qint32 groups = FindViewIndex(m_views, names::view::ElementGroups);
    showView(groups);
    m_winMan->OpenSearch(names::SearchClass, tr("Find Element Group"), groups);
}

std::optional<qint32> MainWindow::currentRecordId() const
{
    const int row = m_grid->Row();
    if (!m_grid->IsBound() || row < m_grid->FixedRows() || row >= m_grid->Rows())
        return std::nullopt;
    const RecordsetPtr list = m_grid->BoundRecordset();
    const int idField = list->FieldIndex(QStringLiteral("ID"));
    if (idField < 0)
        return std::nullopt;
    return list->ValueAt(row - m_grid->FixedRows(), idField).toInt();
}

void MainWindow::openSelectedRecord()
{
    const std::optional<qint32> id = currentRecordId();
    if (!id)
        return;
    const qint32 view = currentView();
    m_winMan->OpenDetails(view, view, *id, QString(), RecordsetPtr());
}

void MainWindow::openGroupsOfElement()
{
    // The group screen reads these two list kinds as elements, and no other.
    const QString code = viewDefinition(m_views, currentView()).code;
    if (code != names::view::Elements && code != names::view::ElementTracking) {
        UiServices::current().messageBox(tr("Choose an element in the Elements or Element Tracking list first."),
                                         MsgButtons::OK, MsgIcon::Information);
        return;
    }
    const std::optional<qint32> id = currentRecordId();
    if (!id)
        return;
    m_winMan->OpenDetails(currentView(), FindViewIndex(m_views, names::view::ElementGroups), *id, QString(),
                          RecordsetPtr());
}

void MainWindow::removeSelectedFromList()
{
    if (!m_grid->IsBound())
        return;
    const RecordsetPtr list = m_grid->BoundRecordset();
    const int idField = list->FieldIndex(QStringLiteral("ID"));
    if (idField < 0)
        return;
    QList<qint32> ids;
    for (int i = 0; i < m_grid->SelectedRows(); ++i)
        ids.append(list->ValueAt(m_grid->SelectedRow(i) - m_grid->FixedRows(), idField).toInt());
    changeList(tr("remove the records from the list"), [&] {
        for (const qint32 id : std::as_const(ids))
            m_lists->removeRecord(currentView(), id);
    });
}

void MainWindow::changeList(const QString &what, const std::function<void()> &change)
{
    runReported(unableTo(what), change);
}

void MainWindow::showDatabaseInfo()
{
    QString text;
    try {
        Database &db = m_session.database();
        text = tr("Database: %1\nEngine: %2\nSchema version: %3\nUser: %4 (%5)\nOrganisation unit: %6")
                   .arg(m_session.serverName(),
                        db.engine() == Engine::SQLite ? QStringLiteral("SQLite") : QStringLiteral("PostgreSQL"))
                   .arg(db.schemaVersion())
                   .arg(m_session.user().userName, m_session.user().fullName, m_session.user().orgUnitCode);
    } catch (const std::exception &e) {
        text = tr("Unable to read the database information: %1").arg(describe(e));
    }
    UiServices::current().messageBox(text, MsgButtons::OK, MsgIcon::Information, tr("Database Information"));
}

void MainWindow::showHelp()
{
    runReported(unableTo(tr("show help")), [this] {
        QWidget *screen = m_area->screenWithFocus();
        // Outside a screen, or in a field the host has no topic for: the contents will do.
        if (!m_appManager || !showHostHelp(*m_appManager, screen))
            UiServices::current().showHelp(m_appManager ? m_appManager->HelpFile() : QString(), 0);
    });
}

void MainWindow::showHelpTopic(int topicId)
{
    if (!m_help)
        m_help = new HelpWindow(this);
    m_help->showTopic(topicId);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_winMan->CloseAll()) {
        event->ignore();
        return;
    }
    if (m_help)
        m_help->close();
    event->accept();
}

void MainWindow::ShowAbout()
{
    AboutBox box(m_session.serverName(), m_session.user().userName, this);
    UiServices::current().execModal(box);
}

void MainWindow::PopupEdit(FlexGrid *grid)
{
    if (grid)
        PopupEditor::edit(*grid, this);
}

bool MainWindow::OpenRelatedDetail(const QString &viewCode, const QString &targetViewCode, const QString &caption,
                                   qint32 &recordId)
{
    return m_winMan->OpenRelated(viewCode, targetViewCode, caption, recordId);
}

void MainWindow::showSystemControlOfActiveScreen()
{
    runReported(unableTo(tr("read the system control entry")), [this] {
        if (QWidget *screen = m_winMan->ActiveScreen(); screen && m_appManager)
            m_appManager->DisplaySystemControlEntry(screen);
    });
}

} // namespace talv::host

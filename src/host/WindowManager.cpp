#include "WindowManager.h"

#include "RelatedRecordScreen.h"

#include "contracts/ClassRegistry.h"
#include "contracts/LateBinding.h"
#include "contracts/Names.h"
#include "platform/BusyCursor.h"
#include "platform/Error.h"
#include "platform/FailureReport.h"
#include "platform/UiServices.h"

#include <QMdiSubWindow>
#include <QTimer>

namespace talv::host {

namespace {

// Answers WorkingListType with the view a screen was handed while that screen initialises.
class OpeningView
{
public:
    OpeningView(qint32 &slot, qint32 view) : m_slot(slot), m_previous(slot) { m_slot = view; }
    ~OpeningView() { m_slot = m_previous; }
    OpeningView(const OpeningView &) = delete;
    OpeningView &operator=(const OpeningView &) = delete;

private:
    qint32 &m_slot;
    qint32 m_previous;
};

// The group screens are the ones this host exists for: when they are missing the user must hear
// so. The screens of other applications fall back to the host's read-only screen.
bool showsReadOnly(const HostView::Definition &view)
{
    return view.code != names::view::ElementGroups && !ClassRegistry::instance().IsRegistered(view.detailsClass);
}

bool sameKind(const HostView::Definition &a, const HostView::Definition &b)
{
    return a.workingListView.compare(b.workingListView, Qt::CaseInsensitive) == 0;
}

QString listEventName(HostedScreen::ListEvent event)
{
    switch (event) {
    case HostedScreen::ListEvent::UpdateList:
        return names::event::UpdateList;
    case HostedScreen::ListEvent::NewItem:
        return names::event::NewItem;
    case HostedScreen::ListEvent::RemoveItem:
        return names::event::RemoveItem;
    }
    return {};
}

} // namespace

WindowManager::WindowManager(WorkArea &area, ViewCatalogue &views, WorkingLists &lists, QueryService queries,
                             QObject *parent)
    : QObject(parent), m_area(area), m_views(views), m_lists(lists), m_queries(std::move(queries))
{
    connect(&m_lists, &WorkingLists::changed, this, &WindowManager::onListChanged);
}

bool WindowManager::reportFailure(const QString &what, const std::function<void()> &open)
{
    if (runReported(unableTo(what), open))
        return true;
    // The screen the user is on asked for this one and may close itself right after asking (New
    // in a search does): it stays, so that nothing the user had is lost with it.
    if (!m_openFailed) {
        m_openFailed = true;
        QTimer::singleShot(0, this, [this] { m_openFailed = false; });
    }
    return false;
}

void WindowManager::configureTextFields(QWidget *control)
{
    // A record screen's text fields take their limits from the database; the screen finds its
    // own name from the controls it is handed.
    if (!LateBinding::hasMember(control, names::member::ApplyRichText, 3))
        return;
    LateBinding::call(control, names::member::ApplyRichText,
                      {QVariant::fromValue(control->children()), QString(), QVariant::fromValue(QObjectList())});
}

qint32 WindowManager::WorkingListType()
{
    return m_openingView > 0 ? m_openingView : m_currentView;
}

QVariantList WindowManager::initArguments(const RecordsetPtr &list, qint32 view)
{
    return {QVariant::fromValue(list),
            m_appManager ? QVariant::fromValue(m_appManager) : QVariant(),
            view,
            QVariant::fromValue<WinMan *>(this),
            QVariant::fromValue<ViewCollection *>(&m_views),
            QString()};
}

RecordsetPtr WindowManager::singleRecord(qint32 listView, qint32 recordId)
{
    RecordsetPtr one = m_lists.readRecord(listView, recordId);
    if (one->RecordCount() == 0) {
        // Gone from the database: the screen still gets its record id and tells the user itself.
        one->AddNew();
        one->SetValue(QStringLiteral("ID"), recordId);
        one->Update();
    }
    one->MoveFirst();
    return one;
}

void WindowManager::OpenDetails(qint32 viewNumber, qint32 targetViewNumber, qint32 recordId, const QString &text,
                                const RecordsetPtr &list)
{
    reportFailure(QStringLiteral("open record %1").arg(recordId), [&] {
        const HostView::Definition source = viewDefinition(m_views, viewNumber);
        const HostView::Definition target = viewDefinition(m_views, targetViewNumber);
        const bool single = text == names::SingleRecordView;
        const QString caption = text.isEmpty() || single ? target.caption : text;
        if (showsReadOnly(target)) {
            // Several of these may be open at once: the record tells them apart.
            const QString title =
                caption == target.caption ? QStringLiteral("%1 - %2").arg(caption).arg(recordId) : caption;
            if (!OpenRelated(source.code, target.code, title, recordId))
                UiServices::current().messageBox(
                    QStringLiteral("There is no record %1 to show in %2.").arg(recordId).arg(target.caption),
                    MsgButtons::OK, MsgIcon::Information);
            return;
        }
        BusyCursor busy;
        const HostedScreen::ListBinding binding{viewNumber, !list && !single, sameKind(source, target)};
        const RecordsetPtr handed = list     ? list
                                    : single ? singleRecord(viewNumber, recordId)
                                             : m_lists.list(viewNumber);
        openControl(target.detailsClass, caption, binding, [&](QWidget *control) {
            LateBinding::call(control, names::member::InitDetails, initArguments(handed, viewNumber));
            configureTextFields(control);
            LateBinding::call(control, names::member::LoadData, {recordId});
        });
    });
}

void WindowManager::NewDetails(qint32 viewNumber, qint32 targetViewNumber, const QString &caption)
{
    reportFailure(QStringLiteral("create a new record"), [&] {
        const HostView::Definition source = viewDefinition(m_views, viewNumber);
        const HostView::Definition target = viewDefinition(m_views, targetViewNumber);
        if (showsReadOnly(target)) {
            UiServices::current().messageBox(
                QStringLiteral("New %1 records are made in their own application.").arg(target.caption), MsgButtons::OK,
                MsgIcon::Information);
            return;
        }
        BusyCursor busy;
        const RecordsetPtr list = m_lists.list(viewNumber);
        const HostedScreen::ListBinding binding{viewNumber, true, sameKind(source, target)};
        openControl(target.detailsClass, caption.isEmpty() ? target.caption : caption, binding, [&](QWidget *control) {
            LateBinding::call(control, names::member::InitDetails, initArguments(list, viewNumber));
            configureTextFields(control);
            LateBinding::call(control, names::member::NewData, {-1});
        });
    });
}

QWidget *WindowManager::OpenSearch(const QString &className, const QString &caption, qint32 view)
{
    QWidget *opened = nullptr;
    reportFailure(QStringLiteral("open %1").arg(caption), [&] {
        BusyCursor busy;
        const RecordsetPtr list = m_lists.list(view);
        opened = openControl(className, caption, {view, true, true}, [&](QWidget *control) {
            LateBinding::call(control, names::member::InitSearch, initArguments(list, view));
        });
    });
    return opened;
}

bool WindowManager::OpenRelated(const QString &sourceCode, const QString &targetCode, const QString &caption,
                                qint32 recordId)
{
    const QString sql = RelatedRecordScreen::relatedSql(m_views, sourceCode, targetCode, recordId);
    if (sql.isEmpty())
        return false;
    BusyCursor busy;
    RecordsetPtr rows = m_queries.Run(sql);
    if (rows->RecordCount() == 0)
        return false;
    const qint32 target = FindViewIndex(m_views, targetCode);
    auto *screen = new RelatedRecordScreen(caption, rows);
    return host(screen, caption, {target, false, false}, {}) != nullptr;
}

QWidget *WindowManager::openControl(const QString &className, const QString &caption, HostedScreen::ListBinding binding,
                                    const Initialiser &initialise)
{
    // The class raises when it is not registered: the caller reports it.
    QWidget *control = ClassRegistry::instance().CreateAs<QWidget>(className);
    return host(control, caption, binding, initialise);
}

QWidget *WindowManager::host(QWidget *control, const QString &caption, HostedScreen::ListBinding binding,
                             const Initialiser &initialise)
{
    // A screen that sized itself keeps that size; others get what their layout asks for.
    const QSize wanted = control->testAttribute(Qt::WA_Resized) ? control->size() : QSize();
    auto *window = new QMdiSubWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWidget(control);
    window->setWindowTitle(caption);
    // In the area before it initialises, so the control finds the host window above it.
    m_area.addSubWindow(window);
    auto *screen = new HostedScreen(control, window, binding);
    screen->connectEvents();
    connect(screen, &HostedScreen::quitRequested, this, &WindowManager::onQuit);
    connect(screen, &HostedScreen::listEvent, this, &WindowManager::onListEvent);

    if (initialise) {
        try {
            OpeningView opening(m_openingView, binding.view);
            initialise(control);
        } catch (...) {
            // A control that never came up goes without being asked; the caller reports why.
            screen->discard();
            throw;
        }
    }
    m_screens.append(screen);
    connect(screen, &QObject::destroyed, this, [this] {
        m_screens.removeAll(nullptr);
        emit screensChanged();
    });
    window->adjustSize();
    if (wanted.isValid())
        window->resize(window->size().expandedTo(wanted + (window->size() - control->size())));
    window->show();
    // The area's own placement may push a large screen past the edge; cascade it instead.
    if (!m_area.viewport()->rect().contains(window->geometry())) {
        const int step = 24 * (int(m_area.subWindowList().size() - 1) % 8);
        window->move(step, step);
    }
    m_area.setActiveSubWindow(window);
    emit screensChanged();
    return control;
}

void WindowManager::onQuit(HostedScreen *screen)
{
    if (m_openFailed)
        return;
    // The control is still inside the handler that raised Quit; close it once that has returned.
    QPointer<HostedScreen> guard(screen);
    QTimer::singleShot(0, this, [this, guard] {
        if (guard && guard->control())
            CloseScreen(guard->control());
    });
}

void WindowManager::onListEvent(HostedScreen *screen, HostedScreen::ListEvent event, qint32 id)
{
    const qint32 view = screen->listView();
    if (view < 1)
        return;
    // A screen whose ids are not of the list's kind leaves the list alone; it is still told.
    if (screen->reportsListRows()) {
        runReported(unableTo(QStringLiteral("update the working list (%1 %2)").arg(listEventName(event)).arg(id)), [&] {
            switch (event) {
            case HostedScreen::ListEvent::UpdateList:
                // A screen on its own records keeps the working list as the user gathered it.
                m_lists.refreshRecord(view, id, screen->browsesWorkingList());
                break;
            case HostedScreen::ListEvent::NewItem:
                m_lists.refreshRecord(view, id, true);
                break;
            case HostedScreen::ListEvent::RemoveItem:
                m_lists.removeRecord(view, id);
                break;
            }
        });
    }
    queueNotification(screen);
}

void WindowManager::queueNotification(HostedScreen *screen)
{
    if (!m_pendingNotifications.contains(screen))
        m_pendingNotifications.append(screen);
    QTimer::singleShot(0, this, &WindowManager::flushNotifications);
}

void WindowManager::onListChanged(qint32 position)
{
    for (const QPointer<HostedScreen> &screen : std::as_const(m_screens)) {
        if (screen && screen->browsesWorkingList() && screen->listView() == position)
            queueNotification(screen);
    }
}

void WindowManager::flushNotifications()
{
    const QList<QPointer<HostedScreen>> pending = std::exchange(m_pendingNotifications, {});
    for (const QPointer<HostedScreen> &screen : pending) {
        if (screen)
            screen->notifyListChanges(QStringLiteral("ListChanged"));
    }
}

bool WindowManager::CloseScreen(QWidget *control)
{
    HostedScreen *screen = screenOf(control);
    if (!screen)
        return false;
    if (!screen->canClose())
        return false;
    screen->closeApproved();
    return true;
}

bool WindowManager::CloseAll()
{
    const QList<QMdiSubWindow *> windows = m_area.subWindowList(QMdiArea::StackingOrder);
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        QWidget *control = (*it)->widget();
        if (screenOf(control) && !CloseScreen(control))
            return false;
    }
    return true;
}

HostedScreen *WindowManager::screenOf(const QWidget *control) const
{
    for (const QPointer<HostedScreen> &screen : m_screens) {
        if (screen && control && screen->control() == control)
            return screen;
    }
    return nullptr;
}

QList<QWidget *> WindowManager::Screens() const
{
    QList<QWidget *> controls;
    for (const QPointer<HostedScreen> &screen : m_screens) {
        if (screen && screen->control())
            controls.append(screen->control());
    }
    return controls;
}

QWidget *WindowManager::ActiveScreen() const
{
    QMdiSubWindow *active = m_area.activeSubWindow();
    return active ? active->widget() : nullptr;
}

} // namespace talv::host

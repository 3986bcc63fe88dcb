#include "RecordNavigator.h"

#include "contracts/AppManager.h"
#include "contracts/Names.h"
#include "contracts/ViewCollection.h"
#include "contracts/WinMan.h"
#include "frmGotoRecord.h"

#include "platform/BusyCursor.h"
#include "platform/FailureReport.h"
#include "platform/UiServices.h"
#include "recordset/Misc_Functions.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <cmath>

namespace talv::details {

const QString RecordNavigator::ElementGroupsSql =
    QStringLiteral("SELECT element_group_membership.element_group_id as ID, "
                   "element_group.element_group_name as GroupName, "
                   "d_element_group_type.element_group_type_desc as GroupType "
                   "FROM element_group_membership, element_group, d_element_group_type "
                   "WHERE element_group_membership.element_group_id = element_group.element_group_id "
                   "AND element_group.d_element_group_type_id = d_element_group_type.d_element_group_type_id "
                   "AND element_group_membership.element_global_id = ");

namespace {

const FailureText GotoFailure{QStringLiteral("Unable to goto record: "), QStringLiteral("Record Error"),
                              MsgIcon::Exclamation};

QToolButton *navButton(const QString &name, Qt::ArrowType arrow, const QString &tooltip)
{
    auto *button = new QToolButton;
    button->setObjectName(name);
    button->setArrowType(arrow);
    button->setToolTip(tooltip);
    button->setAutoRaise(true);
    return button;
}

// A position the user typed, as a number; nothing when the text is not a number at all.
std::optional<double> numberIn(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The ID field's "Optimize" index, made on first use (and again after a merge dropped it): a
// position found by scanning from the top costs a working list of a million groups a million
// comparisons on every move.
void indexGroupIds(Recordset &list)
{
    const int idField = list.FieldIndex(u"ID");
    if (idField >= 0 && !list.Fields(idField).Optimize())
        list.Fields(idField).SetOptimize(true);
}

// Puts the list on the row of group `id`, or past the end when none.
void findGroupRow(Recordset &list, qint32 id)
{
    indexGroupIds(list);
    list.MoveFirst();
    list.Find(QStringLiteral("ID = ") + QString::number(id));
}

} // namespace

RecordNavigator::RecordNavigator(DetailsState &state, Screen screen, QWidget *parent)
    : QWidget(parent), m_state(state), m_screen(std::move(screen))
{
    m_first = navButton(QStringLiteral("cmdNavFirst"), Qt::UpArrow, QStringLiteral("First Record"));
    m_first->setText(QStringLiteral("|<"));
    m_first->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_previous = navButton(QStringLiteral("cmdNavPrev"), Qt::LeftArrow, QStringLiteral("Previous Record"));
    m_next = navButton(QStringLiteral("cmdNavNext"), Qt::RightArrow, QStringLiteral("Next Record"));
    m_last = navButton(QStringLiteral("cmdNavLast"), Qt::DownArrow, QStringLiteral("Last Record"));
    m_last->setText(QStringLiteral(">|"));
    m_last->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_current = new QLineEdit;
    m_current->setObjectName(QStringLiteral("txtCurrentRecord"));
    m_current->setToolTip(QStringLiteral("Goto Record..."));
    m_current->setAlignment(Qt::AlignRight);
    m_current->setMaximumWidth(64);
    m_current->installEventFilter(this);
    m_total = new QLabel;
    m_total->setObjectName(QStringLiteral("lblTotalRecords"));
    m_total->setMinimumWidth(40);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_first);
    layout->addWidget(m_previous);
    layout->addWidget(m_current);
    layout->addWidget(new QLabel(QStringLiteral("of")));
    layout->addWidget(m_total);
    layout->addWidget(m_next);
    layout->addWidget(m_last);

    connect(m_first, &QToolButton::clicked, this, &RecordNavigator::first);
    connect(m_previous, &QToolButton::clicked, this, &RecordNavigator::previous);
    connect(m_next, &QToolButton::clicked, this, &RecordNavigator::next);
    connect(m_last, &QToolButton::clicked, this, &RecordNavigator::last);
    connect(m_current, &QLineEdit::returnPressed, this, &RecordNavigator::onPositionEntered);
    connect(m_current, &QLineEdit::editingFinished, this, &RecordNavigator::onPositionLeft);
}

QString RecordNavigator::workingListType() const
{
    if (!m_state.winMan || !m_state.views)
        return names::view::ElementGroups;
    return m_state.views->Item(m_state.winMan->WorkingListType()).Item(QStringLiteral("working_list_type")).toString();
}

void RecordNavigator::buildCurrentList()
{
    if (m_state.groupList) {
        m_state.currentList = m_state.workingList;
        return;
    }
    m_state.currentList = m_state.appManager->CallGetQueryRSXML(ElementGroupsSql + QString::number(m_state.elementId));
}

qsizetype RecordNavigator::rowCount() const
{
    return m_state.currentList ? m_state.currentList->RecordCount() : 0;
}

qint32 RecordNavigator::currentPositionNumber() const
{
    return m_current->text().trimmed().toInt();
}

void RecordNavigator::setPosition(const QString &current, const QString &total)
{
    m_current->setText(current);
    m_total->setText(total);
}

QString RecordNavigator::positionText() const
{
    return m_current->text();
}

void RecordNavigator::placeOnListGroup()
{
    Recordset *list = m_state.currentList.get();
    if (!list || list->RecordCount() == 0)
        return;
    if (m_state.currentListIsWorkingList()) {
        findGroupRow(*list, m_state.listGroupId);
    } else {
        list->MoveFirst();
        m_state.listGroupId = list->Value(QStringLiteral("ID")).toInt();
    }
    m_state.currentRecordId = m_state.listGroupId;
}

void RecordNavigator::updatePositionDisplay()
{
    Recordset *list = m_state.currentList.get();
    if (!list || list->RecordCount() == 0) {
        setPosition(QStringLiteral("1"), QStringLiteral("1"));
        return;
    }
    findGroupRow(*list, m_state.currentRecordId);
    const qsizetype position = list->AbsolutePosition();
    if (position >= 1)
        setPosition(QString::number(position), QString::number(list->RecordCount()));
}

void RecordNavigator::resetBox()
{
    if (m_screen.isNewRecord())
        m_current->setText(QString::number(rowCount() + 1));
    else if (m_state.currentList)
        m_current->setText(QString::number(m_state.currentList->AbsolutePosition()));
}

void RecordNavigator::goToPosition(const QString &text)
{
    runReported(GotoFailure, [&] {
        const std::optional<double> wanted = numberIn(text);
        const qsizetype n = rowCount();
        if (wanted && *wanted >= 1 && *wanted <= double(n)) {
            if (!m_screen.canClose())
                return;
            Recordset &list = *m_state.currentList;
            const QVariant bookmark = list.IsEOF() || list.IsBOF() ? QVariant() : list.Bookmark();
            const qsizetype row = qsizetype(std::llround(*wanted));
            list.SetAbsolutePosition(row);
            const qint32 id = list.Value(QStringLiteral("ID")).toInt();
            if (!Misc_Functions::RecordExists(QStringLiteral("element_group"), QStringLiteral("element_group_id"), id,
                                              *m_state.appManager)) {
                m_state.appManager->Message(QStringLiteral("APP046"));
                if (bookmark.isValid())
                    list.SetBookmark(bookmark);
                m_current->setText(QString::number(list.AbsolutePosition()));
                return;
            }
            list.SetAbsolutePosition(row);
            m_state.currentRecordId = m_state.listGroupId = id;
            m_screen.showRecord();
            setPosition(QString::number(list.AbsolutePosition()), QString::number(n));
            return;
        }
        if (wanted)
            m_state.appManager->Message(QStringLiteral("APP003"));
        resetBox();
    });
}

void RecordNavigator::first()
{
    m_screen.setBusy(true);
    if (currentPositionNumber() != 1)
        goToPosition(QStringLiteral("1"));
    m_screen.setBusy(false);
}

void RecordNavigator::previous()
{
    m_screen.setBusy(true);
    const qint32 p = currentPositionNumber();
    if (p != 1)
        goToPosition(QString::number(p - 1));
    m_screen.setBusy(false);
}

void RecordNavigator::next()
{
    m_screen.setBusy(true);
    const qint32 p = currentPositionNumber();
    if (p < rowCount())
        goToPosition(QString::number(p + 1));
    m_screen.setBusy(false);
}

void RecordNavigator::last()
{
    m_screen.setBusy(true);
    if (currentPositionNumber() < rowCount())
        goToPosition(QString::number(rowCount()));
    m_screen.setBusy(false);
}

void RecordNavigator::gotoDialog()
{
    runReported(GotoFailure, [&] {
        frmGotoRecord dialog(window());
        dialog.setWindowIcon(window()->windowIcon());
        const bool onRow = m_state.currentList && !m_state.currentList->IsBOF() && !m_state.currentList->IsEOF();
        dialog.LoadRecordset(m_state.currentList, onRow ? qint32(m_state.currentList->AbsolutePosition()) : 0);
        UiServices::current().execModal(dialog);
        if (dialog.GotoRecordPosition() > 0)
            goToPosition(QString::number(dialog.GotoRecordPosition()));
    });
}

bool RecordNavigator::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_current && event->type() == QEvent::MouseButtonDblClick && m_current->isEnabled()) {
        gotoDialog();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void RecordNavigator::onPositionEntered()
{
    goToPosition(m_current->text());
}

void RecordNavigator::onPositionLeft()
{
    if (!m_state.currentList)
        return;
    const QString text = m_current->text().trimmed();
    const qsizetype n = rowCount();
    if (text == QString::number(m_state.currentList->AbsolutePosition()))
        return;
    if (text == QString::number(n + 1) && m_screen.newRecordShown())
        return;
    goToPosition(text);
}

void RecordNavigator::showRowAfterRemoval()
{
    Recordset &list = *m_state.currentList;
    const qint32 p = currentPositionNumber();
    if (p > list.RecordCount() || p < 1)
        list.MoveLast();
    else
        list.SetAbsolutePosition(p);
    m_state.listGroupId = m_state.currentRecordId = list.Value(QStringLiteral("ID")).toInt();
    m_screen.showRecord();
    setPosition(QString::number(list.AbsolutePosition()), QString::number(list.RecordCount()));
}

void RecordNavigator::notifyListChanges()
{
    if (!m_state.currentList || m_state.closeWithoutAsking)
        return;
    BusyCursor busy;
    Recordset &list = *m_state.currentList;
    if (m_state.currentListIsWorkingList()) {
        qsizetype position = -1;
        if (list.RecordCount() > 0) {
            findGroupRow(list, m_state.listGroupId);
            position = list.AbsolutePosition();
        }
        if (position < 1)
            setPosition(QStringLiteral("1"), QStringLiteral("1"));
        else
            setPosition(QString::number(position), QString::number(list.RecordCount()));
        return;
    }
    const RecordsetPtr still = m_state.appManager->CallGetQueryRSXML(
        QStringLiteral("select * from ELEMENT_GROUP_WL_VW WHERE ID=") + QString::number(m_state.listGroupId));
    if (still->RecordCount() > 0)
        return;
    list.Delete();
    if (list.RecordCount() == 0) {
        m_screen.quit();
        return;
    }
    showRowAfterRemoval();
}

void RecordNavigator::setNavigationEnabled(bool enabled)
{
    for (QWidget *control :
         {static_cast<QWidget *>(m_first), static_cast<QWidget *>(m_previous), static_cast<QWidget *>(m_next),
          static_cast<QWidget *>(m_last), static_cast<QWidget *>(m_current)})
        control->setEnabled(enabled);
}

} // namespace talv::details

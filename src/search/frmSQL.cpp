#include "frmSQL.h"

#include "platform/UiServices.h"

#include <QAction>
#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace talv::search {

namespace {

// A locked text area does not claim Ctrl+C before the shortcuts, so the menu's Copy would send
// the keystroke back to it for ever. Claiming it lets the text area copy by itself.
class CopyKeyClaim : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy))
            event->accept();
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

frmSQL::frmSQL(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSQL"));
    setWindowTitle(QStringLiteral("View SQL"));

    m_txtSQL = new QPlainTextEdit;
    m_txtSQL->setObjectName(QStringLiteral("txtSQL"));
    m_txtSQL->setReadOnly(true);
    // A statement reads best in the columns it was written in.
    m_txtSQL->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_txtSQL->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_txtSQL->installEventFilter(new CopyKeyClaim(m_txtSQL));

    m_cmdOK = new QPushButton(QStringLiteral("O&K"));
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    // Hides the dialog; the caller releases it.
    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *bar = new QMenuBar(this);
    QMenu *edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("menuEdit"));
    edit->menuAction()->setObjectName(QStringLiteral("menuEdit"));
    m_mnuEditCopy = edit->addAction(QStringLiteral("&Copy"));
    m_mnuEditCopy->setObjectName(QStringLiteral("mnuEditCopy"));
    m_mnuEditCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    connect(m_mnuEditCopy, &QAction::triggered, this, [this] {
        try {
            UiServices::current().sendKeys(QStringLiteral("^C"));
        } catch (const std::exception &) {
            // Nothing was copied; the statement is still there to copy by hand.
        }
    });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
    layout->addWidget(m_txtSQL, 1);
    layout->addLayout(buttons);
    resize(560, 320);
}

} // namespace talv::search

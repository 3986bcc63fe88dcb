#pragma once

// talv-host as a user meets it: a new sample database made as on a first start, `ecarter`
// logged in, the real screens in the main window, the keys where a user presses them, and a
// scripted user answering the message boxes and modal windows.
#include "details/DetailsTestSupport.h"

#include "app/Startup.h"
#include "dialogs/frmAuditLog.h"
#include "host/MainWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QTabBar>
#include <QTemporaryDir>

namespace talv::test {

class LiveHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        search::RegisterSearchScreens();
        details::RegisterDetailsScreen();
        clients::registerClientClasses();
        app::HostOptions options;
        options.connection.name = folder.filePath("talv-elgroup.sqlite");
        options.connection.createIfMissing = options.create = true;
        session = app::openSession(options);
        beside = host::Database::open(options.connection);
        appManager = std::make_unique<host::ReferenceAppManager>(*session);
        window = std::make_unique<host::MainWindow>(*session, appManager->views());
        window->setAppManager(appManager.get());
        appManager->setWindowServices(window.get());
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override
    {
        EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join(u'\n').toStdString();
        EXPECT_EQ(ui.pendingAnswers(), 0);
        EXPECT_EQ(ui.pendingDialogs(), 0);
        appManager->setWindowServices(nullptr);
        window.reset();
    }

    // What the database holds, read on a connection of its own.
    QString value(const QString &sql, const QVariantList &values = {})
    {
        const QStringList rows = rowsOf(beside->connection(), sql, values);
        return rows.isEmpty() ? QStringLiteral("<none>") : rows.join(u'\n');
    }
    // A group's columns as "a|b", an empty text as the screens show it.
    QString group(const char *columns, qint32 id)
    {
        return value(QStringLiteral("SELECT %1 FROM element_group WHERE element_group_id = ?").arg(columns), {id})
            .replace(QStringLiteral("<null>"), QString());
    }

    // The record screen in the work area: the active one, else the newest (a modal window that
    // just closed may have taken the activation with it).
    details::ELGroupDetails *screen() const
    {
        if (auto *active = qobject_cast<details::ELGroupDetails *>(window->windowManager().ActiveScreen()))
            return active;
        const QList<QMdiSubWindow *> windows = window->workArea()->subWindowList();
        return windows.isEmpty() ? nullptr : qobject_cast<details::ELGroupDetails *>(windows.last()->widget());
    }
    // Keys go to the main window's widgets as a user's would, also after a modal window closed.
    void press(QWidget *at, QKeyCombination keys)
    {
        if (at->window() == window.get())
            QApplication::setActiveWindow(window.get());
        QTest::keyClick(at, keys.key(), keys.keyboardModifiers());
    }
    // A key pressed in the record screen's field `field`, shown on its tab first.
    void pressIn(const char *field, QKeyCombination keys)
    {
        QWidget *at = child<QWidget>(screen(), field);
        showTabOf(at);
        at->setFocus();
        press(at, keys);
    }
    void showTabOf(QWidget *field)
    {
        auto *tabs = child<QTabWidget>(screen(), "tabElementGroup");
        for (int tab = 0; tab < tabs->count(); ++tab) {
            if (tabs->widget(tab)->isAncestorOf(field))
                QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(tab).center());
        }
    }
    void type(const char *field, const QString &text)
    {
        showTabOf(child<QWidget>(screen(), field));
        typeInto(screen(), field, text);
    }
    // A field's text as the user sees it on its tab.
    QString shownIn(const char *field)
    {
        showTabOf(child<QWidget>(screen(), field));
        return textOf(screen(), field);
    }
    QString position() const
    {
        return child<QLineEdit>(screen(), "txtCurrentRecord")->text() + " of " + labelOf(screen(), "lblTotalRecords");
    }

    // The working list's ids in the order shown.
    QStringList listed() const
    {
        QStringList ids;
        for (int row = 1; row < window->workingListGrid()->Rows(); ++row)
            ids << window->workingListGrid()->TextMatrix(row, 0);
        return ids;
    }

    // Picks the rows of `ids` in the search of a modal window (all groups, or what the search
    // finds on its own), then presses OK.
    static ScriptedUiServices::DialogScript pick(const QStringList &ids)
    {
        return [ids](QDialog &dialog) {
            if (auto *name = dialog.findChild<QLineEdit *>("txtGroupName"))
                name->setText("%");
            child<QPushButton>(&dialog, "cmdFindNow")->click();
            auto *results = child<FlexGrid>(&dialog, "fgResults");
            for (const QString &id : ids) {
                for (int row = 1; row < results->Rows(); ++row) {
                    if (results->TextMatrix(row, 0) == id)
                        results->selectionModel()->select(results->model()->index(row - 1, 0),
                                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
                }
            }
            ASSERT_EQ(results->SelectedRows(), ids.size());
            child<QPushButton>(&dialog, "cmdOK")->click();
        };
    }

    // The audit trail that a File > Open command shows, each row as "column|old value|comment";
    // `then` acts in the window before it closes (Cancel unless it closes it).
    QStringList auditTrail(const char *command, QString *caption = nullptr,
                           const std::function<void(frmAuditLog &)> &then = {})
    {
        QStringList rows;
        ui.queueDialog([&](QDialog &dialog) {
            auto &log = dynamic_cast<frmAuditLog &>(dialog);
            for (int row = 1; row < log.grid()->Rows(); ++row)
                rows << QStringList{log.grid()->TextMatrix(row, frmAuditLog::ColColumn),
                                    log.grid()->TextMatrix(row, frmAuditLog::ColOldValue),
                                    log.grid()->TextMatrix(row, frmAuditLog::ColComments)}
                            .join(u'|');
            if (caption)
                *caption = log.windowTitle();
            if (then)
                then(log);
            if (log.isVisible())
                child<QPushButton>(&log, "cmdCancel")->click();
        });
        screen()->command(QString::fromLatin1(command))->trigger();
        return rows;
    }

    QString lastBox() const { return ui.boxes().isEmpty() ? QString() : ui.boxes().constLast().text; }

    QTemporaryDir folder;
    ScriptedUiServices ui;
    ScopedUiServices scopedUi{ui};
    std::unique_ptr<host::HostSession> session;
    std::unique_ptr<host::Database> beside;
    std::unique_ptr<host::ReferenceAppManager> appManager;
    std::unique_ptr<host::MainWindow> window;
};

} // namespace talv::test

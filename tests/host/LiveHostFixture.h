#pragma once

// talv-host as a user meets it: a new sample database made as on a first start, `ecarter`
// logged in, the real screens in the main window, keys pressed where a user presses them, and a
// scripted user answering the message boxes and modal windows.
#include "details/DetailsTestSupport.h"

#include "app/Startup.h"
#include "dialogs/frmAuditLog.h"
#include "host/MainWindow.h"

#include <QApplication>
#include <QClipboard>
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
        expectScriptFinished(ui);
        appManager->setWindowServices(nullptr);
        window.reset();
    }

    // What the database holds, read on a connection of its own; rows joined by line breaks.
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

    static QStringList cells(const FlexGrid &grid, int col)
    {
        QStringList texts;
        for (int row = grid.FixedRows(); row < grid.Rows(); ++row)
            texts << grid.TextMatrix(row, col);
        return texts;
    }
    QStringList listed() const { return cells(*window->workingListGrid(), 0); }
    // Enter on a row of the working list; the record screen that opened.
    details::ELGroupDetails *openRow(int row)
    {
        window->workingListGrid()->setFocus();
        window->workingListGrid()->Select(row, 0);
        press(window->workingListGrid(), Qt::Key_Return);
        return screen();
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

    // Keys reach shortcuts only in the active window, which a modal window may have taken.
    void press(QWidget *at, QKeyCombination keys)
    {
        if (at->window() == window.get())
            QApplication::setActiveWindow(window.get());
        QTest::keyClick(at, keys.key(), keys.keyboardModifiers());
    }
    // In the record screen, on the tab of the control `name`:
    QWidget *showTabOf(const char *name)
    {
        auto *control = child<QWidget>(screen(), name);
        QTabBar *tabs = child<QTabWidget>(screen(), "tabElementGroup")->tabBar();
        for (int tab = 0; tab < tabs->count(); ++tab) {
            if (child<QTabWidget>(screen(), "tabElementGroup")->widget(tab)->isAncestorOf(control))
                QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
        }
        return control;
    }
    void pressIn(const char *name, QKeyCombination keys)
    {
        QWidget *control = showTabOf(name);
        control->setFocus();
        press(control, keys);
    }
    void type(const char *field, const QString &text)
    {
        showTabOf(field);
        typeInto(screen(), field, text);
    }
    QString shownIn(const char *field)
    {
        showTabOf(field);
        return textOf(screen(), field);
    }
    QStringList gridIds(const char *grid, const char *key)
    {
        auto *rows = static_cast<FlexGrid *>(showTabOf(grid));
        return cells(*rows, rows->ColIndex(QString::fromLatin1(key)));
    }
    QString lastBox() const { return ui.boxes().isEmpty() ? QString() : ui.boxes().constLast().text; }

    // In a modal window's search: finds all, picks the rows of `ids` and presses OK.
    static ScriptedUiServices::DialogScript pick(const QStringList &ids)
    {
        return [ids](QDialog &dialog) {
            if (auto *name = dialog.findChild<QLineEdit *>("txtGroupName"))
                name->setText("%");
            child<QPushButton>(&dialog, "cmdFindNow")->click();
            auto *results = child<FlexGrid>(&dialog, "fgResults");
            const QStringList found = cells(*results, 0);
            for (const QString &id : ids)
                results->selectionModel()->select(results->model()->index(int(found.indexOf(id)), 0),
                                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
            ASSERT_EQ(results->SelectedRows(), ids.size());
            child<QPushButton>(&dialog, "cmdOK")->click();
        };
    }

    // The audit trail a File > Open command shows, each row as "column|old value|comment";
    // `then` acts in the window before Cancel closes it.
    QStringList auditTrail(const char *command, const std::function<void(frmAuditLog &)> &then = {})
    {
        QStringList rows;
        ui.queueDialog([&](QDialog &dialog) {
            auto &log = dynamic_cast<frmAuditLog &>(dialog);
            for (int row = 1; row < log.grid()->Rows(); ++row)
                rows << QStringList{log.grid()->TextMatrix(row, frmAuditLog::ColColumn),
                                    log.grid()->TextMatrix(row, frmAuditLog::ColOldValue),
                                    log.grid()->TextMatrix(row, frmAuditLog::ColComments)}
                            .join(u'|');
            if (then)
                then(log);
            if (log.isVisible())
                child<QPushButton>(&log, "cmdCancel")->click();
        });
        screen()->command(QString::fromLatin1(command))->trigger();
        return rows;
    }

    QTemporaryDir folder;
    ScriptedUiServices ui;
    ScopedUiServices scopedUi{ui};
    std::unique_ptr<host::HostSession> session;
    std::unique_ptr<host::Database> beside;
    std::unique_ptr<host::ReferenceAppManager> appManager;
    std::unique_ptr<host::MainWindow> window;
};

} // namespace talv::test

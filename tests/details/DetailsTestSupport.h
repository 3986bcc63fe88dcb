#pragma once

#include "details/ELGroupDetails.h"
#include "details/RecordNavigator.h"

#include "clients/ClientClasses.h"
#include "contracts/ClassRegistry.h"
#include "contracts/ComponentCollection.h"
#include "contracts/ElementGroupObject.h"
#include "host/HostSession.h"
#include "host/ReferenceAppManager.h"
#include "host/WindowManager.h"
#include "host/WorkArea.h"
#include "host/WorkingLists.h"
#include "platform/FlexGrid.h"
#include "platform/LookupComboBox.h"
#include "platform/RichTextControl.h"
#include "platform/ScriptedUiServices.h"
#include "search/SearchScreens.h"
#include "support/EngineDatabase.h"
#include "support/RecordingAppManager.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

// Readable failures: gtest prints texts as text.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace talv::test {

// A sample database on one engine with the reference host around it, as talv-host has it: a
// session of `user`, the real application manager (recorded), the work area and window manager
// that open the record screen by class name, and scripted message boxes.
class DetailsHost
{
public:
    DetailsHost(std::unique_ptr<EngineDatabase> database, const QString &user)
        : db(std::move(database)), session(db->openAnother(), user)
    {
        search::RegisterSearchScreens();
        details::RegisterDetailsScreen();
        clients::registerClientClasses();
        area.resize(1200, 900);
        area.show();
        manager = std::make_unique<host::WindowManager>(area, views, lists, host::QueryService(session.connection()));
        manager->setAppManager(&recorder);
    }

    // Puts the groups into the working list of element groups, in this order.
    void listGroups(const QList<qint32> &ids)
    {
        lists.clear(groupsView);
        for (qint32 id : ids)
            lists.refreshRecord(groupsView, id, true);
    }

    // Opens the record screen on the working list, as a double-click on its row does.
    details::ELGroupDetails *open(qint32 id)
    {
        manager->setCurrentView(groupsView);
        manager->OpenDetails(groupsView, groupsView, id, QString(), RecordsetPtr());
        return shown();
    }

    // Opens the record screen on a new group, as the search's New... does.
    details::ELGroupDetails *openNew()
    {
        manager->setCurrentView(groupsView);
        manager->NewDetails(groupsView, groupsView, QStringLiteral("Element Group..."));
        return shown();
    }

    // The screen just opened, after the host's event loop ran once as it does before the user's
    // first key: the window is active and its shortcuts answer.
    details::ELGroupDetails *shown()
    {
        QPointer<details::ELGroupDetails> screen = qobject_cast<details::ELGroupDetails *>(manager->ActiveScreen());
        QApplication::processEvents();
        return screen;
    }

    // Reads or changes the database beside the screen, on a connection of its own.
    QStringList rows(const QString &sql, const QVariantList &values = {})
    {
        return rowsOf(db->database().connection(), sql, values);
    }
    QString value(const QString &sql, const QVariantList &values = {})
    {
        const QStringList r = rows(sql, values);
        return r.isEmpty() ? QStringLiteral("<none>") : r.first();
    }
    void exec(const QString &sql)
    {
        QSqlQuery q(db->database().connection());
        EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
    }

    // The working list's ids, in order.
    QStringList listedIds()
    {
        QStringList ids;
        RecordsetPtr list = lists.list(groupsView);
        for (qsizetype row = 0; row < list->RecordCount(); ++row)
            ids << list->ValueAt(row, list->FieldIndex(u"ID")).toString();
        return ids;
    }

    std::unique_ptr<EngineDatabase> db;
    host::HostSession session;
    host::ReferenceAppManager real{session};
    RecordingAppManager recorder{real};
    ScriptedUiServices ui;
    ScopedUiServices scopedUi{ui};
    host::ViewCatalogue views;
    host::WorkingLists lists{views, host::QueryService(session.connection())};
    host::WorkArea area;
    std::unique_ptr<host::WindowManager> manager;
    qint32 groupsView = FindViewIndex(views, "EGP");
};

template <typename T> T *child(const QObject *screen, const char *name)
{
    T *found = screen->findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << "no " << name;
    return found;
}

inline QString textOf(const QObject *screen, const char *field)
{
    return child<QWidget>(screen, field)->property("Text").toString();
}

// Types into a text field as the user would: the field's text is replaced.
inline void typeInto(const QObject *screen, const char *field, const QString &text)
{
    auto *widget = child<QWidget>(screen, field);
    widget->setFocus();
    widget->setProperty("Text", QString());
    QTest::keyClicks(widget, text);
}

inline QString labelOf(const QObject *screen, const char *label)
{
    return child<QLabel>(screen, label)->text();
}

inline QString captionOf(const QWidget *screen)
{
    return screen->parentWidget() ? screen->parentWidget()->windowTitle() : screen->windowTitle();
}

// The grid's data rows, each as its cells after the selector column joined by "|".
inline QStringList gridRows(const FlexGrid &grid)
{
    QStringList rows;
    for (int r = grid.FixedRows(); r < grid.Rows(); ++r) {
        QStringList cells;
        for (int c = 1; c < grid.Cols(); ++c)
            cells << grid.TextMatrix(r, c);
        rows << cells.join(u'|');
    }
    return rows;
}

// The base of the record screen's tests: a host on a fresh sample database (SQLite unless the
// fixture runs on both engines), and the checks every such test ends with (no unexpected box, no
// answer or dialog left unused, the pointer back).
class DetailsHostTest : public ::testing::Test
{
protected:
    virtual talv::host::Engine engine() const { return talv::host::Engine::SQLite; }
    virtual QString user() const { return QStringLiteral("ecarter"); }
    void SetUp() override
    {
        std::string whyNot;
        auto db = EngineDatabase::create(engine(), EngineDatabase::WithSample, &whyNot);
        if (!db)
            GTEST_SKIP() << whyNot;
        host = std::make_unique<DetailsHost>(std::move(db), user());
    }
    void TearDown() override
    {
        if (!host)
            return;
        EXPECT_TRUE(host->ui.failures().isEmpty()) << host->ui.failures().join(u'\n').toStdString();
        EXPECT_EQ(host->ui.pendingAnswers(), 0);
        EXPECT_EQ(host->ui.pendingDialogs(), 0);
        EXPECT_EQ(host->ui.busyDepth(), 0);
    }

    std::unique_ptr<DetailsHost> host;
};

template <typename Fixture>
class OnBothEngines : public Fixture, public ::testing::WithParamInterface<talv::host::Engine>
{
protected:
    talv::host::Engine engine() const override { return this->GetParam(); }
};

} // namespace talv::test

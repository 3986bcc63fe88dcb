#pragma once

#include "search/ELGroupSearch.h"
#include "search/SearchScreens.h"
#include "search/UserOptions.h"
#include "search/frmUserSearchSaveOpen.h"

#include "clients/ClientClasses.h"
#include "host/HostSession.h"
#include "host/IconTheme.h"
#include "host/MainWindow.h"
#include "host/ReferenceAppManager.h"
#include "host/WindowManager.h"
#include "host/WorkArea.h"
#include "host/WorkingLists.h"
#include "support/EngineDatabase.h"

#include "contracts/ClassRegistry.h"
#include "contracts/LateBinding.h"
#include "platform/FlexGrid.h"
#include "platform/ScriptedUiServices.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace talv::test {

// The reference host's application manager, recording the SQL texts and message ids it is asked
// for; everything is forwarded, so the answers are the real host's.
class RecordingAppManager final : public AppManager
{
public:
    explicit RecordingAppManager(host::ReferenceAppManager &real) : r(real) {}
    QStringList sqlSent, messageIds;

    // What Find Now sent, without the type list and the empty result layout.
    QStringList searches() const { return sqlSent.filter(QRegularExpression("^SELECT UNIQUE")); }

    RecordsetPtr CallGetQueryRSXML(const QString &s) override { return sqlSent << s, r.CallGetQueryRSXML(s); }
    int Message(const QString &id, const QStringList &args) override { return messageIds << id, r.Message(id, args); }
    QString GetServerName() override { return r.GetServerName(); }
    qint32 GetServerType() override { return r.GetServerType(); }
    qint32 GetUserID() override { return r.GetUserID(); }
    QString GetUserName() override { return r.GetUserName(); }
    void ApplySecurity(QWidget *c, const QVariant &o, const QString &n, const QObjectList &l) override
    {
        r.ApplySecurity(c, o, n, l);
    }
    RecordsetPtr Auditing(const QString &t, qint32 id, const QString &c) override { return r.Auditing(t, id, c); }
    void ShowAbout() override { r.ShowAbout(); }
    qint32 GetSystemOrgUnitID() override { return r.GetSystemOrgUnitID(); }
    QString GetOrgUnitCode(qint32 id) override { return r.GetOrgUnitCode(id); }
    bool CheckPermission(const QVariant &v) override { return r.CheckPermission(v); }
    bool Delete(const QString &o, qint32 i, const QString &u, const QString &t) override
    {
        return r.Delete(o, i, u, t);
    }
    bool Copy(const QString &o, const QVariant &s, qint32 t, const QString &u) override { return r.Copy(o, s, t, u); }
    void PopupEdit(FlexGrid *grid) override { r.PopupEdit(grid); }
    QString GetControlAccess(const QString &c, const QString &m) override { return r.GetControlAccess(c, m); }
    bool OpenRelatedDetail(const QString &v, const QString &t, const QString &c, qint32 &id) override
    {
        return r.OpenRelatedDetail(v, t, c, id);
    }
    RecordsetPtr GetPrototypeRSForView(const QString &code) override { return r.GetPrototypeRSForView(code); }
    HostViewManager &ViewManager() override { return r.ViewManager(); }
    QString HelpFile() override { return r.HelpFile(); }
    bool GetHelpTopicID(QWidget *c, qint32 &topic) override { return r.GetHelpTopicID(c, topic); }
    void DisplaySystemControlEntry(QWidget *c) override { r.DisplaySystemControlEntry(c); }

private:
    host::ReferenceAppManager &r;
};

// A sample database on one engine with the reference host around it, as talv-host has it: a
// session of ecarter, the real application manager (recorded), the work area and window manager
// that open the search by class name, and scripted message boxes.
class SearchHost
{
public:
    explicit SearchHost(std::unique_ptr<EngineDatabase> database)
        : db(std::move(database)), session(db->openAnother(), "ecarter")
    {
        search::RegisterSearchScreens();
        clients::registerClientClasses();
        host::useFallbackIconTheme();
        // A screen opens blank unless a test stores defaults of its own: ecarter's sample defaults
        // (a group type) would narrow every search.
        query("DELETE FROM user_option WHERE user_option_category_id IN (SELECT user_option_category_id "
              "FROM user_option_category WHERE category_name LIKE '$DEFAULT_FIND_%')");
        area.resize(1200, 900);
        area.show();
        manager = std::make_unique<host::WindowManager>(area, views, lists, host::QueryService(session.connection()));
        manager->setAppManager(&recorder);
    }
    // By the class name the main window's Find Element Group command opens.
    search::ELGroupSearch *openSearch()
    {
        return qobject_cast<search::ELGroupSearch *>(
            manager->OpenSearch(names::SearchClass, "Find Element Group", groupsView));
    }

    // Inside a modal window, started by name as a modal search window starts it.
    search::ELGroupSearch *openModal(const QString &extraInfo = {}, RecordsetPtr rsTemp = {})
    {
        modalWindow = std::make_unique<QDialog>();
        auto *control =
            ClassRegistry::instance().CreateAs<search::ELGroupSearch>(names::SearchClass, modalWindow.get());
        QVariantList args{QVariant::fromValue<AppManager *>(&recorder), QVariant::fromValue(rsTemp), extraInfo};
        LateBinding::callByRef(control, "InitModalSearch", args);
        modalRecordset = args.at(1).value<RecordsetPtr>();
        modalWindow->show();
        return control;
    }

    // Runs `act`, answering OK to the `count` message boxes it must show; the last one's text.
    QString boxFrom(const std::function<void()> &act, int count = 1)
    {
        const qsizetype before = ui.boxes().size();
        for (int i = 0; i < count; ++i)
            ui.queueAnswer(Answer::OK);
        act();
        EXPECT_EQ(ui.boxes().size(), before + count);
        return ui.boxes().size() > before ? ui.boxes().last().text : QString();
    }

    // Reads or changes the database beside the screen, on a connection of its own.
    QSqlQuery query(const QString &sql)
    {
        QSqlQuery q(db->database().connection());
        EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
        return q;
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
    std::unique_ptr<QDialog> modalWindow;
    RecordsetPtr modalRecordset;
};

template <typename T> T *child(const QObject *screen, const char *name)
{
    T *found = screen->findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << "no " << name;
    return found;
}

// The grid's data rows (or its heading row), each as its cells joined by "|".
inline QStringList gridRows(const FlexGrid &grid, bool heading = false)
{
    QStringList rows;
    for (int r = heading ? 0 : 1; r < (heading ? 1 : grid.Rows()); ++r) {
        QStringList cells;
        for (int c = 0; c < grid.Cols(); ++c)
            cells << grid.TextMatrix(r, c);
        rows << cells.join(u'|');
    }
    return rows;
}

inline void click(const QWidget *on, const char *button)
{
    child<QPushButton>(on, button)->click();
}

// Types `name` and presses Find Now; the results grid.
inline FlexGrid *findByName(const QWidget *on, const QString &name)
{
    child<QLineEdit>(on, "txtGroupName")->setText(name);
    click(on, "cmdFindNow");
    return child<FlexGrid>(on, "fgResults");
}

// The base of the search screens' tests: a host on a fresh sample database (SQLite unless the
// fixture runs on both engines), and the checks every such test ends with (no unexpected box, no
// answer or dialog left unused, the pointer back).
class SearchHostTest : public ::testing::Test
{
protected:
    virtual talv::host::Engine engine() const { return talv::host::Engine::SQLite; }
    void SetUp() override
    {
        std::string whyNot;
        auto db = EngineDatabase::create(engine(), EngineDatabase::WithSample, &whyNot);
        if (!db)
            GTEST_SKIP() << whyNot;
        host = std::make_unique<SearchHost>(std::move(db));
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

    std::unique_ptr<SearchHost> host;
};

// ... with the host's search screen open.
class SearchScreenTest : public SearchHostTest
{
protected:
    void SetUp() override
    {
        SearchHostTest::SetUp();
        if (host && !HasFatalFailure()) {
            ASSERT_NE(screen = host->openSearch(), nullptr);
        }
    }

    search::ELGroupSearch *screen = nullptr;
};

// A search fixture run once on each engine (instantiate with TALV_ON_BOTH_ENGINES).
template <typename Fixture>
class OnBothEngines : public Fixture, public ::testing::WithParamInterface<talv::host::Engine>
{
protected:
    talv::host::Engine engine() const override { return this->GetParam(); }
};

// The saved-search dialog's list.
inline QStringList listed(QDialog &dialog)
{
    QStringList names;
    auto *list = child<QListWidget>(&dialog, "lstUserSearches");
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

// Dialog scripts that answer the saved-search dialog as the user would: type a name, or pick a
// listed one, and press the dialog's button (Save, Open or Delete); or cancel.
inline ScriptedUiServices::DialogScript typeName(const QString &name)
{
    return [name](QDialog &dialog) {
        child<QLineEdit>(&dialog, "txtSearchName")->setText(name);
        click(&dialog, "cmdSave");
    };
}

inline ScriptedUiServices::DialogScript pickName(const QString &name)
{
    return [name](QDialog &dialog) {
        const auto found = child<QListWidget>(&dialog, "lstUserSearches")->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        found.first()->listWidget()->setCurrentItem(found.first());
        click(&dialog, "cmdSave");
    };
}

inline ScriptedUiServices::DialogScript cancelDialog()
{
    return [](QDialog &dialog) { click(&dialog, "cmdCancel"); };
}

// The criteria as the user sees them: id, name, comparison index, type.
inline QStringList criteriaOf(const QWidget *screen)
{
    return {child<QLineEdit>(screen, "txtGroupID")->text(), child<QLineEdit>(screen, "txtGroupName")->text(),
            QString::number(child<QComboBox>(screen, "cboGroupNameComparison")->currentIndex()),
            child<QComboBox>(screen, "cboElementGroupType")->currentText()};
}

inline void enterCriteria(const QWidget *screen, const QString &id, const QString &name, int comparison,
                          const QString &type = {})
{
    child<QLineEdit>(screen, "txtGroupID")->setText(id);
    child<QLineEdit>(screen, "txtGroupName")->setText(name);
    child<QComboBox>(screen, "cboGroupNameComparison")->setCurrentIndex(comparison);
    child<QComboBox>(screen, "cboElementGroupType")->setCurrentText(type);
}

// Triggers a menu command by its action's name ("mnuFileNew"), or clicks a toolbar button by its
// key ("New"), as the user would.
inline void trigger(const QWidget *screen, const char *command)
{
    if (auto *action = screen->findChild<QAction *>(QString::fromLatin1(command)))
        action->trigger();
    else
        child<QToolButton>(screen, command)->click();
}

inline bool saveAsDefault(const QWidget *screen)
{
    return child<QAction>(screen, "mnuOptionsSaveDefault")->isChecked();
}

inline const QStringList BlankCriteria{QString(), QString(), "0", QString()};

} // namespace talv::test

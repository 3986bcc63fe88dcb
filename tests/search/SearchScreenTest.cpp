// The search screen as a host sees it: opened by class name, its controls, modes and commands.
#include "SearchTestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QToolBar>

using namespace talv;
using namespace talv::search;

namespace {

class SearchScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string whyNot;
        host = test::SearchHost::start(talv::host::Engine::SQLite, &whyNot);
        ASSERT_TRUE(host) << whyNot;
        screen = host->openSearch();
        ASSERT_NE(screen, nullptr);
    }

    void TearDown() override
    {
        EXPECT_TRUE(host->ui.failures().isEmpty()) << host->ui.failures().join(u'\n').toStdString();
        EXPECT_EQ(host->ui.pendingAnswers(), 0);
        EXPECT_EQ(host->ui.busyDepth(), 0);
    }

    template <typename T> T *find(const char *name) { return test::child<T>(screen, QString::fromLatin1(name)); }
    QAction *toolbarKey(const char *key) { return find<QAction>(key); }

    std::unique_ptr<test::SearchHost> host;
    ELGroupSearch *screen = nullptr;
};

TEST_F(SearchScreenTest, OpensByClassNameWithItsCaptionAndFixedSize)
{
    EXPECT_TRUE(ClassRegistry::instance().IsRegistered(QStringLiteral("talv_elgroup.elgroupsearch")));
    auto *window = qobject_cast<QMdiSubWindow *>(screen->parentWidget());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Find Element Group"));
    EXPECT_NE(host->area->window()->windowTitle(), QStringLiteral("Find Element Group"));
    // 9750 by 9900 twips, and it stays so when its window is resized.
    EXPECT_EQ(screen->size(), QSize(650, 660));
    window->resize(300, 200);
    screen->resize(900, 900);
    EXPECT_EQ(screen->size(), QSize(650, 660));
    // The host's working list is the screen's list.
    EXPECT_EQ(LateBinding::property(screen, QStringLiteral("mrsView")).value<RecordsetPtr>(),
              host->lists->list(host->groupsView));

    UnregisterSearchScreens();
    EXPECT_FALSE(ClassRegistry::instance().IsRegistered(ELGroupSearch::ClassName));
}

TEST_F(SearchScreenTest, ControlsMenusAndToolbarCarryTheirNamesAndCaptions)
{
    const std::pair<const char *, const char *> captions[] = {
        {"lblGroupID", "Group ID"},         {"lblGroupName", "Group Name"},
        {"lblElementGroupComparison", "Comparison"}, {"lblElementGroupType", "Group Type"},
        {"lblRecordsReturned", "Records Returned:"},
    };
    for (const auto &[name, caption] : captions)
        EXPECT_EQ(find<QLabel>(name)->text(), QString::fromUtf8(caption)) << name;
    const std::pair<const char *, const char *> buttons[] = {
        {"cmdFindNow", "F&ind Now"},  {"cmdNew", "Ne&w..."},          {"cmdDetails", "&Details..."},
        {"cmdAddToList", "Add to &List"}, {"cmdReplaceList", "&Replace List"}, {"cmdSelectAll", "Select &All"},
        {"cmdDeselectAll", "&Select None"}, {"cmdOK", "OK"},          {"cmdCancel", "Cancel"},
    };
    for (const auto &[name, caption] : buttons)
        EXPECT_EQ(find<QPushButton>(name)->text(), QString::fromUtf8(caption)) << name;
    EXPECT_TRUE(find<QPushButton>("cmdFindNow")->isDefault());
    auto *tab = find<QTabWidget>("tabElementGroup");
    ASSERT_EQ(tab->count(), 1);
    EXPECT_EQ(tab->tabText(0), QStringLiteral("Element Group"));
    EXPECT_EQ(find<QComboBox>("cboGroupNameComparison")->currentText(), QStringLiteral("Contains"));

    struct Item {
        const char *name;
        const char *caption;
        const char *shortcut;
        bool visible;
    };
    const Item items[] = {
        {"mnuFileNew", "&New Search", "Ctrl+N", true},         {"mnuFileOpenSearch", "&Open Search...", "Ctrl+O", true},
        {"mnuFileSaveSearch", "&Save Search", "Ctrl+S", true},   {"mnuFileSaveSearchAs", "Save Search &As...", "", true},
        {"mnuFileDeleteSearch", "&Delete Search...", "", true},  {"mnuFileClose", "&Close", "", true},
        {"mnuEditUndo", "&Undo", "Ctrl+Z", false},              {"mnuEditRedo", "&Redo", "Ctrl+Y", false},
        {"mnuEditCut", "Cu&t", "Ctrl+X", true},                  {"mnuEditCopy", "&Copy", "Ctrl+C", true},
        {"mnuEditPaste", "&Paste", "Ctrl+V", true},              {"mnuToolsOptions", "&Options...", "", false},
        {"mnuOptionsSaveDefault", "Save Settings as &Default", "", true},
        {"mnuOptionsViewSQL", "&View Search SQL", "", true},     {"mnuHelpTALVHelp", "Varnex &Help F1", "", true},
        {"mnuHelpAbout", "&About Varnex...", "", true},
    };
    for (const Item &item : items) {
        auto *action = find<QAction>(item.name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), QString::fromUtf8(item.caption)) << item.name;
        EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(item.shortcut))) << item.name;
        EXPECT_EQ(action->isVisible(), item.visible) << item.name;
    }
    for (const char *separator : {"mnuFileSeperator", "mnuHelpSeperator"})
        EXPECT_TRUE(find<QAction>(separator)->isSeparator()) << separator;
    const std::pair<const char *, const char *> menus[] = {
        {"mnuFile", "&File"}, {"mnuEdit", "&Edit"}, {"mnuOptions", "&Options"}, {"mnuHelp", "&Help"}};
    for (const auto &[name, caption] : menus)
        EXPECT_EQ(find<QMenu>(name)->title(), QString::fromUtf8(caption)) << name;
    EXPECT_FALSE(find<QMenu>("mnuTools")->menuAction()->isVisible());
    auto *saveDefault = find<QAction>("mnuOptionsSaveDefault");
    EXPECT_TRUE(saveDefault->isCheckable());
    EXPECT_FALSE(saveDefault->isChecked());
    saveDefault->trigger();
    EXPECT_TRUE(saveDefault->isChecked());

    const std::pair<const char *, const char *> keys[] = {
        {"New", "Create New Search"}, {"Open", "Open Saved Search"}, {"Save", "Save Current Search"},
        {"Cut", "Cut"},               {"Copy", "Copy"},              {"Paste", "Paste"},
        {"Help", "Help"}};
    const QList<QAction *> toolbar = find<QToolBar>("tbElgroupSearch")->actions();
    ASSERT_EQ(toolbar.size(), qsizetype(std::size(keys)));
    for (qsizetype i = 0; i < toolbar.size(); ++i) {
        EXPECT_EQ(toolbar[i]->data().toString(), QString::fromLatin1(keys[i].first));
        EXPECT_EQ(toolbar[i]->toolTip(), QString::fromLatin1(keys[i].second));
    }
}

TEST_F(SearchScreenTest, TheTwoModesShowTheirOwnButtonsAndShareTheTypeList)
{
    const auto visible = [](ELGroupSearch *s) {
        QStringList shown;
        for (const char *name : {"cmdOK", "cmdCancel", "cmdAddToList", "cmdReplaceList"})
            if (test::child<QPushButton>(s, QString::fromLatin1(name))->isVisibleTo(s))
                shown << QString::fromLatin1(name);
        return shown;
    };
    EXPECT_EQ(visible(screen), (QStringList{QStringLiteral("cmdAddToList"), QStringLiteral("cmdReplaceList")}));
    EXPECT_FALSE(find<QPushButton>("cmdOK")->isEnabled());

    const RecordsetPtr callers = host->recorder.GetPrototypeRSForView(QStringLiteral("EGP"));
    ELGroupSearch *modal = host->openModal({}, callers);
    EXPECT_EQ(visible(modal), (QStringList{QStringLiteral("cmdOK"), QStringLiteral("cmdCancel")}));
    EXPECT_FALSE(test::child<QPushButton>(modal, QStringLiteral("cmdOK"))->isEnabled());
    EXPECT_EQ(host->modalWindow->windowTitle(), QStringLiteral("Find Element Group"));
    // The caller's set comes back as the screen holds it.
    EXPECT_EQ(host->modalRecordset, callers);
    EXPECT_EQ(LateBinding::property(modal, QStringLiteral("mrsView")).value<RecordsetPtr>(), callers);
    EXPECT_EQ(test::child<QComboBox>(modal, QStringLiteral("cboElementGroupType"))->count(),
              find<QComboBox>("cboElementGroupType")->count());

    // A caller with a purpose of its own may leave out the recordset.
    ELGroupSearch *copying = host->openModal(QStringLiteral("COPY_EL_GROUPS"));
    EXPECT_EQ(visible(copying), (QStringList{QStringLiteral("cmdOK"), QStringLiteral("cmdCancel")}));
    EXPECT_EQ(LateBinding::property(copying, QStringLiteral("mrsView")).value<RecordsetPtr>(), nullptr);
    EXPECT_TRUE(LateBinding::call(copying, QStringLiteral("CanClose")).toBool());
    EXPECT_TRUE(host->ui.boxes().isEmpty());
}

TEST_F(SearchScreenTest, ToolbarKeysActOnlyWhenSpelledExactly)
{
    auto *name = find<QLineEdit>("txtGroupName");
    name->setText(QStringLiteral("Alvar"));
    const qsizetype sent = host->recorder.sqlSent.size();

    QAction *newKey = toolbarKey("New");
    newKey->setData(QStringLiteral("new"));
    newKey->trigger();
    EXPECT_EQ(name->text(), QStringLiteral("Alvar"));
    EXPECT_EQ(host->recorder.sqlSent.size(), sent);

    newKey->setData(QStringLiteral("New"));
    newKey->trigger();
    EXPECT_EQ(name->text(), QString());
    EXPECT_EQ(host->recorder.sqlSent.mid(sent),
              (QStringList{GroupTypesSql, QStringLiteral("select * from ELGroup_WL_VW where 1=0")}));
}

TEST_F(SearchScreenTest, CutCopyAndPasteReachOnlyATextBox)
{
    auto *name = find<QLineEdit>("txtGroupName");
    auto *id = find<QLineEdit>("txtGroupID");
    name->setText(QStringLiteral("Stora Alvaret, Öland"));
    test::focusOn(name);
    EXPECT_EQ(screen->ActiveControl(), name);
    name->selectAll();
    find<QAction>("mnuEditCopy")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Stora Alvaret, Öland"));

    test::focusOn(id);
    toolbarKey("Paste")->trigger();
    EXPECT_EQ(id->text(), QStringLiteral("Stora Alvaret, Öland"));
    id->selectAll();
    find<QAction>("mnuEditCut")->trigger();
    EXPECT_EQ(id->text(), QString());

    const qsizetype strokes = host->ui.keystrokes().size();
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    for (QWidget *other : {static_cast<QWidget *>(find<FlexGrid>("fgResults")),
                           static_cast<QWidget *>(find<QComboBox>("cboElementGroupType"))}) {
        test::focusOn(other);
        find<QAction>("mnuEditPaste")->trigger();
        toolbarKey("Copy")->trigger();
        find<QAction>("mnuEditCut")->trigger();
    }
    EXPECT_EQ(host->ui.keystrokes().size(), strokes);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));
}

TEST_F(SearchScreenTest, EnterSearchesAndCloseAsksCanCloseThenQuits)
{
    auto *name = find<QLineEdit>("txtGroupName");
    name->setText(QStringLiteral("Alvar"));
    test::focusOn(name);
    QTest::keyClick(name, Qt::Key_Return);
    ASSERT_EQ(host->recorder.searches().size(), 1);
    EXPECT_TRUE(host->recorder.searches().first().contains(QStringLiteral("LIKE '%ALVAR%'")));

    QSignalSpy quit(screen, &ELGroupSearch::Quit);
    find<QAction>("mnuFileClose")->trigger();
    EXPECT_EQ(quit.count(), 1);
}

TEST_F(SearchScreenTest, SelectedItemsHandsOverTheSelectedIdsInGridOrder)
{
    find<QLineEdit>("txtGroupName")->setText(QStringLiteral("Lady's-slippers"));
    find<QPushButton>("cmdFindNow")->click();
    auto *grid = find<FlexGrid>("fgResults");
    ASSERT_GE(grid->Rows(), 4);

    auto ids = std::make_shared<QStringList>(QStringList{QStringLiteral("stale")});
    LateBinding::call(screen, QStringLiteral("SetSelectedItems"), {QVariant::fromValue(ids)});
    grid->Select(3, 0, 2, 0);
    LateBinding::call(screen, QStringLiteral("SelectedItems"));
    EXPECT_EQ(*ids, (QStringList{grid->TextMatrix(2, 0), grid->TextMatrix(3, 0)}));

    grid->SelectNone();
    LateBinding::call(screen, QStringLiteral("SelectedItems"));
    EXPECT_TRUE(ids->isEmpty());

    // Single selection: a range shrinks to its current row.
    LateBinding::call(screen, QStringLiteral("SetSingleSelect"));
    grid->Select(2, 0, 3, 0);
    EXPECT_EQ(grid->SelectedRows(), 1);
}

TEST_F(SearchScreenTest, CommandsNotBuiltYetLeaveResultsAndListAlone)
{
    find<QLineEdit>("txtGroupName")->setText(QStringLiteral("Alvar"));
    find<QPushButton>("cmdFindNow")->click();
    auto *grid = find<FlexGrid>("fgResults");
    const QStringList rows = test::gridRows(*grid);
    ASSERT_FALSE(rows.isEmpty());
    grid->Select(1, 0, grid->Rows() - 1, 0);
    const qsizetype sent = host->recorder.sqlSent.size();
    const qsizetype listRows = host->lists->list(host->groupsView)->RecordCount();

    for (const char *name : {"cmdAddToList", "cmdReplaceList", "cmdSelectAll", "cmdDeselectAll", "cmdDetails", "cmdNew"})
        find<QPushButton>(name)->click();
    for (const char *name : {"mnuFileOpenSearch", "mnuFileSaveSearch", "mnuFileSaveSearchAs", "mnuFileDeleteSearch"})
        find<QAction>(name)->trigger();
    for (const char *key : {"Open", "Save"})
        toolbarKey(key)->trigger();
    emit grid->DblClick();

    EXPECT_EQ(test::gridRows(*grid), rows);
    EXPECT_EQ(host->recorder.sqlSent.size(), sent);
    EXPECT_EQ(host->lists->list(host->groupsView)->RecordCount(), listRows);
    EXPECT_EQ(host->manager->Screens().size(), 1);
    EXPECT_TRUE(host->ui.boxes().isEmpty());
}

} // namespace

#pragma once

#include "search/ELGroupSearch.h"
#include "search/SearchScreens.h"
#include "search/UserOptions.h"
#include "search/frmUserSearchSaveOpen.h"

#include "host/IconTheme.h"
#include "host/MainWindow.h"
#include "support/ScreenHost.h"

#include "contracts/ClassRegistry.h"
#include "contracts/LateBinding.h"
#include "platform/FlexGrid.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace talv::test {

// The host's search screen: ecarter's sample defaults are cleared, so that a screen opens blank
// unless a test stores defaults of its own (a group type would narrow every search).
class SearchHost : public ScreenHost
{
public:
    explicit SearchHost(std::unique_ptr<EngineDatabase> database, const QString &user = QStringLiteral("ecarter"))
        : ScreenHost(std::move(database), user)
    {
        host::useFallbackIconTheme();
        query("DELETE FROM user_option WHERE user_option_category_id IN (SELECT user_option_category_id "
              "FROM user_option_category WHERE category_name LIKE '$DEFAULT_FIND_%')");
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

    std::unique_ptr<QDialog> modalWindow;
    RecordsetPtr modalRecordset;
};

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

using SearchHostTest = ScreenHostTest<SearchHost>;

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

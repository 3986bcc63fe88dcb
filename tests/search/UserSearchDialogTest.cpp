// The saved-search dialog on its own: its three modes, where a name may come from, and how it
// ends, on the sample database (SQLite) where ecarter has two searches and jbrandt one.
#include "SettingsTestSupport.h"

#include <QApplication>

using namespace talv;
using namespace talv::search;

namespace {

class UserSearchDialogTest : public test::SearchHostTest
{
protected:
    // Runs the dialog as the search screen does; `act` is what the user does in it.
    void run(frmUserSearchSaveOpen &dialog, qint32 mode, const std::function<void(frmUserSearchSaveOpen &)> &act,
             const QString &category = UserSearchCategory)
    {
        EXPECT_TRUE(dialog.Init(category, mode, &host->recorder));
        host->ui.queueDialog([&](QDialog &) { act(dialog); });
        UiServices::current().execModal(dialog);
    }
};

TEST_F(UserSearchDialogTest, EachModeHasItsCaptionsAndOnlySaveTakesATypedName)
{
    const QStringList ecartersSearches{"Carter's alpine groups", "Ohio mussels"};
    struct Mode {
        qint32 mode;
        const char *button;
        const char *caption;
        bool locked;
    };
    for (const Mode &m : {Mode{1, "Save", "Save User Search", false}, Mode{2, "Open", "Open User Search", true},
                          Mode{3, "Delete", "Delete User Search", true}}) {
        SCOPED_TRACE(m.caption);
        frmUserSearchSaveOpen dialog;
        run(dialog, m.mode, [&](frmUserSearchSaveOpen &d) {
            auto *save = test::child<QPushButton>(&d, "cmdSave");
            auto *name = test::child<QLineEdit>(&d, "txtSearchName");
            EXPECT_EQ(d.windowTitle(), QString::fromLatin1(m.caption));
            EXPECT_EQ(save->text(), QString::fromLatin1(m.button));
            EXPECT_EQ(test::listed(d), ecartersSearches); // jbrandt's search is not ecarter's
            EXPECT_FALSE(save->isEnabled());
            EXPECT_EQ(name->isReadOnly(), m.locked);
            const QPalette standard = QApplication::palette(name);
            EXPECT_EQ(name->palette().color(QPalette::Base),
                      m.locked ? standard.color(QPalette::Button) : standard.color(QPalette::Base));

            // Blanks are no name; a name keeps its blanks.
            name->setText("   ");
            EXPECT_FALSE(save->isEnabled());
            name->setText("  typed  ");
            EXPECT_EQ(save->isEnabled(), !m.locked); // open and delete take names from the list only

            auto *list = test::child<QListWidget>(&d, "lstUserSearches");
            list->setCurrentRow(1);
            EXPECT_EQ(name->text(), "Ohio mussels");
            EXPECT_TRUE(save->isEnabled());
            list->clearSelection();
            EXPECT_EQ(save->isEnabled(), !m.locked);
            if (m.locked)
                list->setCurrentRow(0);
            else
                name->setText("  typed  ");
            save->click();
        });
        EXPECT_FALSE(dialog.IsCanceled());
        EXPECT_EQ(dialog.GetSearchName(), m.locked ? ecartersSearches.first() : QStringLiteral("  typed  "));
    }
}

TEST_F(UserSearchDialogTest, DoubleClickTakesTheNameAtOnceAndCancelOrCloseBoxGiveNone)
{
    frmUserSearchSaveOpen saving;
    run(saving, frmUserSearchSaveOpen::SaveMode, [](frmUserSearchSaveOpen &d) {
        auto *list = test::child<QListWidget>(&d, "lstUserSearches");
        const QRect item = list->visualItemRect(list->item(0));
        // A double click follows the click that selects the item.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item.center());
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_FALSE(saving.IsCanceled());
    EXPECT_EQ(saving.GetSearchName(), "Carter's alpine groups");

    frmUserSearchSaveOpen cancelled;
    run(cancelled, frmUserSearchSaveOpen::OpenMode, [](frmUserSearchSaveOpen &d) {
        test::child<QListWidget>(&d, "lstUserSearches")->setCurrentRow(0);
        test::child<QPushButton>(&d, "cmdCancel")->click();
    });
    EXPECT_TRUE(cancelled.IsCanceled());

    // An empty list offers nothing; the close box gives no name either.
    frmUserSearchSaveOpen closed;
    run(
        closed, frmUserSearchSaveOpen::DeleteMode,
        [](frmUserSearchSaveOpen &d) {
            auto *list = test::child<QListWidget>(&d, "lstUserSearches");
            EXPECT_EQ(list->count(), 0);
            list->setCurrentRow(0);
            EXPECT_FALSE(test::child<QPushButton>(&d, "cmdSave")->isEnabled());
            d.close();
        },
        "$USER_FIND_SOMETHING_ELSE");
    EXPECT_TRUE(closed.IsCanceled());
}

TEST_F(UserSearchDialogTest, AListThatCannotBeReadIsReportedAndLeftEmpty)
{
    host->query("ALTER TABLE user_option RENAME TO user_option_elsewhere");
    frmUserSearchSaveOpen dialog;
    host->ui.queueAnswer(Answer::OK);
    run(dialog, frmUserSearchSaveOpen::SaveMode, [](frmUserSearchSaveOpen &d) {
        EXPECT_EQ(test::child<QListWidget>(&d, "lstUserSearches")->count(), 0);
        test::child<QPushButton>(&d, "cmdCancel")->click();
    });
    ASSERT_EQ(host->ui.boxes().size(), 1);
    const auto &box = host->ui.boxes().first();
    EXPECT_TRUE(box.text.startsWith("Unable to save default settings: ")) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains("user_option")) << box.text.toStdString();
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);
}

} // namespace

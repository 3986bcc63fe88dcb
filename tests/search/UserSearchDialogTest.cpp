// The saved-search dialog on its own: its three modes, where a name may come from, and how it
// ends, on the sample database (SQLite) where ecarter has two searches and jbrandt one.
#include "SearchTestSupport.h"

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
    for (const auto &[mode, caption] : {std::pair{frmUserSearchSaveOpen::SaveMode, "Save"},
                                        {frmUserSearchSaveOpen::OpenMode, "Open"},
                                        {frmUserSearchSaveOpen::DeleteMode, "Delete"}}) {
        SCOPED_TRACE(caption);
        const bool locked = mode != frmUserSearchSaveOpen::SaveMode; // names come from the list only
        frmUserSearchSaveOpen dialog;
        run(dialog, mode, [&](frmUserSearchSaveOpen &d) {
            auto *save = test::child<QPushButton>(&d, "cmdSave");
            auto *name = test::child<QLineEdit>(&d, "txtSearchName");
            auto *list = test::child<QListWidget>(&d, "lstUserSearches");
            EXPECT_EQ(d.windowTitle(), QString::fromLatin1(caption) + " User Search");
            EXPECT_EQ(save->text(), QString::fromLatin1(caption));
            EXPECT_EQ(test::listed(d), ecartersSearches); // jbrandt's search is not ecarter's
            EXPECT_FALSE(save->isEnabled());
            EXPECT_EQ(name->isReadOnly(), locked);

            // Blanks are no name; a name keeps its blanks.
            name->setText("   ");
            EXPECT_FALSE(save->isEnabled());
            name->setText("  typed  ");
            EXPECT_EQ(save->isEnabled(), !locked);
            list->setCurrentRow(1);
            EXPECT_EQ(name->text(), "Ohio mussels");
            EXPECT_TRUE(save->isEnabled());
            list->clearSelection();
            EXPECT_EQ(save->isEnabled(), !locked);
            if (locked)
                list->setCurrentRow(0);
            else
                name->setText("  typed  ");
            save->click();
        });
        EXPECT_FALSE(dialog.IsCanceled());
        EXPECT_EQ(dialog.GetSearchName(), locked ? ecartersSearches.first() : QStringLiteral("  typed  "));
    }
}

TEST_F(UserSearchDialogTest, AnEmptyListOffersNothingAndTheCloseBoxGivesNoName)
{
    // An empty list offers nothing; the close box gives no name either.
    frmUserSearchSaveOpen closed;
    const auto close = [](frmUserSearchSaveOpen &d) {
        EXPECT_TRUE(test::listed(d).isEmpty());
        test::child<QListWidget>(&d, "lstUserSearches")->setCurrentRow(0);
        EXPECT_FALSE(test::child<QPushButton>(&d, "cmdSave")->isEnabled());
        d.close();
    };
    run(closed, frmUserSearchSaveOpen::DeleteMode, close, "$USER_FIND_SOMETHING_ELSE");
    EXPECT_TRUE(closed.IsCanceled());
}

TEST_F(UserSearchDialogTest, AListThatCannotBeReadIsReportedAndLeftEmpty)
{
    host->query("ALTER TABLE user_option RENAME TO user_option_elsewhere");
    frmUserSearchSaveOpen dialog;
    const QString said = host->boxFrom([&] {
        run(dialog, frmUserSearchSaveOpen::SaveMode, [](frmUserSearchSaveOpen &d) {
            EXPECT_TRUE(test::listed(d).isEmpty());
            test::click(&d, "cmdCancel");
        });
    });
    EXPECT_TRUE(said.startsWith("Unable to save default settings: ") && said.contains("user_option"))
        << said.toStdString();
    EXPECT_EQ(host->ui.boxes().first().icon, MsgIcon::Exclamation);
}

TEST_F(UserSearchDialogTest, ANameIsTypedIntoTheNameBoxWhichTakesOnlyWhatCanBeStoredAndOpenedAgain)
{
    frmUserSearchSaveOpen dialog;
    run(dialog, frmUserSearchSaveOpen::SaveMode, [](frmUserSearchSaveOpen &d) {
        auto *name = test::child<QLineEdit>(&d, "txtSearchName");
        // Typing starts in the name box, not in the list (where it would jump to a stored name).
        ASSERT_EQ(d.focusWidget(), name);
        QTest::keyClicks(d.focusWidget(), "Ohio");
        EXPECT_EQ(name->text(), "Ohio");
        EXPECT_TRUE(test::child<QListWidget>(&d, "lstUserSearches")->selectedItems().isEmpty());

        QTest::keyClicks(name, QString(130, u'x'));
        EXPECT_EQ(name->text().size(), 120); // what the option name column holds
        name->setText(QString::fromUtf16(u"Bog\u0001s \uFFFEand\n fens") + QChar(0));
        EXPECT_EQ(name->text(), "Bogs and fens");
        test::click(&d, "cmdSave");
    });
    EXPECT_EQ(dialog.GetSearchName(), "Bogs and fens");

    // A name is picked from the list in the other modes.
    frmUserSearchSaveOpen open;
    run(open, frmUserSearchSaveOpen::OpenMode, [](frmUserSearchSaveOpen &d) {
        EXPECT_EQ(d.focusWidget(), test::child<QListWidget>(&d, "lstUserSearches"));
        test::click(&d, "cmdCancel");
    });
}

} // namespace

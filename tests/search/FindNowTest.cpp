// Criteria, Find Now and View SQL on the sample database, as the user meets them.
#include "SearchTestSupport.h"

#include "search/frmSQL.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlDatabase>

using namespace talv;
using namespace talv::search;

namespace {

const QString AllGroupsSql = QStringLiteral(
    "SELECT UNIQUE element_group.element_group_id as ID, element_group.element_group_name as Group_Name, "
    "d_element_group_type.element_group_type_desc as Group_Type FROM element_group, d_element_group_type "
    "WHERE element_group.d_element_group_type_id = d_element_group_type.d_element_group_type_id "
    "ORDER BY element_group_id");

QString filtered(const QString &where)
{
    return QStringLiteral(
               "SELECT UNIQUE element_group.element_group_id as ID, element_group.element_group_name as Group_Name, "
               "d_element_group_type.element_group_type_desc as Group_Type FROM element_group, d_element_group_type "
               "WHERE element_group.d_element_group_type_id = d_element_group_type.d_element_group_type_id AND(")
           + where + QStringLiteral(") order by element_group_id");
}

const QStringList Headings = {QStringLiteral("ID"), QStringLiteral("Group Name"), QStringLiteral("Group Type")};

class FindNowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string whyNot;
        host = test::SearchHost::start(talv::host::Engine::SQLite, &whyNot);
        ASSERT_TRUE(host) << whyNot;
        screen = host->openSearch();
        ASSERT_NE(screen, nullptr);
        id = find<QLineEdit>("txtGroupID");
        name = find<QLineEdit>("txtGroupName");
        comparison = find<QComboBox>("cboGroupNameComparison");
        type = find<QComboBox>("cboElementGroupType");
        grid = find<FlexGrid>("fgResults");
        label = find<QLabel>("lblRecordsReturned");
        host->recorder.sqlSent.clear();
    }

    void TearDown() override
    {
        EXPECT_TRUE(host->ui.failures().isEmpty()) << host->ui.failures().join(u'\n').toStdString();
        EXPECT_EQ(host->ui.pendingAnswers(), 0);
        EXPECT_EQ(host->ui.pendingDialogs(), 0);
        EXPECT_EQ(host->ui.busyDepth(), 0);
    }

    template <typename T> T *find(const char *objectName)
    {
        return test::child<T>(screen, QString::fromLatin1(objectName));
    }

    void findNow() { find<QPushButton>("cmdFindNow")->click(); }

    // What View SQL shows for the criteria on screen.
    QString viewedSql()
    {
        QString shown;
        host->ui.queueDialog([&](QDialog &dialog) {
            shown = dialog.findChild<QPlainTextEdit *>(QStringLiteral("txtSQL"))->toPlainText();
            dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
        });
        find<QAction>("mnuOptionsViewSQL")->trigger();
        return shown;
    }


    std::unique_ptr<test::SearchHost> host;
    ELGroupSearch *screen = nullptr;
    QLineEdit *id = nullptr;
    QLineEdit *name = nullptr;
    QComboBox *comparison = nullptr;
    QComboBox *type = nullptr;
    FlexGrid *grid = nullptr;
    QLabel *label = nullptr;
};

TEST_F(FindNowTest, TypeListHoldsABlankThenTheTypesInDisplayOrder)
{
    QStringList items;
    for (int i = 0; i < type->count(); ++i)
        items << type->itemText(i);
    EXPECT_EQ(items, (QStringList{QString(), QStringLiteral("Conservation Priority"), QStringLiteral("Ecological Guild"),
                                  QStringLiteral("Geographic Assemblage"), QStringLiteral("Habitat Association"),
                                  QStringLiteral("Management Unit"), QStringLiteral("Monitoring Program"),
                                  QStringLiteral("Regulatory List"), QStringLiteral("Taxonomic Group")}));

    // An empty type table leaves the list empty, without the blank, and a reset copes with it.
    for (const char *table : {"element_group_membership", "element_group_reference", "element_group",
                              "d_element_group_type"})
        host->query(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    find<QAction>("mnuFileNew")->trigger();
    EXPECT_EQ(type->count(), 0);
    EXPECT_TRUE(host->ui.boxes().isEmpty());
}

TEST_F(FindNowTest, WithoutCriteriaTheHostAsksFirst)
{
    const int busyBefore = host->ui.busyCount();
    host->ui.queueAnswer(Answer::No);
    findNow();
    EXPECT_EQ(host->recorder.messageIds, QStringList{QStringLiteral("APP043")});
    EXPECT_TRUE(host->recorder.searches().isEmpty());
    EXPECT_EQ(label->text(), QStringLiteral("Records Returned:"));
    EXPECT_EQ(host->ui.busyCount(), busyBefore);

    host->ui.queueAnswer(Answer::Yes);
    name->setText(QStringLiteral("   "));
    findNow();
    EXPECT_EQ(host->recorder.searches(), QStringList{AllGroupsSql});
    QSqlQuery count = host->query(QStringLiteral("SELECT COUNT(*) FROM element_group"));
    ASSERT_TRUE(count.next());
    EXPECT_EQ(label->text(), QStringLiteral("Records Returned: %1").arg(count.value(0).toLongLong()));
    EXPECT_EQ(grid->Rows() - 1, count.value(0).toLongLong());
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(test::gridHeadings(*grid), Headings);
    EXPECT_EQ(host->ui.busyCount(), busyBefore + 1);
}

TEST_F(FindNowTest, AnIdDecidesAloneAndGoesInAsTyped)
{
    id->setText(QStringLiteral(" 64 "));
    name->setText(QStringLiteral("nothing like it"));
    type->setCurrentText(QStringLiteral("Regulatory List"));
    findNow();
    EXPECT_EQ(host->recorder.searches(), QStringList{filtered(QStringLiteral("element_group.element_group_id =  64 "))});
    EXPECT_TRUE(host->recorder.messageIds.isEmpty());
    ASSERT_EQ(test::gridRows(*grid).size(), 1);
    EXPECT_TRUE(test::gridRows(*grid).first().startsWith(QStringLiteral("64|Alvar Plants of the Stora Alvaret, Öland|")));
    EXPECT_EQ(label->text(), QStringLiteral("Records Returned: 1"));
    EXPECT_EQ(grid->Row(), 1);
}

TEST_F(FindNowTest, AnIdWithLettersIsRefusedWithoutAQuery)
{
    name->setText(QStringLiteral("Alvar"));
    findNow();
    ASSERT_TRUE(grid->IsBound());

    id->setText(QStringLiteral("abc"));
    host->ui.queueAnswer(Answer::OK);
    findNow();
    EXPECT_EQ(host->recorder.messageIds, QStringList{QStringLiteral("EGP009")});
    ASSERT_EQ(host->ui.boxes().size(), 1);
    EXPECT_EQ(host->ui.boxes().first().icon, MsgIcon::Exclamation);
    EXPECT_EQ(host->recorder.searches().size(), 1);
    EXPECT_EQ(id->selectedText(), QStringLiteral("abc"));
    EXPECT_TRUE(id->hasFocus());
    // The search stopped where the id was found wrong.
    EXPECT_EQ(label->text(), QStringLiteral("Records Returned: Searching..."));
    EXPECT_FALSE(grid->IsBound());
    EXPECT_EQ(grid->Rows(), 1);
}

TEST_F(FindNowTest, NewSearchResetsCriteriaAndResults)
{
    name->setText(QStringLiteral("Alvar"));
    findNow();
    ASSERT_GT(grid->Rows(), 1);
    comparison->setCurrentIndex(ExactMatch);
    type->setCurrentIndex(3);
    id->setText(QStringLiteral("7"));
    host->recorder.sqlSent.clear();

    find<QAction>("mnuFileNew")->trigger();
    EXPECT_EQ(name->text(), QString());
    EXPECT_EQ(id->text(), QString());
    EXPECT_EQ(comparison->currentIndex(), int(Contains));
    EXPECT_EQ(type->currentIndex(), 0);
    EXPECT_EQ(grid->Rows(), 1);
    EXPECT_EQ(label->text(), QStringLiteral("Records Returned:"));
    EXPECT_EQ(test::gridHeadings(*grid), Headings);
    EXPECT_EQ(host->recorder.sqlSent,
              (QStringList{GroupTypesSql, QStringLiteral("select * from ELGroup_WL_VW where 1=0")}));
}

TEST_F(FindNowTest, OkFollowsTheRowsInAModalSearch)
{
    ELGroupSearch *modal = host->openModal();
    auto *ok = test::child<QPushButton>(modal, QStringLiteral("cmdOK"));
    auto *modalName = test::child<QLineEdit>(modal, QStringLiteral("txtGroupName"));
    auto *modalLabel = test::child<QLabel>(modal, QStringLiteral("lblRecordsReturned"));

    modalName->setText(QStringLiteral("Alvar"));
    test::child<QPushButton>(modal, QStringLiteral("cmdFindNow"))->click();
    EXPECT_TRUE(ok->isEnabled());

    modalName->setText(QStringLiteral("no group is called this"));
    test::child<QPushButton>(modal, QStringLiteral("cmdFindNow"))->click();
    EXPECT_EQ(modalLabel->text(), QStringLiteral("Records Returned: 0"));
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_EQ(test::gridHeadings(*test::child<FlexGrid>(modal, QStringLiteral("fgResults"))), Headings);
}

TEST_F(FindNowTest, ViewSqlShowsTheStatementWithoutSearching)
{
    name->setText(QStringLiteral("lady's"));
    comparison->setCurrentIndex(EndsWith);
    type->setCurrentText(QStringLiteral("Habitat Association"));
    const QString expected = filtered(QStringLiteral("UPPER(element_group.element_group_name) LIKE '%LADY''S' AND "
                                                     "d_element_group_type.element_group_type_desc = 'Habitat Association'"));

    QString copied;
    host->ui.queueDialog([&](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("View SQL"));
        auto *text = dialog.findChild<QPlainTextEdit *>(QStringLiteral("txtSQL"));
        EXPECT_TRUE(text->isReadOnly());
        EXPECT_EQ(text->toPlainText(), expected);
        auto *copy = dialog.findChild<QAction *>(QStringLiteral("mnuEditCopy"));
        EXPECT_EQ(copy->text(), QStringLiteral("&Copy"));
        EXPECT_EQ(copy->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
        EXPECT_EQ(dialog.findChild<QMenu *>(QStringLiteral("menuEdit"))->title(), QStringLiteral("&Edit"));
        test::focusOn(text);
        text->selectAll();
        QApplication::clipboard()->clear();
        copy->trigger();
        // The keystroke itself, through the shortcut, copies as well and does not come back.
        QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
        copied = QApplication::clipboard()->text();
        auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"));
        EXPECT_EQ(ok->text(), QStringLiteral("O&K"));
        ok->click();
        EXPECT_FALSE(dialog.isVisible());
    });
    find<QAction>("mnuOptionsViewSQL")->trigger();
    EXPECT_EQ(copied, expected);
    EXPECT_TRUE(host->recorder.sqlSent.isEmpty());

    // No criteria: the all-groups statement, without asking.
    find<QAction>("mnuFileNew")->trigger();
    EXPECT_EQ(viewedSql(), AllGroupsSql);
    EXPECT_TRUE(host->recorder.messageIds.isEmpty());

    // A wrong id is reported and nothing is shown.
    id->setText(QStringLiteral("12 b"));
    host->ui.queueAnswer(Answer::OK);
    EXPECT_EQ(viewedSql(), QString());
    EXPECT_EQ(host->recorder.messageIds, QStringList{QStringLiteral("EGP009")});
}

TEST_F(FindNowTest, AFailedSearchIsReportedAndTheScreenStaysUsable)
{
    QSqlDatabase connection = host->session->connection();
    connection.close();
    name->setText(QStringLiteral("Alvar"));
    host->ui.queueAnswer(Answer::OK);
    findNow();
    ASSERT_EQ(host->ui.boxes().size(), 1);
    const auto &box = host->ui.boxes().first();
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("Error: "))) << box.text.toStdString();
    EXPECT_EQ(box.buttons, MsgButtons::OK);
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);
    EXPECT_EQ(label->text(), QStringLiteral("Records Returned: Searching..."));

    ASSERT_TRUE(connection.open());
    findNow();
    EXPECT_EQ(host->ui.boxes().size(), 1);
    EXPECT_GT(grid->Rows(), 1);
    EXPECT_NE(label->text(), QStringLiteral("Records Returned: Searching..."));

    // The database's own words reach the user.
    host->query(QStringLiteral("ALTER TABLE d_element_group_type RENAME TO group_type_elsewhere"));
    host->ui.queueAnswer(Answer::OK);
    findNow();
    ASSERT_EQ(host->ui.boxes().size(), 2);
    EXPECT_TRUE(host->ui.boxes().last().text.startsWith(QStringLiteral("Error: ")));
    EXPECT_TRUE(host->ui.boxes().last().text.contains(QStringLiteral("d_element_group_type")))
        << host->ui.boxes().last().text.toStdString();
}

} // namespace

// Moving through the list the record screen walks: the buttons, typed positions, the goto
// dialog, and the host's list changing underneath.
#include "DetailsTestSupport.h"

#include "platform/FlexGrid.h"

#include <QDialog>

using namespace talv;
using namespace talv::test;

namespace {

class NavigationTest : public DetailsHostTest
{
protected:
    details::ELGroupDetails *openOn(const QList<qint32> &ids, qint32 id)
    {
        host->listGroups(ids);
        details::ELGroupDetails *screen = host->open(id);
        EXPECT_NE(screen, nullptr);
        return screen;
    }
    static QString position(const QWidget *screen)
    {
        return child<QLineEdit>(screen, "txtCurrentRecord")->text() + QStringLiteral(" of ") +
               labelOf(screen, "lblTotalRecords");
    }
    static void enterPosition(const QWidget *screen, const QString &text)
    {
        auto *box = child<QLineEdit>(screen, "txtCurrentRecord");
        box->setFocus();
        box->setText(text);
        QTest::keyClick(box, Qt::Key_Return);
    }
};

TEST_F(NavigationTest, TheFourMovesWalkTheListAndStopAtItsEnds)
{
    auto *screen = openOn({7, 3, 9}, 3);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(position(screen), QStringLiteral("2 of 3"));
    const auto press = [&](const char *button) { child<QToolButton>(screen, button)->click(); };
    press("cmdNavNext");
    EXPECT_EQ(screen->GetID(), 9);
    EXPECT_EQ(position(screen), QStringLiteral("3 of 3"));
    press("cmdNavNext");
    press("cmdNavLast");
    EXPECT_EQ(screen->GetID(), 9);
    press("cmdNavFirst");
    EXPECT_EQ(screen->GetID(), 7);
    press("cmdNavPrev");
    EXPECT_EQ(position(screen), QStringLiteral("1 of 3"));
    // The Edit > Goto twins, by their keys, act on the screen that has the focus (Ctrl+End stays
    // the text fields' own).
    child<QWidget>(screen, "cboGroupType")->setFocus();
    QTest::keyClick(child<QWidget>(screen, "cboGroupType"), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(screen->GetID(), 9);
    child<QWidget>(screen, "ctrGroupName")->setFocus();
    QTest::keyClick(child<QWidget>(screen, "ctrGroupName"), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(screen->GetID(), 3);
    EXPECT_EQ(textOf(screen, "ctrGroupName"), host->value("SELECT element_group_name FROM element_group WHERE "
                                                          "element_group_id = 3"));
}

TEST_F(NavigationTest, PositionsOutsideTheListOrNotNumbersMoveNothingAndRestoreTheBox)
{
    auto *screen = openOn({7, 3, 9}, 3);
    ASSERT_NE(screen, nullptr);
    for (const QString &typed : {QStringLiteral("0"), QStringLiteral("-3"), QStringLiteral("4"),
                                 QStringLiteral("123456789012345678901234567890")}) {
        host->ui.queueAnswer(Answer::OK);
        enterPosition(screen, typed);
        EXPECT_EQ(host->recorder.messageIds.last(), QStringLiteral("APP003")) << typed.toStdString();
        EXPECT_EQ(position(screen), QStringLiteral("2 of 3")) << typed.toStdString();
    }
    const qsizetype messages = host->recorder.messageIds.size();
    for (const QString &typed : {QStringLiteral("two"), QStringLiteral("  ")}) {
        enterPosition(screen, typed);
        EXPECT_EQ(position(screen), QStringLiteral("2 of 3")) << typed.toStdString();
    }
    EXPECT_EQ(host->recorder.messageIds.size(), messages) << "a text that is no number is simply refused";
    EXPECT_EQ(screen->GetID(), 3);
    enterPosition(screen, QStringLiteral(" 3 "));
    EXPECT_EQ(screen->GetID(), 9);
}

TEST_F(NavigationTest, AGroupDeletedSinceTheListWasMadeIsSkippedWithAMessage)
{
    auto *screen = openOn({7, 3, 9}, 3);
    ASSERT_NE(screen, nullptr);
    host->query("DELETE FROM element_group WHERE element_group_id = 9");
    host->ui.queueAnswer(Answer::OK);
    child<QToolButton>(screen, "cmdNavNext")->click();
    EXPECT_EQ(host->recorder.messageIds.last(), QStringLiteral("APP046"));
    EXPECT_EQ(screen->GetID(), 3);
    EXPECT_EQ(position(screen), QStringLiteral("2 of 3"));
    child<QToolButton>(screen, "cmdNavPrev")->click();
    EXPECT_EQ(screen->GetID(), 7) << "the list's cursor went back to the row on screen";
}

TEST_F(NavigationTest, CancellingTheSavePromptKeepsTheRecordItsEditsAndThePosition)
{
    auto *screen = openOn({7, 3, 9}, 3);
    ASSERT_NE(screen, nullptr);
    typeInto(screen, "ctrGroupName", QStringLiteral("Renamed but not saved"));
    host->ui.queueAnswer(Answer::Cancel); // EGP004
    child<QToolButton>(screen, "cmdNavNext")->click();
    EXPECT_EQ(screen->GetID(), 3);
    EXPECT_EQ(textOf(screen, "ctrGroupName"), QStringLiteral("Renamed but not saved"));
    EXPECT_EQ(position(screen), QStringLiteral("2 of 3"));
    host->ui.queueAnswer(Answer::No);
    child<QToolButton>(screen, "cmdNavNext")->click();
    EXPECT_EQ(screen->GetID(), 9);
    EXPECT_NE(host->value("SELECT element_group_name FROM element_group WHERE element_group_id = 3"),
              QStringLiteral("Renamed but not saved"));
    typeInto(screen, "ctrGroupName", QStringLiteral("Renamed after the move"));
    EXPECT_EQ(captionOf(screen), QStringLiteral("ELGrp - Renamed after the move (Element Group)"))
        << "the screen is not closing, so the caption follows the name";
}

TEST_F(NavigationTest, TheGotoDialogListsTheRowsAndMovesToThePickedOne)
{
    auto *screen = openOn({7, 3, 9, 12}, 7);
    ASSERT_NE(screen, nullptr);
    QStringList headings;
    host->ui.queueDialog([&](QDialog &dialog) {
        auto *grid = child<FlexGrid>(&dialog, "vsgRecords");
        for (int c = 0; c < grid->Cols(); ++c)
            headings << grid->TextMatrix(0, c);
        EXPECT_EQ(grid->Rows(), 5);
        grid->Select(3, 1);
        child<QPushButton>(&dialog, "cmdOK")->click();
    });
    screen->pressToolbarKey(QStringLiteral("Goto"));
    EXPECT_EQ(headings, (QStringList{"ID", "Group Name", "Group Type"}));
    EXPECT_EQ(screen->GetID(), 9);

    host->ui.queueDialog([](QDialog &dialog) { child<QPushButton>(&dialog, "cmdCancel")->click(); });
    QTest::mouseDClick(child<QLineEdit>(screen, "txtCurrentRecord"), Qt::LeftButton);
    EXPECT_EQ(screen->GetID(), 9);
}

TEST_F(NavigationTest, ADeleteElsewhereKeepsThePositionInStep)
{
    auto *screen = openOn({7, 3, 9}, 9);
    ASSERT_NE(screen, nullptr);
    host->lists.removeRecord(host->groupsView, 7);
    screen->NotifyListChanges(QStringLiteral("ListChanged"));
    EXPECT_EQ(position(screen), QStringLiteral("2 of 2"));
    EXPECT_EQ(screen->GetID(), 9);
}

TEST_F(NavigationTest, PositionsAreLookedUpThroughTheListsIdIndex)
{
    // Found by a scan from the top, every move in a working list of a million groups would cost a
    // million comparisons: the list's ID field keeps its "Optimize" index, made again after a
    // merge into the list switched it off.
    auto *screen = openOn({7, 3, 9, 12}, 3);
    ASSERT_NE(screen, nullptr);
    RecordsetPtr list = host->lists.list(host->groupsView);
    EXPECT_TRUE(list->Fields(QStringLiteral("ID")).Optimize());
    list->Fields(QStringLiteral("ID")).SetOptimize(false);
    child<QToolButton>(screen, "cmdNavNext")->click();
    EXPECT_EQ(position(screen), QStringLiteral("3 of 4"));
    EXPECT_EQ(screen->GetID(), 9);
    EXPECT_TRUE(list->Fields(QStringLiteral("ID")).Optimize());
}

// On a list of elements, the screen walks the groups of one element.
class ElementListTest : public NavigationTest
{
protected:
    qint32 element = 0;
    QStringList groups;
    details::ELGroupDetails *openOnElement()
    {
        element = host->value("SELECT element_global_id FROM element_group_membership GROUP BY element_global_id "
                              "HAVING count(*) >= 3 ORDER BY element_global_id")
                      .toInt();
        groups =
            host->rows("SELECT element_group_id FROM element_group_membership WHERE element_global_id = ?", {element});
        const qint32 elementsView = FindViewIndex(host->views, "ELE");
        host->manager->setCurrentView(elementsView);
        host->manager->OpenDetails(elementsView, host->groupsView, element, QString(), RecordsetPtr());
        return qobject_cast<details::ELGroupDetails *>(host->manager->ActiveScreen());
    }
};

TEST_F(ElementListTest, TheScreenWalksTheElementsGroupsAndDropsOneDeletedElsewhere)
{
    auto *screen = openOnElement();
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(host->recorder.sqlSent.contains(details::RecordNavigator::ElementGroupsSql + QString::number(element)));
    EXPECT_FALSE(screen->state().groupList);
    EXPECT_EQ(labelOf(screen, "lblTotalRecords"), QString::number(groups.size()));
    EXPECT_TRUE(groups.contains(QString::number(screen->GetID())));

    const qint32 shown = screen->GetID();
    host->query(QStringLiteral("DELETE FROM element_group WHERE element_group_id = %1").arg(shown));
    screen->NotifyListChanges(QStringLiteral("ListChanged"));
    EXPECT_EQ(labelOf(screen, "lblTotalRecords"), QString::number(groups.size() - 1));
    EXPECT_NE(screen->GetID(), shown);
}

} // namespace

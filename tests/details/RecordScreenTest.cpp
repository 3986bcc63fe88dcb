// The record screen shows, edits, saves, creates and deletes groups through the real host and
// clients on a fresh sample database.
#include "DetailsTestSupport.h"

#include <QStyle>

using namespace talv;
using namespace talv::test;

namespace {

class RecordScreenTest : public DetailsHostTest
{
protected:
    void SetUp() override
    {
        DetailsHostTest::SetUp();
        if (!host)
            return;
        host->listGroups({1, 2, 3, 4, 5});
    }
    details::ELGroupDetails *open(qint32 id)
    {
        details::ELGroupDetails *screen = host->open(id);
        EXPECT_NE(screen, nullptr);
        return screen;
    }
    // Saves from the menu, answering the boxes the save shows.
    void save(details::ELGroupDetails *screen) { screen->command(QStringLiteral("mnuFileSave"))->trigger(); }
};

using RecordOnBothEngines = OnBothEngines<RecordScreenTest>;
TALV_ON_BOTH_ENGINES(RecordOnBothEngines);

TEST_P(RecordOnBothEngines, ShowsEditsAndSavesAGroupAndTheListFollows)
{
    auto *screen = open(2);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(textOf(screen, "ctrGroupName"), QStringLiteral("Alpine Tundra Flora of the Wind River Range"));
    EXPECT_EQ(child<QComboBox>(screen, "cboGroupType")->currentText(), QStringLiteral("Habitat Association"));
    EXPECT_EQ(child<QComboBox>(screen, "cboMemberType")->currentText(), QStringLiteral("Botanical"));
    EXPECT_EQ(captionOf(screen), QStringLiteral("ELGrp - Alpine Tundra Flora of the Wind River Range (Element Group)"));
    EXPECT_EQ(labelOf(screen, "lblElgroupID"), QStringLiteral("2"));
    EXPECT_EQ(labelOf(screen, "lblUniversalKeyID"), QStringLiteral("APP-ELGRP00002"));
    EXPECT_EQ(child<QLineEdit>(screen, "txtSummaryGroupType")->text(), QStringLiteral("Habitat Association"));
    EXPECT_EQ(child<QLineEdit>(screen, "txtCurrentRecord")->text(), QStringLiteral("2"));
    EXPECT_EQ(labelOf(screen, "lblTotalRecords"), QStringLiteral("5"));
    EXPECT_FALSE(child<QLabel>(screen, "lblNewRecord")->isVisibleTo(screen));
    EXPECT_EQ(child<QLineEdit>(screen, "txtSummaryGroupName")->cursorPosition(), 0) << "a long name shows its start";
    // The host's window fits the fixed-size screen: its top sits right under the title bar.
    auto *window = qobject_cast<QMdiSubWindow *>(screen->parentWidget());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->widget()->size(), screen->size());
    EXPECT_LE(window->height() - screen->height(),
              window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window) +
                  2 * window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window) + 4);

    typeInto(screen, "ctrGroupName", QStringLiteral("Wind River Alpine Flora, O'Brien's list"));
    EXPECT_EQ(captionOf(screen), QStringLiteral("ELGrp - Wind River Alpine Flora, O'Brien's list (Element Group)"));
    EXPECT_EQ(child<QLineEdit>(screen, "txtSummaryGroupName")->toolTip(),
              QStringLiteral("Wind River Alpine Flora, O'Brien's list"));
    child<QComboBox>(screen, "cboGroupType")->setCurrentText(QStringLiteral("Monitoring Program"));
    EXPECT_EQ(child<QLineEdit>(screen, "txtSummaryGroupType")->text(), QStringLiteral("Monitoring Program"));

    save(screen);
    EXPECT_EQ(host->value("SELECT element_group_name, d_element_group_type_id, rec_last_mod_user FROM element_group "
                          "WHERE element_group_id = 2"),
              QStringLiteral("Wind River Alpine Flora, O'Brien's list|7|ecarter"));
    // The uniqueness question doubles the quote and leaves the group's own row out.
    EXPECT_TRUE(host->recorder.sqlSent.contains(
        QStringLiteral("SELECT ELEMENT_GROUP_ID FROM ELEMENT_GROUP WHERE Upper(ELEMENT_GROUP_NAME) = "
                       "'WIND RIVER ALPINE FLORA, O''BRIEN''S LIST' AND NOT ELEMENT_GROUP_ID = 2")));
    // The working list shows the saved name (UpdateList).
    RecordsetPtr list = host->lists.list(host->groupsView);
    list->MoveFirst();
    list->Find(QStringLiteral("ID = 2"));
    EXPECT_EQ(list->Value(QStringLiteral("Group_Name")).toString(),
              QStringLiteral("Wind River Alpine Flora, O'Brien's list"));
    EXPECT_TRUE(screen->CanClose()) << "nothing is left to save";
}

TEST_P(RecordOnBothEngines, NewGroupsStartWithTypeOneAndAreCountedPastTheListUntilSaved)
{
    auto *screen = host->openNew();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(child<QComboBox>(screen, "cboGroupType")->currentText(), QStringLiteral("Taxonomic Group"));
    EXPECT_EQ(child<QComboBox>(screen, "cboMemberType")->currentText(), QStringLiteral("Botanical"));
    EXPECT_TRUE(child<QLabel>(screen, "lblNewRecord")->isVisibleTo(screen));
    EXPECT_EQ(child<QLineEdit>(screen, "txtCurrentRecord")->text(), QStringLiteral("6"));
    EXPECT_EQ(labelOf(screen, "lblTotalRecords"), QStringLiteral("6"));
    const qint32 id = screen->GetID();
    EXPECT_GT(id, 160);

    typeInto(screen, "ctrGroupName", QStringLiteral("Étang plants"));
    save(screen);
    EXPECT_EQ(host->value("SELECT element_group_name, d_element_group_type_id, d_group_member_type_id, org_unit_id, "
                          "rec_create_user FROM element_group WHERE element_group_id = ?",
                          {id}),
              QStringLiteral("Étang plants|1|1|1|ecarter"));
    EXPECT_FALSE(child<QLabel>(screen, "lblNewRecord")->isVisibleTo(screen));
    EXPECT_TRUE(host->listedIds().contains(QString::number(id))) << "the saved group joins the working list";

    // The same name in capitals, accents included, is taken on either engine.
    auto *second = host->openNew();
    ASSERT_NE(second, nullptr);
    typeInto(second, "ctrGroupName", QStringLiteral("ÉTANG PLANTS"));
    host->ui.queueAnswer(Answer::OK);
    save(second);
    EXPECT_EQ(host->recorder.messageIds.last(), QStringLiteral("EGP010"));
    EXPECT_EQ(host->value("SELECT count(*) FROM element_group WHERE upper(element_group_name) LIKE '%TANG PLANTS'"),
              QStringLiteral("1"));
}

TEST_P(RecordOnBothEngines, DeletingShowsTheRowThatTookItsPlaceAndTheLastRowQuits)
{
    auto *screen = open(3);
    ASSERT_NE(screen, nullptr);
    host->ui.queueAnswer(Answer::Yes); // EGP002
    screen->command(QStringLiteral("mnuEditDelete"))->trigger();
    EXPECT_EQ(host->value("SELECT count(*) FROM element_group WHERE element_group_id = 3"), QStringLiteral("0"));
    EXPECT_EQ(host->listedIds(), (QStringList{"1", "2", "4", "5"}));
    EXPECT_EQ(screen->GetID(), 4) << "the row that moved into position 3";
    EXPECT_EQ(child<QLineEdit>(screen, "txtCurrentRecord")->text(), QStringLiteral("3"));
    EXPECT_EQ(labelOf(screen, "lblTotalRecords"), QStringLiteral("4"));

    host->listGroups({5});
    auto *single = open(5);
    ASSERT_NE(single, nullptr);
    QSignalSpy quit(single, &details::ELGroupDetails::Quit);
    host->ui.queueAnswer(Answer::Yes);
    single->pressToolbarKey(QStringLiteral("Delete"));
    EXPECT_EQ(quit.count(), 1);
}

TEST_F(RecordScreenTest, SavingChecksTheNameAndTheTypesInOrderAndWritesNothingWhenRefused)
{
    auto *screen = open(2);
    ASSERT_NE(screen, nullptr);
    const QString before = host->value("SELECT * FROM element_group WHERE element_group_id = 2");

    // Another group's name in other letter case is taken.
    typeInto(screen, "ctrGroupName", QStringLiteral("alpine plants of the swiss alps"));
    host->ui.queueAnswer(Answer::OK);
    save(screen);
    EXPECT_EQ(host->recorder.messageIds.last(), QStringLiteral("EGP010"));

    typeInto(screen, "ctrGroupName", QString());
    host->ui.queueAnswer(Answer::OK);
    save(screen);
    EXPECT_EQ(host->recorder.messageIds.last(), QStringLiteral("EGP005"));
    EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(screen, "ctrGroupName"));

    typeInto(screen, "ctrGroupName", QStringLiteral("A name of its own"));
    child<LookupComboBox>(screen, "cboMemberType")->setBoundValue(QVariant());
    host->ui.queueAnswer(Answer::OK);
    save(screen);
    EXPECT_EQ(host->recorder.messageIds.last(), QStringLiteral("EGP007"));
    EXPECT_EQ(child<QTabWidget>(screen, "tabElementGroup")->currentIndex(), 0);
    EXPECT_EQ(host->value("SELECT * FROM element_group WHERE element_group_id = 2"), before);

    // Discarding on close leaves the database as it was.
    host->ui.queueAnswer(Answer::No); // EGP004
    EXPECT_TRUE(screen->CanClose());
    EXPECT_EQ(host->value("SELECT * FROM element_group WHERE element_group_id = 2"), before);
}

TEST_F(RecordScreenTest, TabsAreFilledOnFirstViewOnlyAndAgainForTheNextRecord)
{
    auto *screen = open(1);
    ASSERT_NE(screen, nullptr);
    auto *tabs = child<QTabWidget>(screen, "tabElementGroup");
    EXPECT_TRUE(textOf(screen, "ctrEMGHabitat").isEmpty()) << "not filled before it is shown";
    tabs->setCurrentIndex(1);
    EXPECT_EQ(textOf(screen, "ctrEMGHabitat"),
              QStringLiteral("Members occupy wind-scoured fellfields, snowbeds and alpine turf above treeline."));
    const qsizetype queries = host->recorder.sqlSent.size();
    tabs->setCurrentIndex(3);
    EXPECT_EQ(host->recorder.sqlSent.size(), queries + 1) << "the references are read when their tab is shown";
    tabs->setCurrentIndex(1);
    tabs->setCurrentIndex(3);
    EXPECT_EQ(host->recorder.sqlSent.size(), queries + 1) << "and only once per record";

    screen->command(QStringLiteral("mnuEditGotoNext"))->trigger();
    EXPECT_EQ(screen->GetID(), 2);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_TRUE(textOf(screen, "ctrEMGHabitat").isEmpty());
    tabs->setCurrentIndex(1);
    EXPECT_FALSE(textOf(screen, "ctrEMGHabitat").isEmpty());
}

TEST_F(RecordScreenTest, CanCloseAsksOnlyAboutRealChangesAndEachAnswerDoesWhatItSays)
{
    auto *screen = open(1);
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screen->CanClose());
    EXPECT_TRUE(host->recorder.messageIds.isEmpty());

    child<QTabWidget>(screen, "tabElementGroup")->setCurrentIndex(1);
    typeInto(screen, "ctrEMGRange", QStringLiteral("Swiss Alps only."));
    host->ui.queueAnswer(Answer::Cancel);
    EXPECT_FALSE(screen->CanClose());
    EXPECT_EQ(textOf(screen, "ctrEMGRange"), QStringLiteral("Swiss Alps only.")) << "the edit stays on screen";

    host->ui.queueAnswer(Answer::Yes);
    EXPECT_TRUE(screen->CanClose());
    EXPECT_EQ(host->value("SELECT range_com FROM element_group WHERE element_group_id = 1"),
              QStringLiteral("Swiss Alps only."));
}

class ReadOnlyRecordTest : public RecordScreenTest
{
protected:
    QString user() const override { return QStringLiteral("jbrandt"); }
};

TEST_F(ReadOnlyRecordTest, AReaderGetsNoWriteCommandAndIsNeverAskedToSave)
{
    auto *screen = open(1);
    ASSERT_NE(screen, nullptr);
    for (const char *command : {"mnuFileNew", "mnuFileSave", "mnuEditDelete", "mnuToolsCopy"})
        EXPECT_FALSE(screen->command(QString::fromLatin1(command))->isEnabled()) << command;
    EXPECT_FALSE(child<QPushButton>(screen, "cmdAddElement")->isEnabled());
    typeInto(screen, "ctrGroupName", QStringLiteral("Edited by a reader"));
    screen->pressToolbarKey(QStringLiteral("Save"));
    EXPECT_TRUE(screen->CanClose());
    EXPECT_TRUE(host->recorder.messageIds.isEmpty());
    EXPECT_EQ(host->value("SELECT element_group_name FROM element_group WHERE element_group_id = 1"),
              QStringLiteral("Alpine Plants of the Swiss Alps"));
}

} // namespace

// A user's habitat edits, their audit trail with a comment, and a copy into a new group, all
// through talv-host's main window.
#include "LiveHostFixture.h"

using namespace talv;
using namespace talv::test;

namespace {

class HabitatAuditTest : public LiveHostTest
{
protected:
    // Group 1 from the whole working list, opened with Enter.
    void openFirstGroup()
    {
        window->findChild<QAction *>("mnuViewAddAll")->trigger();
        ASSERT_NE(openRow(1), nullptr);
        ASSERT_EQ(screen()->GetID(), 1);
    }
};

TEST_F(HabitatAuditTest, TwoHabitatEditsShowInTheFieldsTrailWithTheCommentTheUserAdded)
{
    openFirstGroup();
    const QString original = group("habitat_com", 1);
    for (const char *habitat : {"Scree", "Scree and \"late\" snowbeds"}) {
        type("ctrEMGHabitat", QString::fromLatin1(habitat));
        pressIn("ctrEMGHabitat", Qt::CTRL | Qt::Key_S);
        EXPECT_EQ(group("habitat_com", 1), habitat);
    }

    // File > Open > Attribute Maintenance with the cursor in the habitat: its two changes.
    const QString comment = "Checked by \"JB\", O'Brien's notes;\nsecond survey";
    QString caption;
    const QStringList trail = auditTrail("mnuFileOpenAttrMaint", [&](frmAuditLog &log) {
        caption = log.windowTitle();
        // The user pastes the note into the comment of the latest change and presses OK.
        FlexGrid &grid = *log.grid();
        const QModelIndex cell = grid.model()->index(grid.Rows() - 2, frmAuditLog::ColComments);
        grid.setCurrentIndex(cell);
        grid.edit(cell);
        auto *editor = grid.viewport()->findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr);
        QApplication::clipboard()->setText(comment);
        press(editor, Qt::CTRL | Qt::Key_V);
        press(editor, Qt::Key_Return);
        QApplication::processEvents(); // the grid takes the text once the key is handled
        child<QPushButton>(&log, "cmdOK")->click();
    });
    EXPECT_TRUE(caption.startsWith("Attribute Maintenance - ")) << caption.toStdString();
    EXPECT_TRUE(caption.endsWith(" (habitat_com)")) << caption.toStdString();
    EXPECT_EQ(trail, QStringList({"habitat_com|" + original + "|", "habitat_com|Scree|"}));
    EXPECT_EQ(value("SELECT c.comments FROM audit_log_column c JOIN audit_log l ON l.audit_log_id = c.audit_log_id "
                    "WHERE l.record_id = 1 AND c.new_value = ?",
                    {"Scree and \"late\" snowbeds"}),
              comment);
    // Reopened, the comment is there as typed; the record's trail holds it too.
    EXPECT_EQ(auditTrail("mnuFileOpenAttrMaint").last(), "habitat_com|Scree|" + comment);
    EXPECT_TRUE(auditTrail("mnuFileOpenRecMaint").contains("habitat_com|Scree|" + comment));
}

TEST_F(HabitatAuditTest, CopyDataFromFillsANewGroupOnScreenAndInTheDatabase)
{
    openFirstGroup();
    pressIn("ctrGroupName", Qt::CTRL | Qt::Key_N);
    const qint32 id = screen()->GetID();
    type("ctrGroupName", "Copied Orchids");
    ui.queueAnswer(Answer::OK); // the new group must be saved first
    ui.queueDialog(pick({"13"}));
    ui.queueAnswer(Answer::Yes);
    screen()->command("mnuToolsCopy")->trigger();
    EXPECT_TRUE(lastBox().startsWith("Copy the data of the selected element group")) << lastBox().toStdString();

    // The copied texts on screen and in the database; the new group keeps its own name.
    const char *texts = "element_group_desc, range_com, habitat_com, ecology_com, threat_com, status_com, trend_com";
    EXPECT_EQ(group(texts, id), group(texts, 13));
    EXPECT_EQ(group("element_group_name", id), "Copied Orchids");
    EXPECT_EQ(shownIn("ctrGroupName"), "Copied Orchids");
    EXPECT_EQ(shownIn("ctrEMGHabitat"), group("habitat_com", 13));
    EXPECT_EQ(shownIn("ctrThreat"), group("threat_com", 13));
    const QString members = "SELECT element_global_id FROM element_group_membership WHERE element_group_id = ? "
                            "ORDER BY display_order";
    EXPECT_EQ(value(members, {id}), value(members, {13}));
    EXPECT_EQ(gridIds("fgElements", "ElementID").join(u'\n'), value(members, {13}));
    EXPECT_TRUE(listed().contains(QString::number(id)));
}

} // namespace

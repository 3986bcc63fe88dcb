// The record screen's text fields as the database configures them, and the editing aids that act
// on the field with the focus.
#include "DetailsTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>

using namespace talv;
using namespace talv::test;

namespace {

const QString ConfigurationSql = QStringLiteral(
    "SELECT  SYSTEM_CONTROL.CONTROL_NAME ,SYSTEM_CONTROL.IS_RICH_TEXT, SYSTEM_CONTROL.MAX_WIDTH FROM SYSTEM_CONTROL "
    "WHERE (SYSTEM_CONTROL.CONTROL_TYPE = 'TextBox' OR SYSTEM_CONTROL.CONTROL_TYPE = 'RichTextControl') AND "
    "SYSTEM_CONTROL.FORM_NAME = '%1'");

class TextFieldsTest : public DetailsHostTest
{
protected:
    void SetUp() override
    {
        DetailsHostTest::SetUp();
        if (host)
            host->listGroups({1});
    }
    details::ELGroupDetails *open()
    {
        details::ELGroupDetails *screen = host->open(1);
        EXPECT_NE(screen, nullptr);
        return screen;
    }
    static RichTextControl *field(const QObject *screen, const char *name)
    {
        return child<RichTextControl>(screen, name);
    }
};

TEST_F(TextFieldsTest, TheHostConfiguresEveryFieldFromTheDatabaseByTheScreensName)
{
    auto *screen = open();
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(host->recorder.sqlSent.contains(ConfigurationSql.arg("ELGroupDetails")));
    RichTextControl *name = field(screen, "ctrGroupName");
    EXPECT_FALSE(name->isRich());
    EXPECT_EQ(name->MaxLength(), 120) << "the name column holds 120 characters";
    EXPECT_TRUE(name->EnableEditor());
    for (const char *comment : {"ctrGroupDescription", "ctrEMGRange", "ctrEMGHabitat", "ctrEMGEcology", "ctrThreat",
                                "ctrEMGStatus", "ctrEMGTrend"}) {
        EXPECT_TRUE(field(screen, comment)->isRich()) << comment;
        EXPECT_GT(field(screen, comment)->MaxLength(), 0) << comment;
    }
    typeInto(screen, "ctrGroupName", QString(130, u'x'));
    EXPECT_EQ(screen->group()->property("ElementGroupName").toString().size(), 120);
}

TEST_F(TextFieldsTest, ARowWithoutALengthIsReportedAndTheOthersAreStillApplied)
{
    host->query("UPDATE system_control SET max_width = 0 WHERE form_name = 'ELGroupDetails' AND "
                "control_name = 'ctrEMGHabitat'");
    host->query("UPDATE system_control SET max_width = NULL, is_rich_text = NULL WHERE form_name = 'ELGroupDetails' "
                "AND control_name = 'ctrThreat'");
    host->ui.queueAnswer(Answer::OK);
    host->ui.queueAnswer(Answer::OK);
    auto *screen = open();
    ASSERT_NE(screen, nullptr);
    QStringList reported;
    for (const auto &box : host->ui.boxes()) {
        EXPECT_EQ(box.title, QStringLiteral("Rich Text: Data Error"));
        EXPECT_EQ(box.icon, MsgIcon::Critical);
        reported << box.text;
    }
    reported.sort();
    EXPECT_EQ(reported,
              (QStringList{"ERROR: Max length not set for ctrEMGHabitat", "ERROR: Max length not set for ctrThreat"}));
    EXPECT_FALSE(field(screen, "ctrThreat")->isRich()) << "no rich flag is plain text";
    EXPECT_TRUE(field(screen, "ctrThreat")->EnableEditor());
    EXPECT_EQ(field(screen, "ctrEMGTrend")->MaxLength(), 16000);
}

TEST_F(TextFieldsTest, ARowNamingNoControlEndsTheSetupWithoutAMessage)
{
    host->query("UPDATE system_control SET control_name = control_name || 'X' WHERE form_name = 'ELGroupDetails'");
    auto *screen = open();
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(host->ui.boxes().isEmpty());
    EXPECT_EQ(field(screen, "ctrGroupName")->MaxLength(), 0) << "left as designed";

    // Named by the caller, the screen's own rows apply to the controls it is handed.
    screen->ApplyRichText({}, QStringLiteral("TALV_ELGroup.ELGroupDetails"), screen->findChildren<QObject *>());
    EXPECT_TRUE(host->recorder.sqlSent.contains(ConfigurationSql.arg("TALV_ELGroup.ELGroupDetails")));
    EXPECT_EQ(field(screen, "ctrGroupName")->MaxLength(), 120);
}

TEST_F(TextFieldsTest, CutCopyAndPasteActOnTheFieldThatHadTheFocusBeforeTheMenu)
{
    auto *screen = open();
    ASSERT_NE(screen, nullptr);
    screen->window()->activateWindow();
    RichTextControl *name = field(screen, "ctrGroupName");
    name->setFocus();
    name->selectAll();
    QApplication::clipboard()->clear();
    screen->command(QStringLiteral("mnuEditCopy"))->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Alpine Plants of the Swiss Alps"));
    screen->pressToolbarKey(QStringLiteral("Cut"));
    EXPECT_TRUE(name->toPlainText().isEmpty());
    screen->command(QStringLiteral("mnuEditPaste"))->trigger();
    EXPECT_EQ(name->toPlainText(), QStringLiteral("Alpine Plants of the Swiss Alps"));

    // A plain text box gets the keystroke.
    auto *position = child<QLineEdit>(screen, "txtCurrentRecord");
    position->setFocus();
    screen->command(QStringLiteral("mnuEditPaste"))->trigger();
    EXPECT_EQ(host->ui.keystrokes().last(), QStringLiteral("^V"));
}

TEST_F(TextFieldsTest, TheTextEditorEditsTheFocusedFieldAndNothingElse)
{
    auto *screen = open();
    ASSERT_NE(screen, nullptr);
    child<QPushButton>(screen, "cmdAddElement")->setFocus();
    screen->pressToolbarKey(QStringLiteral("TextEditor"));
    EXPECT_EQ(host->ui.dialogsShown(), 0) << "a button has no text to edit";

    field(screen, "ctrGroupDescription")->setFocus();
    host->ui.queueDialog([](QDialog &dialog) {
        auto *editor = child<RichTextControl>(&dialog, "ctrEditor");
        editor->SetText(QStringLiteral("Rewritten in the editor."));
        child<QPushButton>(&dialog, "cmdOK")->click();
    });
    screen->command(QStringLiteral("mnuToolsTextEditor"))->trigger();
    EXPECT_EQ(screen->group()->property("ElementGroupDesc").toString(), QStringLiteral("Rewritten in the editor."));
}

} // namespace

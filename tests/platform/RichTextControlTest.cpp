#include "RichTextTestSupport.h"

#include "platform/StoredText.h"

#include <QMetaProperty>

using namespace talv;
using namespace talv::test;

namespace {

using RichTextControlTest = RichTextFixture;

void setBold(RichTextControl &control, int from, int to, bool bold)
{
    QTextCursor cursor(control.document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    cursor.mergeCharFormat(format);
}

void makePlain(RichTextControl &control)
{
    control.SetControlMode(RichTextControl::PlainMode);
    control.SetTextFormat(RichTextControl::PlainFormat);
}

TEST_F(RichTextControlTest, RichFieldStoresHtmlOnlyWhileTheTextCarriesFormatting)
{
    QTest::keyClicks(field, QStringLiteral("plain words"));
    EXPECT_EQ(field->Text(), QStringLiteral("plain words"));
    setBold(*field, 6, 11, true);
    const QString html = field->Text();
    EXPECT_TRUE(isStoredHtml(html)) << html.toStdString();
    setBold(*field, 6, 11, false);
    EXPECT_EQ(field->Text(), QStringLiteral("plain words"));

    // Stored HTML comes back formatted, and reads back exactly as it was stored until edited.
    field->SetText(html);
    EXPECT_EQ(field->toPlainText(), QStringLiteral("plain words"));
    QTextCursor inBold(field->document());
    inBold.setPosition(8);
    EXPECT_EQ(inBold.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(field->Text(), html);
}

TEST_F(RichTextControlTest, PlainTextIsNeverMisreadAsMarkupAndReadsBackUnchanged)
{
    for (const QString &stored : {QStringLiteral("<b> & c"), QStringLiteral("Oaks <html> & ashes"),
                                  QStringLiteral("line one\r\nline two"), QStringLiteral("x &amp; y")}) {
        field->SetText(stored);
        EXPECT_EQ(field->Text(), stored);
        EXPECT_EQ(field->toPlainText(), QString(stored).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
    // Once edited, the field stores what it shows.
    field->moveCursor(QTextCursor::End);
    QTest::keyClicks(field, QStringLiteral("!"));
    EXPECT_EQ(field->Text(), QStringLiteral("x &amp; y!"));
}

TEST_F(RichTextControlTest, PlainFieldPastesTheWordsOfFormattedText)
{
    makePlain(*field);
    auto *formatted = new QMimeData;
    formatted->setHtml(QStringLiteral("<b>Bold</b> <i>words</i>"));
    formatted->setText(QStringLiteral("Bold words"));
    QApplication::clipboard()->setMimeData(formatted);
    field->DoPaste();
    EXPECT_EQ(field->Text(), QStringLiteral("Bold words"));
    EXPECT_FALSE(carriesFormatting(*field->document()));

    auto *htmlOnly = new QMimeData;
    htmlOnly->setHtml(QStringLiteral("<p><u>only</u> html</p>"));
    QApplication::clipboard()->setMimeData(htmlOnly);
    field->DoPaste();
    EXPECT_EQ(field->Text(), QStringLiteral("Bold wordsonly html"));

    // A rich field takes the formatting.
    auto *again = new QMimeData;
    again->setHtml(QStringLiteral("<b>Bold</b>"));
    QApplication::clipboard()->setMimeData(again);
    field->SetControlMode(RichTextControl::RichMode);
    field->SetTextFormat(RichTextControl::RichFormat);
    field->DoPaste();
    EXPECT_TRUE(isStoredHtml(field->Text()));
}

TEST_F(RichTextControlTest, TurningAFieldPlainDropsItsFormatting)
{
    field->SetText(QStringLiteral("<html><body><p align=\"center\"><b>Quercus</b> robur</p></body></html>"));
    ASSERT_TRUE(carriesFormatting(*field->document()));
    QSignalSpy changes(field, &RichTextControl::Change);
    field->SetControlMode(RichTextControl::PlainMode);
    EXPECT_EQ(field->Text(), QStringLiteral("Quercus robur"));
    EXPECT_FALSE(carriesFormatting(*field->document()));
    EXPECT_EQ(changes.size(), 1);
}

TEST_F(RichTextControlTest, PropertiesAreReachedByNameAndBadValuesAreRefusedWithAMessage)
{
    QWidget form;
    EXPECT_TRUE(field->setProperty("ControlMode", 0));
    EXPECT_TRUE(field->setProperty("TextFormat", 1));
    EXPECT_TRUE(field->setProperty("EnableEditor", true));
    EXPECT_TRUE(field->setProperty("MaxLength", 12));
    EXPECT_TRUE(field->setProperty("ParentForm", QVariant::fromValue<QWidget *>(&form)));
    EXPECT_TRUE(field->setProperty("Tag", QStringLiteral("RangeCom")));
    EXPECT_TRUE(field->setProperty("Text", QStringLiteral("Range")));
    EXPECT_FALSE(field->isRich());
    EXPECT_TRUE(field->EnableEditor());
    EXPECT_EQ(field->property("MaxLength").toInt(), 12);
    EXPECT_EQ(field->ParentForm(), &form);
    EXPECT_EQ(field->property("Tag").toString(), QStringLiteral("RangeCom"));
    EXPECT_STREQ(field->metaObject()->userProperty().name(), "Text");
    EXPECT_TRUE(field->metaObject()->userProperty().hasNotifySignal());

    ui.queueAnswer(Answer::OK);
    ui.queueAnswer(Answer::OK);
    ui.queueAnswer(Answer::OK);
    field->setProperty("ControlMode", 7);
    field->setProperty("TextFormat", 2);
    field->SetMaxLength(-1);
    EXPECT_EQ(field->ControlMode(), RichTextControl::PlainMode);
    EXPECT_EQ(field->TextFormat(), RichTextControl::PlainFormat);
    EXPECT_EQ(field->MaxLength(), 12);
    ASSERT_EQ(ui.boxes().size(), 3);
    EXPECT_EQ(ui.boxes().at(0).text,
              QStringLiteral("Unable to set ControlMode: 7 is not a control mode (0 plain text, 1 rich text)."));
    EXPECT_EQ(ui.boxes().at(2).text, QStringLiteral("Unable to set MaxLength: -1 is not a length (0 for no limit)."));
}

TEST_F(RichTextControlTest, OneLineFieldLeavesEnterToItsWindowAndTabLeavesEveryField)
{
    field->SetMultiLine(false);
    QTest::keyClicks(field, QStringLiteral("Oak"));
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClick(field, Qt::Key_Enter, Qt::ShiftModifier);
    pasteText(QStringLiteral(" woods\nof\r\nthe north"));
    EXPECT_EQ(field->Text(), QStringLiteral("Oak woods of the north"));
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), nextBox);

    field->SetMultiLine(true);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(field->document()->blockCount(), 2);
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), nextBox);
    EXPECT_FALSE(field->toPlainText().contains(u'\t'));
}

TEST_F(RichTextControlTest, ChangeComesOncePerEditAndNotWhenUnderliningIsRedone)
{
    QSignalSpy changes(field, &RichTextControl::Change);
    field->SetText(QStringLiteral("Qercus"));
    EXPECT_EQ(changes.size(), 1);
    field->SetText(QStringLiteral("Qercus"));
    EXPECT_EQ(changes.size(), 1);
    QTest::keyClicks(field, QStringLiteral("ab"));
    EXPECT_EQ(changes.size(), 3);
    speller->acceptWords({QStringLiteral("abQercus")});
    EXPECT_EQ(changes.size(), 3);
}

TEST_F(RichTextControlTest, EditorWindowReturnsItsTextOnlyOnOk)
{
    field->LaunchEditor(QStringLiteral("RangeCom"));
    EXPECT_EQ(ui.dialogsShown(), 0); // not offered until enabled

    field->SetEnableEditor(true);
    field->SetMaxLength(20);
    field->SetText(QStringLiteral("Dry slopes"));
    field->SetDescription(QStringLiteral("Range Comments"));
    ui.queueDialog([](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Range Comments"));
        auto &editor = child<RichTextControl>(dialog, "ctrEditor");
        EXPECT_EQ(editor.Text(), QStringLiteral("Dry slopes"));
        EXPECT_EQ(editor.MaxLength(), 20);
        EXPECT_TRUE(editor.isRich());
        QTest::keyClicks(&editor, QStringLiteral(" and rocky ridges"));
        EXPECT_EQ(editor.Text(), QStringLiteral("Dry slopes and rocky"));
        click(dialog, "cmdCancel");
    });
    field->LaunchEditor(QStringLiteral("RangeCom"));
    EXPECT_EQ(field->Text(), QStringLiteral("Dry slopes"));

    field->SetDescription({});
    ui.queueDialog([](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("RangeCom"));
        QTest::keyClicks(&child<RichTextControl>(dialog, "ctrEditor"), QStringLiteral(" in sun"));
        click(dialog, "cmdOK");
    });
    QSignalSpy changes(field, &RichTextControl::Change);
    field->LaunchEditor(QStringLiteral("RangeCom"));
    EXPECT_EQ(field->Text(), QStringLiteral("Dry slopes in sun"));
    EXPECT_GE(changes.size(), 1);
    field->undo();
    EXPECT_EQ(field->Text(), QStringLiteral("Dry slopes"));
}

} // namespace

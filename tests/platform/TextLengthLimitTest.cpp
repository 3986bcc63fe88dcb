#include "RichTextTestSupport.h"

#include "platform/TextLengthLimit.h"

#include <QDropEvent>
#include <QToolTip>

using namespace talv;
using namespace talv::test;

namespace {

const QString ThumbsUpMediumSkin = QStringLiteral("\U0001F44D\U0001F3FD");
const QString FamilyEmoji = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467");
const QString EAcute = QStringLiteral("e\u0301");

using TextLengthLimitTest = RichTextFixture;

TEST(VisibleLength, CountsWhatTheUserSeesNotCodeUnits)
{
    EXPECT_EQ(visibleLength(u"abc"), 3);
    EXPECT_EQ(visibleLength(ThumbsUpMediumSkin), 1);
    EXPECT_EQ(visibleLength(FamilyEmoji), 1);
    EXPECT_EQ(visibleLength(EAcute + QStringLiteral("\u0327")), 1); // two accents on one letter
    EXPECT_EQ(visibleLength(u"a\nb"), 3);
    EXPECT_EQ(visibleLength(u""), 0);
}

TEST_F(TextLengthLimitTest, TypingStopsAtTheLimitWithAQuietBeepPerRefusedKey)
{
    field->SetMaxLength(5);
    QSignalSpy cuts(field, &RichTextControl::TextCut);
    QTest::keyClicks(field, QStringLiteral("abcdefgh"));
    EXPECT_EQ(field->Text(), QStringLiteral("abcde"));
    EXPECT_EQ(ui.beeps(), 3);
    EXPECT_EQ(cuts.size(), 3);
    EXPECT_TRUE(ui.boxes().isEmpty());
    // Replacing a selection is not adding: the field stays full, nothing is refused.
    QTest::keyClick(field, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClicks(field, QStringLiteral("X"));
    EXPECT_EQ(field->Text(), QStringLiteral("abcdX"));
    EXPECT_EQ(ui.beeps(), 3);
}

TEST_F(TextLengthLimitTest, PasteThatWouldOverflowKeepsWhatFitsAndSaysHowMuchWasCut)
{
    field->SetMaxLength(4000);
    QSignalSpy cuts(field, &RichTextControl::TextCut);
    pasteText(QString(100000, u'x'));
    EXPECT_EQ(field->Text(), QString(4000, u'x'));
    ASSERT_EQ(cuts.size(), 1);
    EXPECT_EQ(cuts.at(0).at(0).toInt(), 96000);
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("96000 characters were cut: this field holds at most 4000 characters."));

    // In the middle of a text, the end of what was pasted goes, not the text after the caret.
    field->SetText(QStringLiteral("abcd"));
    field->SetMaxLength(10);
    placeCursor(2);
    pasteText(QStringLiteral("0123456789"));
    EXPECT_EQ(field->Text(), QStringLiteral("ab012345cd"));
    // One undo takes back the paste with its cut.
    field->undo();
    EXPECT_EQ(field->Text(), QStringLiteral("abcd"));
}

TEST_F(TextLengthLimitTest, DroppedTextIsLimitedLikePastedText)
{
    field->SetText(QStringLiteral("ab"));
    field->SetMaxLength(5);
    QMimeData data;
    data.setText(QStringLiteral("0123456789"));
    const QPoint at = field->cursorRect(field->textCursor()).center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field->viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field->viewport(), &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field->viewport(), &drop);
    EXPECT_EQ(visibleLength(field->Text()), 5);
    EXPECT_TRUE(field->Text().contains(QStringLiteral("012")));
}

TEST_F(TextLengthLimitTest, TextSetByCodeAndALowerLimitAreCutFromTheEnd)
{
    field->SetMaxLength(5);
    QSignalSpy changes(field, &RichTextControl::Change);
    field->SetText(QStringLiteral("abcdefgh"));
    // What is read is what the field holds, not what it was given.
    EXPECT_EQ(field->Text(), QStringLiteral("abcde"));
    EXPECT_EQ(changes.size(), 1);
    field->SetMaxLength(3);
    EXPECT_EQ(field->Text(), QStringLiteral("abc"));
    field->SetMaxLength(0);
    QTest::keyClicks(field, QString(20, u'z'));
    EXPECT_EQ(visibleLength(field->Text()), 23);
}

TEST_F(TextLengthLimitTest, EmojiAndCombiningMarksCountOnceAndAreNeverSplit)
{
    field->SetMaxLength(3);
    pasteText(ThumbsUpMediumSkin + EAcute + QStringLiteral("ab"));
    EXPECT_EQ(field->Text(), ThumbsUpMediumSkin + EAcute + QStringLiteral("a"));

    field->SetText(QStringLiteral("ab"));
    field->moveCursor(QTextCursor::End);
    pasteText(FamilyEmoji + QStringLiteral("c"));
    EXPECT_EQ(field->Text(), QStringLiteral("ab") + FamilyEmoji);

    // An accent on the last letter of a full field adds no character, so it stays.
    field->SetText(QStringLiteral("abc"));
    field->moveCursor(QTextCursor::End);
    field->textCursor().insertText(QStringLiteral("\u0301"));
    EXPECT_EQ(field->Text(), QStringLiteral("abc\u0301"));
    EXPECT_EQ(ui.beeps(), 2);
}

TEST_F(TextLengthLimitTest, FormattedTextCountsItsCharactersNotItsMarkup)
{
    field->SetMaxLength(5);
    field->SetText(QStringLiteral("<html><body><b>abc</b> <i>d</i></body></html>"));
    EXPECT_EQ(field->toPlainText(), QStringLiteral("abc d"));
    // Typed before a full text, the new characters go, not the end of the text.
    placeCursor(0);
    QTest::keyClicks(field, QStringLiteral("xy"));
    EXPECT_EQ(field->toPlainText(), QStringLiteral("abc d"));
    EXPECT_EQ(ui.beeps(), 2);

    // Pasted formatting is kept, its overflow cut.
    field->SetText({});
    auto *formatted = new QMimeData;
    formatted->setHtml(QStringLiteral("<b>0123456789</b>"));
    QApplication::clipboard()->setMimeData(formatted);
    field->DoPaste();
    EXPECT_EQ(field->toPlainText(), QStringLiteral("01234"));
    EXPECT_TRUE(field->Text().contains(QStringLiteral("font-weight:700")));
    EXPECT_EQ(ui.beeps(), 3);
    // The cut belongs to the paste's undo step: one undo takes back both.
    field->undo();
    EXPECT_EQ(field->toPlainText(), QString());
}

} // namespace

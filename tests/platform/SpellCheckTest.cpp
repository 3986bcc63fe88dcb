#include "RichTextTestSupport.h"

#include "platform/SpellingHighlighter.h"

#include <QListWidget>
#include <QMenu>

using namespace talv;
using namespace talv::test;

namespace {

using SpellCheckTest = RichTextFixture;

QStringList wordTexts(const QString &text)
{
    QStringList words;
    for (const WordSpan &span : wordsOf(text))
        words.append(text.mid(span.start, span.length));
    return words;
}

QAction *actionNamed(QMenu &menu, const QString &text)
{
    const QList<QAction *> actions = menu.actions();
    for (QAction *action : actions) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

TEST(SpellingWords, AreRunsOfLettersWithInnerApostrophesAndNoDigits)
{
    EXPECT_EQ(wordTexts(QStringLiteral("H2O isn't 1st, \"naïve\" oak-woods.")),
              (QStringList{QStringLiteral("isn't"), QStringLiteral("naïve"), QStringLiteral("oak"),
                           QStringLiteral("woods")}));
    const std::optional<WordSpan> at = wordAt(u"red oak", 7); // just after its last letter
    ASSERT_TRUE(at.has_value());
    EXPECT_EQ(*at, (WordSpan{4, 3}));
    EXPECT_FALSE(wordAt(u"red  oak", 4).has_value());
}

TEST_F(SpellCheckTest, SpellerKnowsEnglishSuggestsAndKeepsTheUsersWords)
{
    EXPECT_EQ(speller->dictionaryName(), QStringLiteral("en_US"));
    EXPECT_TRUE(speller->isCorrect(QStringLiteral("receive")));
    EXPECT_TRUE(speller->isCorrect(QStringLiteral("don’t")));
    EXPECT_FALSE(speller->isCorrect(QStringLiteral("recieve")));
    EXPECT_TRUE(speller->suggestions(QStringLiteral("recieve")).contains(QStringLiteral("receive")));

    EXPECT_FALSE(speller->isCorrect(QStringLiteral("Qercus")));
    speller->addToPersonalDictionary(QStringLiteral("Qercus"));
    EXPECT_TRUE(speller->isCorrect(QStringLiteral("Qercus")));
    const Speller later(Speller::systemDictionaryFolders(), speller->personalWordsFile());
    EXPECT_TRUE(later.isCorrect(QStringLiteral("Qercus")));

    // Session words are accepted without being written.
    speller->acceptWords({QStringLiteral("Vaccinium")});
    EXPECT_TRUE(speller->isCorrect(QStringLiteral("Vaccinium")));
    const Speller afterwards(Speller::systemDictionaryFolders(), speller->personalWordsFile());
    EXPECT_FALSE(afterwards.isCorrect(QStringLiteral("Vaccinium")));
}

TEST_F(SpellCheckTest, MisspeltWordsAreUnderlinedAsTypedButNeverStored)
{
    QTest::keyClicks(field, QStringLiteral("The qercus grows in dry soill"));
    EXPECT_EQ(underlinedWords(*field), (QStringList{QStringLiteral("qercus"), QStringLiteral("soill")}));
    EXPECT_EQ(field->Text(), QStringLiteral("The qercus grows in dry soill"));
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(underlinedWords(*field), QStringList{QStringLiteral("qercus")});
}

TEST_F(SpellCheckTest, ContextMenuOffersSuggestionsAndAWordAddedThereIsAcceptedInEveryField)
{
    auto *second = new RichTextControl(&window);
    second->SetSpeller(speller);
    second->SetText(QStringLiteral("qercus again"));
    field->SetText(QStringLiteral("I recieve qercus"));
    ASSERT_EQ(underlinedWords(*second), QStringList{QStringLiteral("qercus")});

    const auto pointAt = [this](int position) {
        QTextCursor cursor(field->document());
        cursor.setPosition(position);
        return field->cursorRect(cursor).center();
    };
    std::unique_ptr<QMenu> menu(field->createContextMenu(pointAt(4)));
    ASSERT_EQ(menu->actions().value(0)->text(), QStringLiteral("receive"));
    menu->actions().value(0)->trigger();
    EXPECT_EQ(field->Text(), QStringLiteral("I receive qercus"));

    menu.reset(field->createContextMenu(pointAt(12)));
    QAction *add = actionNamed(*menu, QStringLiteral("Add to Dictionary"));
    ASSERT_NE(add, nullptr);
    add->trigger();
    EXPECT_TRUE(underlinedWords(*field).isEmpty());
    EXPECT_TRUE(underlinedWords(*second).isEmpty());

    // A correct word gets the editing commands only.
    menu.reset(field->createContextMenu(pointAt(4)));
    EXPECT_EQ(actionNamed(*menu, QStringLiteral("Add to Dictionary")), nullptr);
    EXPECT_EQ(actionNamed(*menu, QStringLiteral("Text &Editor...")), nullptr);
}

TEST_F(SpellCheckTest, SpellingDialogWalksTheMisspeltWordsWithChangeIgnoreAndAdd)
{
    field->SetText(QStringLiteral("Teh oak and teh ash, a dgo and qercus; teh end."));
    ui.queueDialog([this](QDialog &dialog) {
        EXPECT_EQ(field->textCursor().selectedText(), QStringLiteral("Teh"));
        auto &changeTo = child<QLineEdit>(dialog, "txtChangeTo");
        EXPECT_EQ(changeTo.text(), child<QListWidget>(dialog, "lstSuggestions").item(0)->text());
        changeTo.setText(QStringLiteral("The"));
        click(dialog, "cmdChange");
        EXPECT_EQ(child<QLineEdit>(dialog, "txtNotInDictionary").text(), QStringLiteral("teh"));
        click(dialog, "cmdIgnore"); // and its repeat at the end
        EXPECT_EQ(child<QLineEdit>(dialog, "txtNotInDictionary").text(), QStringLiteral("dgo"));
        changeTo.setText(QStringLiteral("dog"));
        click(dialog, "cmdChange");
        EXPECT_EQ(child<QLineEdit>(dialog, "txtNotInDictionary").text(), QStringLiteral("qercus"));
        click(dialog, "cmdAdd");
        EXPECT_FALSE(dialog.isVisible());
    });
    ui.queueAnswer(Answer::OK);
    field->CheckSpelling();
    EXPECT_EQ(field->Text(), QStringLiteral("The oak and teh ash, a dog and qercus; teh end."));
    EXPECT_TRUE(speller->isCorrect(QStringLiteral("qercus")));
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_EQ(ui.boxes().at(0).text, QStringLiteral("The spelling check is complete."));
}

TEST_F(SpellCheckTest, CancelKeepsWhatWasChangedAndACleanTextNeedsNoDialog)
{
    field->SetText(QStringLiteral("Teh oak and teh ash"));
    ui.queueDialog([](QDialog &dialog) {
        child<QLineEdit>(dialog, "txtChangeTo").setText(QStringLiteral("The"));
        click(dialog, "cmdChange");
        click(dialog, "cmdCancel");
    });
    field->CheckSpelling();
    EXPECT_EQ(field->Text(), QStringLiteral("The oak and teh ash"));
    EXPECT_TRUE(ui.boxes().isEmpty());

    field->SetText(QStringLiteral("The oak and the ash"));
    ui.queueAnswer(Answer::OK);
    field->CheckSpelling();
    EXPECT_EQ(ui.dialogsShown(), 1);
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_EQ(ui.boxes().at(0).text, QStringLiteral("The spelling check is complete."));
}

TEST_F(SpellCheckTest, WithoutADictionaryTheFieldWorksAndSpellCheckSaysItCannotRun)
{
    QTemporaryDir noDictionaries;
    auto missing = std::make_shared<Speller>(QStringList{noDictionaries.path()}, home.filePath(QStringLiteral("x")));
    EXPECT_FALSE(missing->isAvailable());
    EXPECT_TRUE(missing->isCorrect(QStringLiteral("qercus")));
    field->SetSpeller(missing);
    field->SetMaxLength(12);
    QTest::keyClicks(field, QStringLiteral("Teh qercus grows"));
    EXPECT_EQ(field->Text(), QStringLiteral("Teh qercus g"));
    EXPECT_TRUE(underlinedWords(*field).isEmpty());
    std::unique_ptr<QMenu> menu(field->createContextMenu(field->cursorRect().center()));
    EXPECT_EQ(actionNamed(*menu, QStringLiteral("Add to Dictionary")), nullptr);

    ui.queueAnswer(Answer::OK);
    field->CheckSpelling();
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_EQ(ui.boxes().at(0).text, QStringLiteral("Spell check cannot run: no English dictionary was found in ") +
                                         noDictionaries.path() + QStringLiteral("."));
    EXPECT_EQ(ui.boxes().at(0).icon, MsgIcon::Exclamation);
    EXPECT_EQ(ui.dialogsShown(), 0);
}

} // namespace

#pragma once

#include "platform/RichTextControl.h"
#include "platform/ScriptedUiServices.h"
#include "platform/Speller.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QVBoxLayout>

namespace talv::test {

// A shown, active window with a text field (on the system's English dictionary with a personal
// word list of its own) and a text box after it; scripted UI services.
class RichTextFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(speller->isAvailable()) << speller->unavailableReason().toStdString();
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(field = new RichTextControl(&window));
        layout->addWidget(nextBox = new QLineEdit(&window));
        field->SetSpeller(speller);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        field->setFocus();
    }
    void TearDown() override { EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join(u'\n').toStdString(); }

    void pasteText(const QString &text)
    {
        QApplication::clipboard()->setText(text);
        field->DoPaste();
    }
    void placeCursor(int position)
    {
        QTextCursor cursor = field->textCursor();
        cursor.setPosition(position);
        field->setTextCursor(cursor);
    }
    template <typename Widget> static Widget &child(QDialog &dialog, const char *name)
    {
        auto *widget = dialog.findChild<Widget *>(QString::fromLatin1(name));
        if (!widget)
            throw std::logic_error(std::string("no child ") + name);
        return *widget;
    }
    static void click(QDialog &dialog, const char *button) { child<QPushButton>(dialog, button).click(); }

    // The words of `control` that carry the misspelt underline, in order.
    static QStringList underlinedWords(const RichTextControl &control)
    {
        QStringList words;
        for (QTextBlock block = control.document()->begin(); block.isValid(); block = block.next()) {
            for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
                if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
                    words.append(block.text().mid(range.start, range.length));
            }
        }
        return words;
    }

    QTemporaryDir home;
    std::shared_ptr<Speller> speller =
        std::make_shared<Speller>(Speller::systemDictionaryFolders(), home.filePath(QStringLiteral("words.txt")));
    ScriptedUiServices ui;
    ScopedUiServices installed{ui};
    QWidget window;
    RichTextControl *field = nullptr;
    QLineEdit *nextBox = nullptr;
};

} // namespace talv::test

// What reaches a screen's fields from its menus, its toolbar, Alt keys and the clipboard.
#include "platform/AccessKeys.h"
#include "platform/CommandTable.h"
#include "platform/FocusedField.h"
#include "platform/PrintableText.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace talv;

namespace {

// A screen inside a host's sub-window, as the work area holds one: two text boxes, a button and a
// toolbar whose Cut and Paste act on the field the user was in.
struct HostedScreen {
    QMdiArea area;
    QWidget *screen = new QWidget;
    QLineEdit *name = new QLineEdit(QStringLiteral("Alvar plants"));
    QLineEdit *id = new QLineEdit;
    QPushButton *find = new QPushButton(QStringLiteral("F&ind Now"));
    CommandTable commands{screen};
    FocusedField focus{screen};

    HostedScreen()
    {
        auto *layout = new QVBoxLayout(screen);
        commands.add(nullptr, {.objectName = QStringLiteral("mnuEditCut"),
                               .caption = QStringLiteral("Cu&t"),
                               .toolbarKey = QStringLiteral("Cut"),
                               .handler = [this] { edit(&QLineEdit::cut); }});
        commands.add(nullptr, {.objectName = QStringLiteral("mnuEditPaste"),
                               .caption = QStringLiteral("&Paste"),
                               .toolbarKey = QStringLiteral("Paste"),
                               .handler = [this] { edit(&QLineEdit::paste); }});
        layout->addWidget(commands.buildToolbar(QStringLiteral("tbScreen"), {"Cut", "Paste"}));
        for (QWidget *w : std::initializer_list<QWidget *>{name, id, find})
            layout->addWidget(w);
        area.addSubWindow(screen)->show();
        area.resize(500, 400);
        area.show();
        QApplication::setActiveWindow(&area);
    }

    void edit(void (QLineEdit::*change)())
    {
        if (auto *box = qobject_cast<QLineEdit *>(focus.field()); box && focus.restore())
            (box->*change)();
    }

    void click(const char *key)
    {
        QTest::mouseClick(screen->findChild<QToolButton *>(QString::fromLatin1(key)), Qt::LeftButton);
    }
};

TEST(FocusedFieldTest, ToolbarCommandsActOnTheSelectionTheUserLeftThoughTheSubWindowTookTheFocus)
{
    HostedScreen s;
    s.name->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("plants"));
    // Selected backwards, from the end: the same characters are replaced.
    s.name->setText(QStringLiteral("Alvar meadow"));
    s.name->setSelection(12, -6);
    s.click("Paste");
    EXPECT_EQ(s.name->text(), QStringLiteral("Alvar plants"));
    EXPECT_EQ(QApplication::focusWidget(), s.name);

    // What the user does in the box afterwards counts, not what it held when it lost the focus.
    s.name->selectAll();
    s.click("Cut");
    QApplication::clipboard()->setText(QStringLiteral("7"));
    s.id->setFocus();
    s.name->setFocus();
    s.name->setCursorPosition(0);
    s.click("Paste");
    EXPECT_EQ(s.id->text(), QString());
    EXPECT_EQ(s.name->text(), QStringLiteral("7"));
}

TEST(FocusedFieldTest, AButtonTheUserPressedLastIsTheFieldAndToolbarsNeverAre)
{
    HostedScreen s;
    s.name->setFocus();
    s.find->setFocus();
    EXPECT_EQ(s.focus.field(), s.find);
    s.click("Cut");
    EXPECT_EQ(s.name->text(), QStringLiteral("Alvar plants"));
    s.screen->findChild<QToolBar *>()->setFocus();
    EXPECT_EQ(s.focus.field(), s.find);
    delete s.find;
    EXPECT_EQ(s.focus.field(), nullptr);
}

TEST(AccessKeysTest, CaptionsNameTheirKeyOnceAndDoubledAmpersandsAreText)
{
    EXPECT_EQ(AccessKeys::of(QStringLiteral("F&ind Now")), QChar(u'I'));
    EXPECT_EQ(AccessKeys::of(QStringLiteral("Fish && &Chips")), QChar(u'C'));
    EXPECT_TRUE(AccessKeys::of(QStringLiteral("Fish && Chips")).isNull());
    EXPECT_TRUE(AccessKeys::of(QStringLiteral("Trailing &")).isNull());
    EXPECT_EQ(AccessKeys::without(QStringLiteral("Fish && &Chips")), QStringLiteral("Fish && Chips"));
    EXPECT_EQ(AccessKeys::without(QStringLiteral("OK")), QStringLiteral("OK"));
}

TEST(AccessKeysTest, AScreenAnswersTheKeysOfWhatTheUserCanSeeAndUse)
{
    QWidget screen;
    auto *layout = new QVBoxLayout(&screen);
    auto *bar = new QMenuBar;
    bar->addMenu(QStringLiteral("&File"));
    bar->addMenu(QStringLiteral("&Tools"))->menuAction()->setVisible(false);
    layout->setMenuBar(bar);
    auto *name = new QLineEdit;
    auto *caption = new QLabel(QStringLiteral("Group &Name"));
    caption->setBuddy(name);
    auto *unbound = new QLabel(QStringLiteral("&Unbound label"));
    auto *disabled = new QPushButton(QStringLiteral("&Delete"));
    disabled->setEnabled(false);
    auto *hidden = new QCheckBox(QStringLiteral("&Hidden"));
    for (QWidget *w : std::initializer_list<QWidget *>{caption, name, unbound,
                                                       new QPushButton(QStringLiteral("Ne&w...")), disabled, hidden})
        layout->addWidget(w);
    screen.show();
    hidden->hide();
    EXPECT_EQ(AccessKeys::answeredUnder(&screen), (QSet<QChar>{u'F', u'N', u'W'}));
}

TEST(PrintableTextTest, ControlCharactersAndNonCharactersGoAndEverythingElseStays)
{
    const QString astral = QString::fromUcs4(U"\U0001F33F"); // a herb, outside the basic plane
    EXPECT_EQ(printableOnly(QString::fromUtf16(u"Bog\u0001 \u00e9tang\uFFFE\t") + astral + QChar(0) + QChar(0x200D)),
              QString::fromUtf16(u"Bog \u00e9tang") + astral + QChar(0x200D));
    EXPECT_EQ(printableOnly(QString(QChar(0xD800)) + QStringLiteral("x") + QChar(0xDC00)), QStringLiteral("x"));
    EXPECT_EQ(printableOnly(QString::fromUcs4(U"\U0001FFFE")), QString());

    // The cursor keeps its place among the characters that stay.
    PrintableTextValidator validator;
    QString typed = QStringLiteral("ab") + QChar(1) + QStringLiteral("c");
    int cursor = 2;
    EXPECT_EQ(validator.validate(typed, cursor), QValidator::Acceptable);
    EXPECT_EQ(std::make_pair(typed, cursor), std::make_pair(QStringLiteral("abc"), 2));

    QLineEdit box;
    box.setValidator(new PrintableTextValidator(&box));
    box.setText(QStringLiteral("ab"));
    box.setCursorPosition(1);
    box.insert(QString::fromUtf16(u"\u0001x\ny"));
    EXPECT_EQ(box.text(), QStringLiteral("axyb"));
    EXPECT_EQ(box.cursorPosition(), 3);
    QApplication::clipboard()->setText(QChar(0) + QStringLiteral("pasted") + QChar(0x1B));
    box.paste();
    EXPECT_EQ(box.text(), QStringLiteral("axypastedb"));
}

} // namespace

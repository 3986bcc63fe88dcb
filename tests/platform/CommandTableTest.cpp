#include "platform/CommandTable.h"
#include "platform/Error.h"
#include "platform/FailureReport.h"
#include "platform/ScriptedUiServices.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace talv;

namespace {

// A screen with a text box, a File menu and a toolbar of two keyed commands.
struct Screen {
    QWidget widget;
    QLineEdit *edit = new QLineEdit(&widget);
    CommandTable commands{&widget};
    QStringList ran;

    explicit Screen(const QString &name)
    {
        auto *bar = new QMenuBar(&widget);
        QMenu *file = addNamedMenu(bar, QStringLiteral("mnuFile"), QStringLiteral("&File"));
        commands.add(file, {QStringLiteral("mnuFileSave"), QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S),
                            QStringLiteral("Save"), QStringLiteral("Save Record"), QStringLiteral("document-save"),
                            [this, name] { ran << name + QStringLiteral(":save"); }});
        commands.addSeparator(file, QStringLiteral("mnuFileSep"));
        commands.add(file, {QStringLiteral("mnuFileNew"),
                            QStringLiteral("&New"),
                            {},
                            QStringLiteral("New"),
                            QStringLiteral("New Record"),
                            {},
                            [this, name] { ran << name + QStringLiteral(":new"); }});
        auto *layout = new QVBoxLayout(&widget);
        layout->setMenuBar(bar);
        layout->addWidget(
            commands.buildToolbar(QStringLiteral("tbScreen"), {QStringLiteral("New"), {}, QStringLiteral("Save")}));
        layout->addWidget(edit);
    }
};

TEST(CommandTableTest, MenuToolbarAndKeyAreOneActionThatDoesNothingWhileDisabled)
{
    Screen s(QStringLiteral("a"));
    QAction *save = s.commands.action(QStringLiteral("mnuFileSave"));
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(s.commands.toolbarAction(QStringLiteral("Save")), save);
    EXPECT_EQ(save->toolTip(), QStringLiteral("Save Record"));
    EXPECT_EQ(s.commands.toolbarAction(QStringLiteral("save")), nullptr) << "keys compare exactly";
    EXPECT_TRUE(s.commands.action(QStringLiteral("mnuFileSep"))->isSeparator());

    EXPECT_TRUE(s.commands.triggerToolbarKey(QStringLiteral("Save")));
    EXPECT_FALSE(s.commands.triggerToolbarKey(QStringLiteral("SAVE")));
    save->setEnabled(false);
    EXPECT_FALSE(s.commands.triggerToolbarKey(QStringLiteral("Save")));
    save->trigger();
    save->activate(QAction::Trigger);
    EXPECT_EQ(s.ran, QStringList{QStringLiteral("a:save")});

    // Without an icon theme the button shows the key, not the menu caption.
    auto *button = s.widget.findChild<QToolButton *>(QStringLiteral("New"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("New"));
    EXPECT_EQ(s.commands.action(QStringLiteral("mnuFileNew"))->text(), QStringLiteral("&New"));
}

TEST(CommandTableTest, ShortcutsActOnlyInTheScreenThatHasTheFocus)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    Screen a(QStringLiteral("a")), b(QStringLiteral("b"));
    layout->addWidget(&a.widget);
    layout->addWidget(&b.widget);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    b.edit->setFocus();
    QTest::keyClick(b.edit, Qt::Key_S, Qt::ControlModifier);
    a.edit->setFocus();
    QTest::keyClick(a.edit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(b.ran, QStringList{QStringLiteral("b:save")});
    EXPECT_EQ(a.ran, QStringList{QStringLiteral("a:save")});
    layout->removeWidget(&a.widget);
    layout->removeWidget(&b.widget);
    a.widget.setParent(nullptr);
    b.widget.setParent(nullptr);
}

TEST(FailureReportTest, FailuresOfEveryKindBecomeOneBoxAndNothingEscapes)
{
    ScriptedUiServices ui;
    ScopedUiServices installed(ui);
    ui.queueAnswer(Answer::OK);
    ui.queueAnswer(Answer::OK);
    EXPECT_FALSE(runReported(unableTo(QStringLiteral("save record"), QStringLiteral("Record Error")),
                             [] { throw Error(Error::Database, QStringLiteral("disk full")); }));
    EXPECT_FALSE(runReported(FailureText{QStringLiteral("Error: "), {}, MsgIcon::Exclamation},
                             [] { throw std::runtime_error("bad"); }));
    EXPECT_TRUE(runReported(unableTo(QStringLiteral("x")), [] {}));
    ASSERT_EQ(ui.boxes().size(), 2);
    EXPECT_EQ(ui.boxes()[0].text, QStringLiteral("Unable to save record: disk full"));
    EXPECT_EQ(ui.boxes()[0].title, QStringLiteral("Record Error"));
    EXPECT_EQ(ui.boxes()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(ui.boxes()[1].text, QStringLiteral("Error: bad"));

    QString reported;
    EXPECT_FALSE(runReported([] { throw Error(1, QStringLiteral("gone")); },
                             [&](const QString &description) {
                                 reported = description;
                                 throw std::runtime_error("the reporter fails too");
                             }));
    EXPECT_EQ(reported, QStringLiteral("gone"));
}

} // namespace

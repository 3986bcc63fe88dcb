#include "platform/BusyCursor.h"
#include "platform/Error.h"
#include "platform/ScriptedUiServices.h"
#include "platform/Twips.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

using namespace talv;

namespace {

using Scripted = ScriptedUiServices;

// A window with a text box and a button, active so that focus is real; scripted services.
class UiServicesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(edit = new QLineEdit(&window));
        layout->addWidget(button = new QPushButton(QStringLiteral("Find"), &window));
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void focus(QWidget *widget)
    {
        widget->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), widget);
    }

    Scripted ui;
    ScopedUiServices installed{ui};
    QWidget window;
    QLineEdit *edit = nullptr;
    QPushButton *button = nullptr;
};

// Screens run against the scripted services everywhere; what those tests would not notice is a
// script that lets a surprise through or a cursor left busy.
TEST_F(UiServicesTest, AnythingTheScriptDidNotExpectFailsItAndNoScreenCatchesThat)
{
    // An unscripted box, an answer the box does not offer, an unscripted dialog.
    EXPECT_THROW(ui.messageBox(QStringLiteral("Surprise")), Scripted::ScriptError);
    ui.queueAnswer(Answer::Yes);
    EXPECT_THROW(ui.messageBox(QStringLiteral("Unable to load"), MsgButtons::OK), Scripted::ScriptError);
    QDialog dialog;
    EXPECT_THROW(ui.execModal(dialog), Scripted::ScriptError);
    ui.queueDialog([](QDialog &) {}); // a script that closes nothing leaves the dialog rejected
    EXPECT_EQ(ui.execModal(dialog), QDialog::Rejected);
    ASSERT_EQ(ui.failures().size(), 3);
    EXPECT_TRUE(ui.failures().at(0).contains(QStringLiteral("Surprise")));
    static_assert(!std::is_base_of_v<Error, Scripted::ScriptError>);

    // Keys go to the focused widget only; a key string that names no key is refused.
    edit->setText(QStringLiteral("Prairie"));
    focus(button);
    QApplication::clipboard()->setText(QStringLiteral("x"));
    ui.sendKeys(QStringLiteral("^V"));
    EXPECT_EQ(edit->text(), QStringLiteral("Prairie"));
    for (const char *bad : {"{F13}", "^CV", "", "{F0}"})
        EXPECT_THROW(ui.sendKeys(QString::fromLatin1(bad)), Error) << bad;
}

TEST_F(UiServicesTest, NestedBusyCursorsRestoreEveryLevelWhenAnExceptionLeavesThem)
{
    try {
        BusyCursor outer;
        {
            BusyCursor inner;
            EXPECT_EQ(ui.busyDepth(), 2);
        }
        EXPECT_EQ(ui.busyDepth(), 1);
        BusyCursor again;
        again.release();
        again.release();
        BusyCursor last;
        throw Error(Error::Generic, QStringLiteral("query failed"));
    } catch (const Error &) {
    }
    EXPECT_EQ(ui.busyDepth(), 0);
    EXPECT_EQ(ui.busyCount(), 4);
    EXPECT_TRUE(ui.failures().isEmpty());
}

// The desktop services, as a host runs them.
TEST_F(UiServicesTest, DesktopServicesPostKeysNestTheBusyCursorAndShowRealBoxes)
{
    UiServices::install(nullptr);
    UiServices &desktop = UiServices::current();
    focus(edit);
    desktop.sendKeys(QStringLiteral("x"));
    EXPECT_TRUE(edit->text().isEmpty());
    desktop.processEvents();
    EXPECT_EQ(edit->text(), QStringLiteral("x"));

    try {
        BusyCursor outer;
        BusyCursor inner;
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        throw std::runtime_error("failed");
    } catch (const std::runtime_error &) {
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        icon = box->icon();
        title = box->windowTitle();
        buttons = box->standardButtons();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(desktop.messageBox(QStringLiteral("Save changes?"), MsgButtons::YesNoCancel, MsgIcon::Exclamation,
                                 QStringLiteral("Element Group")),
              Answer::No);
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(title, QStringLiteral("Element Group"));
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    // Closed by Escape or the window's close button.
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(desktop.messageBox(QStringLiteral("Overwrite?"), MsgButtons::YesNo), Answer::No);
}

// Fifteen twips to the pixel, rounding to the nearest.
static_assert(twips::toPixels(100) == 7); // 6.67
static_assert(twips::toPixels(7) == 0 && twips::toPixels(8) == 1 && twips::toPixels(-8) == -1);
static_assert(twips::toPixels(QSize(9750, 9900)) == QSize(650, 660) &&
              twips::fromPixels(QSize(650, 660)) == QSize(9750, 9900));

} // namespace

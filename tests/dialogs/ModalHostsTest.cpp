#include "dialogs/frmModalDetail.h"
#include "dialogs/frmModalSearch.h"

#include "contracts/ClassRegistry.h"
#include "host/HostSession.h"
#include "host/HostWindowServices.h"
#include "host/ReferenceAppManager.h"
#include "platform/ScriptedUiServices.h"
#include "support/EngineDatabase.h"
#include "support/RecordsetBuilder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QVBoxLayout>

#include <memory>
#include <ostream>

// Readable failures for the call logs.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

using namespace talv;

namespace {

const QString ControlClass = QStringLiteral("Test.RecordingControl");

// How the hosted control answers, and the calls it got; outlives the control, which a window
// deletes when it unloads.
struct ControlScript {
    QStringList calls;
    QVariant canClose = true; // an empty value makes CanClose fail
    bool fails = false;       // the init members and SetSingleSelect fail
    RecordsetPtr recordsetLeft;
};

// A hosted control offering the members the two windows forward to; each call is logged as
// "Member(arg,arg)".
class RecordingControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QWidget *ActiveControl READ ActiveControl)

public:
    RecordingControl(ControlScript &script, QWidget *parent) : QWidget(parent), m_script(script)
    {
        setObjectName(QStringLiteral("RecordingControl"));
        resize(600, 400);
        (new QVBoxLayout(this))->addWidget(notes);
    }
    QWidget *ActiveControl() const { return notes; }
    QLineEdit *notes = new QLineEdit(this);

    Q_INVOKABLE void InitModalSearch(talv::AppManager *app, talv::RecordsetPtr &rs, const QString &extra)
    {
        log("InitModalSearch", {app->GetUserName(), rs ? rs->RecordCount() : -1, extra}, m_script.fails);
        if (m_script.recordsetLeft)
            rs = m_script.recordsetLeft;
    }
    Q_INVOKABLE void InitModalDetails(talv::AppManager *app, const QString &extra)
    {
        log("InitModalDetails", {app->GetUserName(), extra}, m_script.fails);
    }
    Q_INVOKABLE void LoadData(qint32 id) { log("LoadData", {id}); }
    Q_INVOKABLE qint32 NewData(qint32 id) { return log("NewData", {id}), id + 1000; }
    Q_INVOKABLE QVariant CanClose() { return log("CanClose", {}, !m_script.canClose.isValid()), m_script.canClose; }
    Q_INVOKABLE void Deactivate() { log("Deactivate", {}); }
    Q_INVOKABLE void UseSelectedRecordset(bool use) { log("UseSelectedRecordset", {use}); }
    Q_INVOKABLE void SetSelectedItems(QStringList &items)
    {
        log("SetSelectedItems", {items.join(u'|')});
        items.append(QStringLiteral("picked"));
    }
    Q_INVOKABLE void SetSingleSelect() { log("SetSingleSelect", {}, m_script.fails); }
    Q_INVOKABLE void SetMutliSelect(bool on) { log("SetMutliSelect", {on}); }
    Q_INVOKABLE bool GetMultiSelect() { return log("GetMultiSelect", {}), false; }
    Q_INVOKABLE void SetNameType(qint16 type, bool on) { log("SetNameType", {type, on}); }
    Q_INVOKABLE void SetNameType(qint16 type, bool on, const QString &keyword)
    {
        log("SetNameType", {type, on, keyword});
    }
    Q_INVOKABLE void SetIdEnabled(bool on) { log("SetIdEnabled", {on}, m_script.fails); }

signals:
    void Quit();
    void Changed();

private:
    void log(const char *member, const QVariantList &args, bool fail = false)
    {
        QStringList texts;
        for (const QVariant &arg : args)
            texts << arg.toString();
        m_script.calls << QString::fromLatin1(member) + (args.isEmpty() ? QString() : "(" + texts.join(u',') + ")");
        if (fail)
            throw Error(Error::Database, QStringLiteral("The group types could not be read."));
    }
    ControlScript &m_script;
};

// The main window's part of the host, where F9 ends up.
class HostWindowStandIn : public host::HostWindowServices
{
public:
    QList<QWidget *> systemControlEntries;
    void ShowAbout() override {}
    void PopupEdit(FlexGrid *) override {}
    bool OpenRelatedDetail(const QString &, const QString &, const QString &, qint32 &) override { return false; }
    void DisplaySystemControlEntry(QWidget *control) override { systemControlEntries.append(control); }
};

// The reference application manager on the sample database; the recording control registered by
// class name.
class ModalHostTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        std::string whyNot;
        s_db = test::EngineDatabase::create(host::Engine::SQLite, test::EngineDatabase::WithSample, &whyNot).release();
        ASSERT_NE(s_db, nullptr) << whyNot;
    }
    static void TearDownTestSuite() { delete s_db; }

    void SetUp() override
    {
        session = std::make_unique<host::HostSession>(s_db->openAnother(), QStringLiteral("ecarter"));
        manager = std::make_unique<host::ReferenceAppManager>(*session);
        manager->setWindowServices(&hostWindow);
        manager->help().setHelpFile(QStringLiteral("/opt/talv/help.html"));
        manager->help().add(QStringLiteral("RecordingControl"), 4711);
        ClassRegistry::instance().Register(ControlClass, [this](QObject *parent) -> QObject * {
            return new RecordingControl(script, qobject_cast<QWidget *>(parent));
        });
    }
    void TearDown() override
    {
        ClassRegistry::instance().Unregister(ControlClass);
        EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join(u'\n').toStdString();
    }

    static RecordingControl *control(const ModalHostWindow &window)
    {
        return qobject_cast<RecordingControl *>(window.HostedControl());
    }

    static inline test::EngineDatabase *s_db = nullptr;
    ScriptedUiServices ui;
    ScopedUiServices uiScope{ui};
    HostWindowStandIn hostWindow;
    std::unique_ptr<host::HostSession> session;
    std::unique_ptr<host::ReferenceAppManager> manager;
    ControlScript script;
    RecordsetPtr none;
};

using ModalDetailTest = ModalHostTest;
using ModalSearchTest = ModalHostTest;

TEST_F(ModalDetailTest, InitDialogHostsTheControlByNameSizedInTwipsAndForwardsLoadAndNew)
{
    frmModalDetail window;
    EXPECT_EQ(window.windowTitle(), "Modal Details");
    ASSERT_TRUE(window.InitDialog(ControlClass, manager.get(), "pick one"));
    EXPECT_EQ(window.findChild<QWidget *>("ModalDetail"), window.GenericDetails());
    EXPECT_EQ(window.HostedControl()->parentWidget(), window.GenericDetails());
    // 600 x 400 pixels are 9000 x 6000 twips; + 100 and + 750 twips make 9100 x 6750.
    EXPECT_EQ(window.size(), QSize(607, 450));
    EXPECT_EQ(window.CommonDialog1().helpFile, "/opt/talv/help.html");
    EXPECT_EQ(window.CommonDialog1().helpCommand, 1);

    window.LoadData(42);
    EXPECT_EQ(window.NewData(-7), 993);
    EXPECT_EQ(script.calls, (QStringList{"InitModalDetails(ecarter,pick one)", "LoadData(42)", "NewData(-7)"}));
}

TEST_F(ModalDetailTest, CloseAsksOnlyAVisibleControlAndUnloadsWithDeactivate)
{
    {
        frmModalDetail neverShown;
        ASSERT_TRUE(neverShown.InitDialog(ControlClass, manager.get(), {}));
        script.canClose = false;
        EXPECT_TRUE(neverShown.close());
        EXPECT_EQ(neverShown.findChild<QWidget *>("ModalDetail"), nullptr);
        EXPECT_EQ(neverShown.appManager(), nullptr);
        EXPECT_EQ(script.calls.mid(1), QStringList{"Deactivate"});
    }
    script.calls.clear();
    frmModalDetail window;
    ASSERT_TRUE(window.InitDialog(ControlClass, manager.get(), {}));
    window.show();
    EXPECT_TRUE(window.GenericDetails()->isVisible());
    EXPECT_FALSE(window.close());
    script.canClose = 1;
    EXPECT_FALSE(window.close()) << "anything but true keeps the window";
    script.canClose = QVariant();
    ui.queueAnswer(Answer::OK);
    EXPECT_FALSE(window.close());
    EXPECT_EQ(ui.boxes().value(0).text, "Unable to close the window: The group types could not be read.");
    EXPECT_TRUE(window.isVisible());

    script.canClose = true;
    EXPECT_TRUE(window.close());
    EXPECT_EQ(script.calls.mid(1), (QStringList{"CanClose", "CanClose", "CanClose", "CanClose", "Deactivate"}));
    EXPECT_EQ(window.GenericDetails(), nullptr);
}

TEST_F(ModalDetailTest, QuitInAnyLetterCaseHidesTheWindowAndTheCallerReleasesIt)
{
    auto window = std::make_unique<frmModalDetail>();
    ASSERT_TRUE(window->InitDialog(ControlClass, manager.get(), {}));
    RecordingControl *hosted = control(*window);
    ui.queueDialog([&](QDialog &dialog) {
        emit hosted->Changed();
        EXPECT_TRUE(dialog.isVisible()) << "other events are ignored";
        emit hosted->Quit();
        EXPECT_FALSE(dialog.isVisible());
    });
    ui.execModal(*window);
    EXPECT_EQ(window->HostedControl(), hosted) << "hidden, not unloaded";
    EXPECT_EQ(script.calls.size(), 1);
    window.reset();
    EXPECT_EQ(script.calls.mid(1), QStringList{"Deactivate"});
}

TEST_F(ModalDetailTest, F1AndF9ReachTheHostBeforeTheFocusedControl)
{
    frmModalDetail window;
    ASSERT_TRUE(window.InitDialog(ControlClass, manager.get(), {}));
    window.show();
    QLineEdit *notes = control(window)->notes;
    QTest::keyClick(notes, Qt::Key_F1);
    EXPECT_EQ(window.CommonDialog1().helpContext, 4711);
    ASSERT_EQ(ui.helpRequests().size(), 1);
    EXPECT_EQ(ui.helpRequests()[0].helpFile, "/opt/talv/help.html");
    EXPECT_EQ(ui.helpRequests()[0].topicId, 4711);

    control(window)->setObjectName("NoTopicForThis");
    QTest::keyClick(notes, Qt::Key_F1);
    EXPECT_EQ(window.CommonDialog1().helpContext, 0);
    EXPECT_EQ(ui.helpRequests().size(), 1);

    QTest::keyClick(notes, Qt::Key_F9);
    EXPECT_EQ(hostWindow.systemControlEntries, QList<QWidget *>{window.HostedControl()});
    QTest::keyClicks(notes, "ab");
    EXPECT_EQ(notes->text(), "ab");
}

TEST_F(ModalSearchTest, InitDialogHandsTheRecordsetByReferenceAndSetupCallsKeepTheirArguments)
{
    frmModalSearch window;
    EXPECT_EQ(window.windowTitle(), "Search");
    RecordsetPtr callers = test::makeRecordset({{"ID", FieldType::Integer}}, {{1}, {2}});
    script.recordsetLeft = test::makeRecordset({{"ID", FieldType::Integer}});
    ASSERT_TRUE(window.InitDialog(ControlClass, manager.get(), callers, "members"));
    EXPECT_EQ(callers, script.recordsetLeft);
    EXPECT_EQ(window.findChild<QWidget *>("ModalSearch"), window.GenericDetails());
    EXPECT_EQ(window.size(), QSize(607, 450));

    window.UseSelectedRecordset(true);
    QVariant items = QStringList{"12", "9"};
    window.SetSelectedItems(items);
    window.SetSingleSelect();
    window.SetMutliSelect(true);
    EXPECT_FALSE(window.GetMutliSelect());
    window.SetNameType(2, true, "Species");
    window.SetNameType(3, false, "");
    window.SetIdEnabled(false);
    EXPECT_EQ(script.calls,
              (QStringList{"InitModalSearch(ecarter,2,members)", "UseSelectedRecordset(true)", "SetSelectedItems(12|9)",
                           "SetSingleSelect", "SetMutliSelect(true)", "GetMultiSelect", "SetNameType(2,true,Species)",
                           "SetNameType(3,false)", "SetIdEnabled(false)"}));
    EXPECT_EQ(items.toStringList(), (QStringList{"12", "9", "picked"}));

    script.fails = true;
    EXPECT_NO_THROW(window.SetSingleSelect());
    EXPECT_THROW(window.SetIdEnabled(true), Error);
}

TEST_F(ModalSearchTest, QuitUnloadsThroughCanCloseAndARefusalKeepsTheWindow)
{
    frmModalSearch window;
    ASSERT_TRUE(window.InitDialog(ControlClass, manager.get(), none, {}));
    script.canClose = false;
    EXPECT_FALSE(window.close()) << "asked even before it is shown";
    window.show();
    QTest::keyClick(control(window)->notes, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());

    QPointer<RecordingControl> hosted = control(window);
    script.canClose = true;
    ui.queueDialog([&](QDialog &) { emit hosted->Quit(); });
    ui.execModal(window);
    EXPECT_EQ(script.calls.mid(1), (QStringList{"CanClose", "CanClose", "CanClose"})) << "no Deactivate";
    EXPECT_EQ(window.findChild<QWidget *>("ModalSearch"), nullptr);
    EXPECT_EQ(window.appManager(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(hosted, nullptr);
}

TEST_F(ModalHostTest, AFailedInitDialogAnswersFalseAndOnlyTheSearchShowsTheDescription)
{
    frmModalDetail detail;
    EXPECT_FALSE(detail.InitDialog("Test.NoSuchControl", manager.get(), {}));
    EXPECT_FALSE(detail.InitDialog(ControlClass, nullptr, {}));
    EXPECT_EQ(script.calls, QStringList{}) << "no control is initialised without a manager";
    script.fails = true;
    frmModalDetail failingDetail;
    EXPECT_FALSE(failingDetail.InitDialog(ControlClass, manager.get(), {}));
    EXPECT_NE(failingDetail.GenericDetails(), nullptr) << "what was set up stays";
    EXPECT_TRUE(ui.boxes().isEmpty());

    ui.queueAnswer(Answer::OK);
    ui.queueAnswer(Answer::OK);
    frmModalSearch search;
    EXPECT_FALSE(search.InitDialog("Test.NoSuchControl", manager.get(), none, {}));
    frmModalSearch failingSearch;
    EXPECT_FALSE(failingSearch.InitDialog(ControlClass, manager.get(), none, {}));
    ASSERT_EQ(ui.boxes().size(), 2);
    EXPECT_EQ(ui.boxes()[0].text, "Cannot create object: class 'Test.NoSuchControl' is not registered");
    EXPECT_EQ(ui.boxes()[1].text, "The group types could not be read.");
    EXPECT_EQ(ui.boxes()[1].icon, MsgIcon::None);
    EXPECT_TRUE(ui.boxes()[1].title.isEmpty());
}

} // namespace

#include "ModalHostsTest.moc"

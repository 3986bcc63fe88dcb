#include "dialogs/frmModalDetail.h"
#include "dialogs/frmModalSearch.h"

#include "contracts/ClassRegistry.h"
#include "host/HostSession.h"
#include "host/ReferenceAppManager.h"
#include "platform/ScriptedUiServices.h"
#include "support/EngineDatabase.h"
#include "support/RecordsetBuilder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <functional>
#include <memory>

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

public:
    RecordingControl(ControlScript &script, QWidget *parent) : QWidget(parent), m_script(script)
    {
        setObjectName(QStringLiteral("RecordingControl"));
        resize(600, 400);
    }

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
    Q_INVOKABLE bool GetMultiSelect() { return log("GetMultiSelect", {}), true; }
    Q_INVOKABLE void SetNameType(qint16 type, bool on) { log("SetNameType", {type, on}); }
    Q_INVOKABLE void SetNameType(qint16 type, bool on, const QString &kw) { log("SetNameType", {type, on, kw}); }
    Q_INVOKABLE void SetIdEnabled(bool on) { log("SetIdEnabled", {on}, m_script.fails); }

signals:
    void Quit();

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

// The reference application manager on the sample database; the recording control registered by
// class name.
class ModalHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string whyNot;
        db = test::EngineDatabase::create(host::Engine::SQLite, test::EngineDatabase::WithSample, &whyNot);
        ASSERT_NE(db, nullptr) << whyNot;
        session = std::make_unique<host::HostSession>(db->openAnother(), QStringLiteral("ecarter"));
        manager = std::make_unique<host::ReferenceAppManager>(*session);
        ClassRegistry::instance().Register(ControlClass, [this](QObject *parent) -> QObject * {
            return new RecordingControl(script, qobject_cast<QWidget *>(parent));
        });
    }
    void TearDown() override
    {
        ClassRegistry::instance().Unregister(ControlClass);
        EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join(u'\n').toStdString();
    }

    std::unique_ptr<test::EngineDatabase> db;
    ScriptedUiServices ui;
    ScopedUiServices uiScope{ui};
    std::unique_ptr<host::HostSession> session;
    std::unique_ptr<host::ReferenceAppManager> manager;
    ControlScript script;
    RecordsetPtr none;
};

TEST_F(ModalHostTest, BothWindowsForwardByMemberNameKeepingTheArgumentOrder)
{
    frmModalDetail detail;
    ASSERT_TRUE(detail.InitDialog(ControlClass, manager.get(), "pick one"));
    EXPECT_EQ(detail.HostedControl()->parentWidget(), detail.findChild<QWidget *>("ModalDetail"));
    // 600 x 400 pixels are 9000 x 6000 twips; + 100 and + 750 twips make 9100 x 6750.
    EXPECT_EQ(detail.size(), QSize(607, 450));
    frmModalSearch search;
    RecordsetPtr callers = test::makeRecordset({{"ID", FieldType::Integer}}, {{1}, {2}});
    script.recordsetLeft = test::makeRecordset({{"ID", FieldType::Integer}});
    ASSERT_TRUE(search.InitDialog(ControlClass, manager.get(), callers, "members"));
    EXPECT_EQ(callers, script.recordsetLeft) << "the recordset goes by reference";
    EXPECT_EQ(script.calls, (QStringList{"InitModalDetails(ecarter,pick one)", "InitModalSearch(ecarter,2,members)"}));

    QVariant items = QStringList{"12", "9"};
    const struct {
        QString logged;
        std::function<QVariant()> call;
        QVariant answer;
    } rows[] = {
        {"LoadData(42)", [&] { return detail.LoadData(42), QVariant(); }, {}},
        {"NewData(-7)", [&] { return QVariant(detail.NewData(-7)); }, 993},
        {"UseSelectedRecordset(true)", [&] { return search.UseSelectedRecordset(true), QVariant(); }, {}},
        {"SetSelectedItems(12|9)", [&] { return search.SetSelectedItems(items), items; },
         QStringList{"12", "9", "picked"}},
        {"SetSingleSelect", [&] { return search.SetSingleSelect(), QVariant(); }, {}},
        {"SetMutliSelect(true)", [&] { return search.SetMutliSelect(true), QVariant(); }, {}},
        {"GetMultiSelect", [&] { return QVariant(search.GetMutliSelect()); }, true},
        {"SetNameType(2,true,Genus)", [&] { return search.SetNameType(2, true, "Genus"), QVariant(); }, {}},
        {"SetNameType(3,false)", [&] { return search.SetNameType(3, false, ""), QVariant(); }, {}},
        {"SetIdEnabled(false)", [&] { return search.SetIdEnabled(false), QVariant(); }, {}},
    };
    for (const auto &row : rows) {
        script.calls.clear();
        EXPECT_EQ(row.call(), row.answer) << row.logged.toStdString();
        EXPECT_EQ(script.calls, QStringList{row.logged});
    }
    script.fails = true;
    EXPECT_NO_THROW(search.SetSingleSelect());
    EXPECT_THROW(search.SetIdEnabled(true), Error);
}

TEST_F(ModalHostTest, DetailAsksOnlyAVisibleControlToCloseAndUnloadsWithDeactivate)
{
    {
        frmModalDetail neverShown;
        ASSERT_TRUE(neverShown.InitDialog(ControlClass, manager.get(), {}));
        script.canClose = false;
        EXPECT_TRUE(neverShown.close());
        EXPECT_EQ(neverShown.findChild<QWidget *>("ModalDetail"), nullptr);
    }
    EXPECT_EQ(script.calls.mid(1), QStringList{"Deactivate"});
    script.calls.clear();
    frmModalDetail window;
    ASSERT_TRUE(window.InitDialog(ControlClass, manager.get(), {}));
    window.show();
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

TEST_F(ModalHostTest, QuitHidesTheDetailButUnloadsTheSearchThroughCanClose)
{
    auto detail = std::make_unique<frmModalDetail>();
    ASSERT_TRUE(detail->InitDialog(ControlClass, manager.get(), {}));
    auto *hosted = qobject_cast<RecordingControl *>(detail->HostedControl());
    ui.queueDialog([&](QDialog &dialog) {
        emit hosted->Quit();
        EXPECT_FALSE(dialog.isVisible());
    });
    ui.execModal(*detail);
    EXPECT_EQ(detail->HostedControl(), hosted) << "hidden, not unloaded";
    detail.reset();
    EXPECT_EQ(script.calls.mid(1), QStringList{"Deactivate"});

    script.calls.clear();
    frmModalSearch search;
    ASSERT_TRUE(search.InitDialog(ControlClass, manager.get(), none, {}));
    script.canClose = false;
    EXPECT_FALSE(search.close()) << "asked even before it is shown";
    search.show();
    QTest::keyClick(&search, Qt::Key_Escape);
    EXPECT_TRUE(search.isVisible());
    QPointer<RecordingControl> searchControl = qobject_cast<RecordingControl *>(search.HostedControl());
    script.canClose = true;
    ui.queueDialog([&](QDialog &) { emit searchControl->Quit(); });
    ui.execModal(search);
    EXPECT_EQ(script.calls.mid(1), (QStringList{"CanClose", "CanClose", "CanClose"})) << "no Deactivate";
    EXPECT_EQ(search.GenericDetails(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(searchControl, nullptr);
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
}

TEST_F(ModalHostTest, F1AndF9AreKeysOfTheWindowAndAnswerForItsHostedControl)
{
    frmModalDetail detail;
    ASSERT_TRUE(detail.InitDialog(ControlClass, manager.get(), {}));
    auto *field = new QLineEdit(detail.HostedControl());
    field->setObjectName("ctrGroupName");
    detail.show();
    QApplication::setActiveWindow(&detail);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&detail));
    field->setFocus();

    // The host knows no topic for the control yet: no help.
    QTest::keyClick(field, Qt::Key_F1);
    EXPECT_TRUE(ui.helpRequests().isEmpty());
    manager->help().add("RecordingControl", 77);
    QTest::keyClick(field, Qt::Key_F1);
    ASSERT_EQ(ui.helpRequests().size(), 1);
    EXPECT_EQ(ui.helpRequests().first().topicId, 77);
    EXPECT_EQ(ui.helpRequests().first().helpFile, manager->HelpFile());

    ui.queueAnswer(Answer::OK);
    QTest::keyClick(field, Qt::Key_F9);
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_TRUE(ui.boxes().first().text.contains("Control: ctrGroupName")) << ui.boxes().first().text.toStdString();

    // Another window's keys are its own business.
    QWidget elsewhere;
    auto *other = new QLineEdit(&elsewhere);
    elsewhere.show();
    QApplication::setActiveWindow(&elsewhere);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    other->setFocus();
    QTest::keyClick(other, Qt::Key_F1);
    QTest::keyClick(other, Qt::Key_F9);
    EXPECT_EQ(ui.helpRequests().size(), 1);
    EXPECT_EQ(ui.boxes().size(), 1);
    EXPECT_EQ(script.calls.filter("CanClose").size(), 0);
}

} // namespace

#include "ModalHostsTest.moc"

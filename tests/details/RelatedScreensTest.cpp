// The record screen's ways out: related screens, the audit trails, Find and Copy Data From,
// through the reference host (recorded) on a fresh sample database.
#include "DetailsTestSupport.h"

#include "details/RelatedScreens.h"
#include "dialogs/frmAuditLog.h"
#include "host/HostWindowServices.h"
#include "platform/FlexGridModel.h"

#include <QMdiArea>

using namespace talv;
using namespace talv::test;

namespace {

// The main window's share of the related screens, as talv-host's main window gives it.
class RelatedWindows final : public host::HostWindowServices
{
public:
    explicit RelatedWindows(host::WindowManager &manager) : m_manager(manager) {}
    void ShowAbout() override {}
    void PopupEdit(FlexGrid *) override {}
    bool OpenRelatedDetail(const QString &view, const QString &target, const QString &caption, qint32 &id) override
    {
        return m_manager.OpenRelated(view, target, caption, id);
    }

private:
    host::WindowManager &m_manager;
};

class RelatedScreensTest : public DetailsHostTest
{
protected:
    void SetUp() override
    {
        DetailsHostTest::SetUp();
        if (!host)
            return;
        windows = std::make_unique<RelatedWindows>(*host->manager);
        host->real.setWindowServices(windows.get());
        host->listGroups({1, 2, 3});
        screen = host->open(1);
        ASSERT_NE(screen, nullptr);
        child<QTabWidget>(screen, "tabElementGroup")->setCurrentIndex(1); // the habitat's tab
    }
    void TearDown() override
    {
        if (host)
            host->real.setWindowServices(nullptr);
        DetailsHostTest::TearDown();
    }
    void run(const char *command) { screen->command(QString::fromLatin1(command))->trigger(); }
    QStringList windowTitles() const
    {
        QStringList titles;
        for (QMdiSubWindow *window : host->area.findChildren<QMdiSubWindow *>())
            titles << window->windowTitle();
        return titles;
    }
    // What the modal group search does when the user finds every group and picks those of `ids`
    // in this order, then presses OK; none: Cancel.
    static ScriptedUiServices::DialogScript pickIds(const QStringList &ids)
    {
        return [ids](QDialog &dialog) {
            auto *search = dialog.findChild<QWidget *>("ELGroupSearch");
            ASSERT_NE(search, nullptr);
            child<QLineEdit>(search, "txtGroupName")->setText("%");
            child<QPushButton>(search, "cmdFindNow")->click();
            auto *results = child<FlexGrid>(search, "fgResults");
            if (ids.isEmpty()) {
                child<QPushButton>(search, "cmdCancel")->click();
                return;
            }
            for (const QString &id : ids) {
                for (int row = 1; row < results->Rows(); ++row) {
                    if (results->TextMatrix(row, 0) != id)
                        continue;
                    if (id == ids.first())
                        results->Select(row, 0);
                    else
                        results->selectionModel()->select(results->GridModel()->index(row - 1, 0),
                                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
                }
            }
            child<QPushButton>(search, "cmdOK")->click();
        };
    }
    QString habitat(qint32 group)
    {
        return host->value("SELECT habitat_com FROM element_group WHERE element_group_id = ?", {group});
    }

    std::unique_ptr<RelatedWindows> windows;
    details::ELGroupDetails *screen = nullptr;
};

TEST_F(RelatedScreensTest, TrackingAndReferencesAskTheHostAndSayWhenNothingMatched)
{
    run("mnuFileOpenETGlobal");
    run("mnuFileOpenReference");
    EXPECT_EQ(host->recorder.relatedDetails,
              QStringList({"EGP|ETK|Element Global Tracking (EGT)...|1", "EGP|REF|References...|1"}));
    EXPECT_TRUE(windowTitles().contains("Element Global Tracking (EGT)..."));
    EXPECT_TRUE(windowTitles().contains("References..."));

    // A group without members or references: the host opens nothing and the user hears why.
    host->query("DELETE FROM element_group_membership WHERE element_group_id = 1");
    host->query("DELETE FROM element_group_reference WHERE element_group_id = 1");
    host->ui.queueAnswer(Answer::OK);
    host->ui.queueAnswer(Answer::OK);
    run("mnuFileOpenETGlobal");
    run("mnuFileOpenReference");
    EXPECT_EQ(host->recorder.messageIds, QStringList({"EGP011", "EGP011"}));
    EXPECT_EQ(host->recorder.messageArguments, QStringList({"Global Element", "Reference"}));

    // A host that cannot open screens at all.
    host->real.setWindowServices(nullptr);
    host->ui.queueAnswer(Answer::OK);
    run("mnuFileOpenReference");
    EXPECT_EQ(host->recorder.messageIds.last(), "MGA013");
    EXPECT_EQ(host->recorder.messageArguments.last(), "Reference");
}

TEST_F(RelatedScreensTest, ElementScreensOpenThroughTheWindowManagerUnderTheirCaptions)
{
    run("mnuFileOpenElMgmt");
    run("mnuFileOpenEOSpecs");
    run("mnuFileOpenRankSpecs");
    const QStringList titles = windowTitles();
    for (const char *caption : {"ELEMENT MANAGEMENT...", "EO SPECS...", "EO RANK SPECS..."})
        EXPECT_TRUE(titles.contains(QString::fromLatin1(caption))) << caption << titles.join('|').toStdString();
    EXPECT_TRUE(host->ui.boxes().isEmpty());
}

TEST_F(RelatedScreensTest, AttributeMaintenanceShowsTheFocusedFieldsChangesAndKeepsComments)
{
    for (const char *text : {"Scree", "Scree and snowbeds"}) {
        typeInto(screen, "ctrEMGHabitat", QString::fromLatin1(text));
        run("mnuFileSave");
    }
    child<QWidget>(screen, "ctrEMGHabitat")->setFocus();
    const QString caption = captionOf(screen);
    QString title;
    QStringList oldValues;
    host->ui.queueDialog([&](QDialog &dialog) {
        auto &log = dynamic_cast<frmAuditLog &>(dialog);
        title = log.windowTitle();
        for (int row = 1; row < log.grid()->Rows(); ++row)
            oldValues << log.grid()->TextMatrix(row, frmAuditLog::ColOldValue);
        log.grid()->SetTextMatrix(log.grid()->Rows() - 1, frmAuditLog::ColComments, "survey of 2024");
        emit log.grid()->AfterEdit(log.grid()->Rows() - 1, frmAuditLog::ColComments);
        log.findChild<QPushButton *>("cmdOK")->click();
    });
    run("mnuFileOpenAttrMaint");
    EXPECT_EQ(title, "Attribute Maintenance - " + caption + " (habitat_com)");
    ASSERT_GE(oldValues.size(), 2);
    EXPECT_EQ(oldValues.last(), "Scree");
    EXPECT_EQ(host->value("SELECT c.comments FROM audit_log_column c JOIN audit_log l ON l.audit_log_id = "
                          "c.audit_log_id WHERE l.record_id = 1 AND c.column_name = 'habitat_com' AND "
                          "c.new_value = 'Scree and snowbeds'"),
              "survey of 2024");

    // The whole record: every column, under the record's caption.
    host->ui.queueDialog([&](QDialog &dialog) { title = dialog.windowTitle(); });
    run("mnuFileOpenRecMaint");
    EXPECT_EQ(title, "Record Maintenance - " + caption);
}

TEST_F(RelatedScreensTest, AttributeMaintenanceWithoutAUsableTagShowsApp001AndNoWindow)
{
    child<QLineEdit>(screen, "txtCurrentRecord")->setFocus(); // no tag
    host->ui.queueAnswer(Answer::OK);
    run("mnuFileOpenAttrMaint");
    child<QWidget>(screen, "ctrEMGHabitat")->setProperty("Tag", "NoSuchProperty");
    child<QWidget>(screen, "ctrEMGHabitat")->setFocus();
    host->ui.queueAnswer(Answer::OK);
    run("mnuFileOpenAttrMaint");
    EXPECT_EQ(host->recorder.messageIds, QStringList({"APP001", "APP001"}));
    EXPECT_EQ(host->ui.dialogsShown(), 0);

    const QString xml = "<TALV><COMPONENT_PROPERTIES><A>element_group.habitat_com</A><B>plain</B>"
                        "<C>t.a.b</C></COMPONENT_PROPERTIES></TALV>";
    EXPECT_EQ(details::RelatedScreens::auditedColumn(xml, "A"), "habitat_com");
    EXPECT_EQ(details::RelatedScreens::auditedColumn(xml, "B"), "plain");
    EXPECT_EQ(details::RelatedScreens::auditedColumn(xml, "C"), "a.b");
    EXPECT_EQ(details::RelatedScreens::auditedColumn(xml, "D"), "");
    EXPECT_EQ(details::RelatedScreens::auditedColumn(xml, "A/"), "");
}

TEST_F(RelatedScreensTest, FindReplacesTheListWithThePicksUnlessCancelled)
{
    typeInto(screen, "ctrEMGHabitat", "unsaved");
    host->ui.queueAnswer(Answer::Cancel); // the save prompt
    run("mnuToolsFind");
    EXPECT_EQ(host->ui.dialogsShown(), 0);
    EXPECT_EQ(host->recorder.messageIds, QStringList{"EGP004"});

    host->ui.queueAnswer(Answer::No);
    host->ui.queueDialog(pickIds({}));
    run("mnuToolsFind");
    EXPECT_EQ(screen->state().currentList->RecordCount(), 3) << "nothing picked: the list stays";

    host->ui.queueAnswer(Answer::No);
    host->ui.queueDialog(pickIds({"12", "13"}));
    run("mnuToolsFind");
    const RecordsetPtr list = screen->state().currentList;
    ASSERT_EQ(list->RecordCount(), 2);
    list->MoveFirst();
    EXPECT_EQ(screen->state().listGroupId, list->Value("ID").toInt());
    EXPECT_EQ(child<QLineEdit>(screen, "txtCurrentRecord")->text(), "1");
    EXPECT_EQ(labelOf(screen, "lblTotalRecords"), "2");
    EXPECT_EQ(host->recorder.messageIds.count("EGP004"), 3) << "the move to the first pick asks no more";
}

TEST_F(RelatedScreensTest, CopyDataFromCopiesTheFirstPickOnlyWhenTheUserAgrees)
{
    QSignalSpy updates(screen, &details::ELGroupDetails::UpdateList);
    typeInto(screen, "ctrEMGHabitat", "unsaved");
    host->ui.queueAnswer(Answer::Cancel); // APP029
    host->ui.queueAnswer(Answer::OK);     // APP028
    run("mnuToolsCopy");
    EXPECT_EQ(host->recorder.messageIds, QStringList({"APP029", "APP028"}));
    EXPECT_EQ(host->ui.dialogsShown(), 0);
    EXPECT_NE(habitat(1), "unsaved");

    host->ui.queueAnswer(Answer::OK); // APP029: saved first
    host->ui.queueDialog(pickIds({"12", "13"}));
    host->ui.queueAnswer(Answer::No); // APP027
    run("mnuToolsCopy");
    EXPECT_EQ(habitat(1), "unsaved");
    EXPECT_TRUE(host->recorder.copies.isEmpty());

    host->ui.queueDialog(pickIds({"12", "13"}));
    host->ui.queueAnswer(Answer::Yes);
    run("mnuToolsCopy");
    EXPECT_EQ(host->recorder.copies, QStringList{"COPY_EL_GROUPS|12|1|ecarter"}) << "the first pick only";
    EXPECT_EQ(habitat(1), habitat(12));
    child<QTabWidget>(screen, "tabElementGroup")->setCurrentIndex(0);
    child<QTabWidget>(screen, "tabElementGroup")->setCurrentIndex(1);
    EXPECT_EQ(textOf(screen, "ctrEMGHabitat"), habitat(1)) << "the group is read again";
    EXPECT_EQ(updates.count(), 2) << "the save before, and the copy";
}

TEST_F(RelatedScreensTest, ACopyTheHostRefusesReportsApp036AndLeavesTheGroupAsItWas)
{
    host->listGroups({12, 13});
    screen = host->open(12);
    ASSERT_NE(screen, nullptr);
    QSignalSpy updates(screen, &details::ELGroupDetails::UpdateList);
    const QStringList before = host->rows("SELECT * FROM element_group WHERE element_group_id = 12");
    // The group picked onto itself: the host refuses the copy.
    host->ui.queueDialog(pickIds({"12"}));
    host->ui.queueAnswer(Answer::Yes);
    host->ui.queueAnswer(Answer::OK);
    run("mnuToolsCopy");
    EXPECT_EQ(host->recorder.messageIds, QStringList({"APP027", "APP036"}));
    EXPECT_TRUE(host->recorder.messageArguments.last().contains("itself"));
    EXPECT_EQ(host->rows("SELECT * FROM element_group WHERE element_group_id = 12"), before);
    EXPECT_EQ(updates.count(), 0);
    EXPECT_FALSE(child<QWidget>(screen, "picActivityWait")->isVisible());
}

} // namespace

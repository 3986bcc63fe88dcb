// The audit-log viewer on the trail that real saves filed, through the reference host's manager
// and the audit-log client.
#include "../host/SessionFixture.h"

#include "clients/ClientClasses.h"
#include "contracts/ClassRegistry.h"
#include "contracts/ComponentCollection.h"
#include "contracts/ElementGroupObject.h"
#include "contracts/Names.h"
#include "dialogs/frmAuditLog.h"
#include "platform/FlexGrid.h"
#include "platform/FlexGridModel.h"
#include "platform/ScriptedUiServices.h"
#include "platform/Twips.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace talv;

namespace {

class AuditLogViewer : public test::SessionOnEngine
{
protected:
    void SetUp() override
    {
        SessionOnEngine::SetUp();
        if (!session)
            return;
        clients::registerClientClasses();
        scopedUi = std::make_unique<ScopedUiServices>(ui);
        log = std::make_unique<frmAuditLog>();
        log->show();
        grid = log->grid();
    }

    // Saves new habitat texts into group 1 through the group client, as the record screen does.
    void editHabitat(const QStringList &texts)
    {
        std::unique_ptr<ElementGroupObject> group(
            ClassRegistry::instance().CreateAs<ElementGroupObject>(names::ElementGroupClass));
        ASSERT_TRUE(group->Open(manager->GetServerName(), manager->GetServerType()));
        ASSERT_TRUE(group->LoadByID(1));
        for (const QString &text : texts) {
            group->setProperty("HabitatCom", text);
            ASSERT_TRUE(group->Save());
        }
    }
    // The grid row of the last audited change of `column`.
    int lastRowOf(const QString &column) const
    {
        for (int row = grid->Rows() - 1; row >= 1; --row)
            if (grid->TextMatrix(row, frmAuditLog::ColColumn) == column)
                return row;
        return -1;
    }
    // Types `text` into the comment cell of `row` as the user would; false when the cell refused.
    bool typeComment(int row, const QString &text)
    {
        grid->edit(grid->GridModel()->index(row - 1, frmAuditLog::ColComments));
        auto *editor = grid->viewport()->findChild<QLineEdit *>();
        if (!editor)
            return false;
        QSignalSpy afterEdit(grid, &FlexGrid::AfterEdit);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        const bool ended = afterEdit.wait(2000);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the closed editor
        return ended;
    }
    bool editable(int row, int col)
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        grid->edit(grid->GridModel()->index(row - 1, col));
        QWidget *editor = grid->viewport()->findChild<QLineEdit *>();
        const bool opened = editor != nullptr;
        if (editor)
            QTest::keyClick(editor, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return opened;
    }
    QString storedComment(const QString &key)
    {
        return rows("SELECT comments FROM audit_log_column WHERE audit_log_column_id = ?", {key}).value(0);
    }

    void TearDown() override
    {
        EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join('\n').toStdString();
        SessionOnEngine::TearDown();
    }

    ScriptedUiServices ui;
    std::unique_ptr<ScopedUiServices> scopedUi;
    std::unique_ptr<frmAuditLog> log;
    FlexGrid *grid = nullptr;
};

TEST_P(AuditLogViewer, ShowsTheTrailOfOneColumnWithHeadingsUnitNamesAndCommentCells)
{
    editHabitat({"Scree", "Scree and snowbeds"});
    // A change filed without column changes has no Column Id and takes no comment.
    exec("INSERT INTO audit_log (audit_log_id, record_table, record_id, table_name, primary_key, action, user_name, "
         "change_date, org_unit_id) VALUES (900001, 'ELEMENT_GROUP', 1, 'ELEMENT_GROUP', '1', 'U', 'ecarter', "
         "'2001-01-01 00:00:00', 2)");
    log->LoadAuditData("ELEMENT_GROUP", 1, manager.get());

    EXPECT_EQ(log->windowTitle(), frmAuditLog::DefaultCaption);
    QStringList headings;
    for (int col = 0; col < grid->Cols(); ++col)
        headings << grid->TextMatrix(0, col);
    EXPECT_EQ(headings.join('|'),
              "ID|Date|User|Table|Actn|Column|Old Value|Comments|Primary Key|Org Unit|Id|Column Id");
    EXPECT_TRUE(grid->isColumnHidden(frmAuditLog::ColId));
    EXPECT_EQ(grid->ColWidth(frmAuditLog::ColOldValue), twips::toPixels(4500));
    EXPECT_EQ(grid->ColWidth(frmAuditLog::ColComments), twips::toPixels(4500));

    const int last = lastRowOf("habitat_com");
    ASSERT_GT(last, 1);
    EXPECT_EQ(grid->TextMatrix(last, frmAuditLog::ColOldValue), "Scree");
    EXPECT_EQ(grid->TextMatrix(last, frmAuditLog::ColUser), "ecarter");
    const QString unitName = rows("SELECT org_unit_name FROM org_unit WHERE org_unit_id = ?",
                                  {grid->TextMatrix(last, frmAuditLog::ColOrgUnit)})
                                 .value(0);
    ASSERT_FALSE(unitName.isEmpty());
    EXPECT_EQ(grid->GridModel()->index(last - 1, frmAuditLog::ColOrgUnit).data().toString(), unitName);

    int bare = -1;
    for (int row = 1; row < grid->Rows(); ++row)
        if (grid->TextMatrix(row, frmAuditLog::ColId) == "900001")
            bare = row;
    ASSERT_GT(bare, 0);
    EXPECT_EQ(grid->CellBackColor(last, frmAuditLog::ColComments), QColor(255, 255, 255));
    EXPECT_EQ(grid->CellBackColor(last, frmAuditLog::ColOldValue), QColor(192, 192, 192));
    EXPECT_EQ(grid->CellBackColor(bare, frmAuditLog::ColComments), QColor(192, 192, 192));
    EXPECT_TRUE(editable(last, frmAuditLog::ColComments));
    EXPECT_FALSE(editable(last, frmAuditLog::ColOldValue));
    EXPECT_FALSE(editable(bare, frmAuditLog::ColComments));

    // One column only: the same trail asked for habitat_com holds nothing else.
    auto one = std::make_unique<frmAuditLog>();
    one->LoadAuditData("ELEMENT_GROUP", 1, manager.get(), "habitat_com");
    EXPECT_EQ(one->grid()->Rows(), 3);
    for (int row = 1; row < one->grid()->Rows(); ++row)
        EXPECT_EQ(one->grid()->TextMatrix(row, frmAuditLog::ColColumn), "habitat_com");
}

TEST_P(AuditLogViewer, CommentsAreKeptOnePerRowAndWrittenOnlyByOk)
{
    editHabitat({"Scree", "Scree and snowbeds"});
    log->LoadAuditData("ELEMENT_GROUP", 1, manager.get(), "habitat_com");
    ASSERT_NE(log->comments(), nullptr);
    const int first = 1, second = 2;
    const QString key = grid->TextMatrix(second, frmAuditLog::ColColumnId);

    const QString comment = "O'Brien said \"snowbeds\"; " + QString(3975, QChar(u'x'));
    ASSERT_TRUE(typeComment(second, "draft"));
    ASSERT_TRUE(typeComment(second, comment));
    EXPECT_EQ(log->comments()->Count(), 1) << "the second edit updates the first one's component";
    ASSERT_TRUE(typeComment(first, "first change"));
    EXPECT_EQ(log->comments()->Count(), 2);
    EXPECT_EQ(storedComment(key), "<null>") << "nothing is written before OK";

    log->findChild<QPushButton *>("cmdOK")->click();
    EXPECT_FALSE(log->isVisible());
    EXPECT_EQ(storedComment(key), comment);
    EXPECT_EQ(storedComment(grid->TextMatrix(first, frmAuditLog::ColColumnId)), "first change");

    // Reopened, the comment shows as typed; Cancel drops a new one.
    auto again = std::make_unique<frmAuditLog>();
    again->show();
    again->LoadAuditData("ELEMENT_GROUP", 1, manager.get(), "habitat_com");
    EXPECT_EQ(again->grid()->TextMatrix(second, frmAuditLog::ColComments), comment);
    log = std::move(again);
    grid = log->grid();
    ASSERT_TRUE(typeComment(second, "never mind"));
    log->findChild<QPushButton *>("cmdCancel")->click();
    EXPECT_FALSE(log->isVisible());
    EXPECT_EQ(storedComment(key), comment);
}

TALV_ON_BOTH_ENGINES(AuditLogViewer);

// What the window does with the rows it was given, whatever the engine that gave them.
using AuditLogWindow = AuditLogViewer;
INSTANTIATE_TEST_SUITE_P(Engine, AuditLogWindow, ::testing::Values(host::Engine::SQLite), test::EngineTestName());

TEST_P(AuditLogWindow, AnEmptyTrailShowsHeadingsOnlyAndOkJustCloses)
{
    log->LoadAuditData("ELEMENT_GROUP", 424242, manager.get());
    EXPECT_EQ(grid->Rows(), 1);
    EXPECT_EQ(log->comments(), nullptr);
    log->findChild<QPushButton *>("cmdOK")->click();
    EXPECT_FALSE(log->isVisible());
}

TEST_P(AuditLogWindow, TheWindowKeepsItsMinimumAndWordWrapFollowsItsCheckBox)
{
    log->resize(10, 10);
    QTest::qWait(0);
    EXPECT_EQ(log->size(), QSize(twips::toPixels(4000), twips::toPixels(1800)));
    auto *wrap = log->findChild<QCheckBox *>("chkWordWrap");
    wrap->click();
    EXPECT_TRUE(grid->wordWrap());
    wrap->click();
    EXPECT_FALSE(grid->wordWrap());
}

TEST_P(AuditLogWindow, TenThousandAuditRowsAllShowWithTheirCommentCells)
{
    exec(
        "INSERT INTO audit_log (audit_log_id, record_table, record_id, table_name, primary_key, action, user_name, "
        "change_date, org_unit_id) VALUES (800000, 'ELEMENT_GROUP', 777777, 'ELEMENT_GROUP', '777777', 'U', 'ecarter', "
        "'2020-01-01 00:00:00', 2)");
    exec("INSERT INTO audit_log_column (audit_log_column_id, audit_log_id, column_name, old_value, new_value) "
         "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000) "
         "SELECT 800000 + i, 800000, 'col' || i, 'old ' || i, 'new' FROM n");
    log->LoadAuditData("ELEMENT_GROUP", 777777, manager.get());
    ASSERT_EQ(grid->Rows(), 10001);
    EXPECT_EQ(grid->TextMatrix(10000, frmAuditLog::ColColumnId), "810000");
    EXPECT_EQ(grid->CellBackColor(10000, frmAuditLog::ColComments), QColor(255, 255, 255));
}

} // namespace

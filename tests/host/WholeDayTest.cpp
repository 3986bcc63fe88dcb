// A user's whole day in talv-host's main window on a new sample database, checking after each
// step what the screens show and what the database holds.
#include "LiveHostFixture.h"

#include "clients/SiblingSearch.h"

#include <QListWidget>

using namespace talv;
using namespace talv::test;

namespace {

class WholeDayTest : public LiveHostTest
{
protected:
    QStringList childIds(const char *table, const char *key, qint32 id)
    {
        return value(QStringLiteral("SELECT %1 FROM %2 WHERE element_group_id = ? ORDER BY display_order")
                         .arg(QLatin1String(key), QLatin1String(table)),
                     {id})
            .split(u'\n');
    }
    QStringList gridIds(const char *grid, const char *column)
    {
        auto *rows = child<FlexGrid>(screen(), grid);
        showTabOf(rows);
        QStringList ids;
        for (int row = 1; row < rows->Rows(); ++row)
            ids << rows->TextMatrix(row, rows->ColIndex(QString::fromLatin1(column)));
        return ids;
    }
    // Adds the first child the group lacks through the grid's search, then moves it up a row.
    QString addAndMoveUp(const char *grid, const char *column, const char *addButton, const QString &candidates)
    {
        const QStringList had = gridIds(grid, column);
        QString added;
        for (const QString &id : value(candidates).split(u'\n')) {
            if (added.isEmpty() && !had.contains(id))
                added = id;
        }
        ui.queueDialog(pick({added}));
        child<QPushButton>(screen(), addButton)->click();
        EXPECT_EQ(gridIds(grid, column), had + QStringList{added});
        auto *rows = child<FlexGrid>(screen(), grid);
        const QModelIndex last = rows->model()->index(rows->Rows() - 2, rows->Cols() - 1);
        rows->scrollTo(last);
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->visualRect(last).center());
        pressIn(grid, Qt::ALT | Qt::Key_Up);
        return added;
    }
};

TEST_F(WholeDayTest, SearchListEditArrangeCheckSaveAuditCopyDeleteAndClose)
{
    // Search: Ctrl+F, the name typed, Find Now; the user's default type stays.
    press(window->workingListGrid(), Qt::CTRL | Qt::Key_F);
    QWidget *search = window->windowManager().ActiveScreen();
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(child<QComboBox>(search, "cboElementGroupType")->currentText(), "Taxonomic Group");
    QTest::keyClicks(child<QLineEdit>(search, "txtGroupName"), "Orchids");
    QTest::mouseClick(child<QPushButton>(search, "cmdFindNow"), Qt::LeftButton);
    auto *results = child<FlexGrid>(search, "fgResults");
    QStringList found;
    for (int row = 1; row < results->Rows(); ++row)
        found << results->TextMatrix(row, 0);
    QStringList expected = value("SELECT element_group_id FROM element_group WHERE d_element_group_type_id = 1 AND "
                                 "element_group_name LIKE '%Orchids%' ORDER BY element_group_id")
                               .split(u'\n');
    QStringList sorted = found;
    std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
    ASSERT_EQ(sorted, expected);

    // ... all of them added to the working list, and the search closed.
    QTest::mouseClick(child<QPushButton>(search, "cmdSelectAll"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(search, "cmdAddToList"), Qt::LeftButton);
    EXPECT_EQ(listed(), found);
    EXPECT_EQ(window->findChild<QLabel *>("lblStatusListSize")->text(),
              QStringLiteral("Element Groups: %1 records").arg(found.size()));
    window->findChild<QAction *>("mnuWindowClose")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(window->windowManager().ActiveScreen(), nullptr);

    // Open the first group with Enter and walk the list with the keys.
    FlexGrid *list = window->workingListGrid();
    list->setFocus();
    list->Select(1, 0);
    press(list, Qt::Key_Return);
    ASSERT_NE(screen(), nullptr);
    const auto at = [&](int place) {
        EXPECT_EQ(position(), QStringLiteral("%1 of %2").arg(place).arg(found.size()));
        EXPECT_EQ(QString::number(screen()->GetID()), found[place - 1]);
        EXPECT_EQ(shownIn("ctrGroupName"), group("element_group_name", found[place - 1].toInt()));
    };
    const int total = int(found.size());
    at(1);
    for (const auto &[keys, position] : {std::pair{Qt::CTRL | Qt::Key_PageDown, 2},
                                         {Qt::CTRL | Qt::Key_End, total},
                                         {Qt::CTRL | Qt::Key_PageUp, total - 1},
                                         {Qt::CTRL | Qt::Key_Home, 1}}) {
        pressIn("fgElements", keys);
        at(position);
    }
    const qint32 id = found[0].toInt();

    // Fields on every tab; the trend misspelt and put right by the spell check (F7).
    type("ctrGroupDescription", "Orchids of \"fens\" and bogs");
    type("ctrEMGEcology", "Pollinated by bees");
    type("ctrEMGTrend", "Declning in numbrs");
    ui.queueDialog([](QDialog &dialog) {
        for (const char *word : {"Declining", "numbers"}) {
            child<QLineEdit>(&dialog, "txtChangeTo")->setText(QString::fromLatin1(word));
            child<QPushButton>(&dialog, "cmdChange")->click();
        }
    });
    ui.queueAnswer(Answer::OK);
    pressIn("ctrEMGTrend", Qt::Key_F7);
    EXPECT_EQ(lastBox(), "The spelling check is complete.");
    EXPECT_EQ(shownIn("ctrEMGTrend"), "Declining in numbers");

    // A member and a reference added through their searches and each moved up a row.
    QStringList members = gridIds("fgElements", "ElementID");
    const QString member = addAndMoveUp("fgElements", "ElementID", "cmdAddElement",
                                        "SELECT element_global_id FROM element_global WHERE element_category = "
                                        "'Plant' ORDER BY element_global_id");
    members.insert(members.size() - 1, member);
    EXPECT_EQ(gridIds("fgElements", "ElementID"), members);
    QStringList references = gridIds("fgReferences", "ReferenceID");
    const QString reference = addAndMoveUp("fgReferences", "ReferenceID", "cmdAddReference",
                                           "SELECT reference_id FROM reference ORDER BY reference_code, reference_id");
    references.insert(references.size() - 1, reference);
    EXPECT_EQ(gridIds("fgReferences", "ReferenceID"), references);
    EXPECT_EQ(group("element_group_desc, trend_com", id).count("Declining"), 0) << "nothing saved yet";

    // Ctrl+S saves it all, as arranged.
    const QString before = group("element_group_desc, ecology_com, trend_com", id);
    pressIn("ctrGroupName", Qt::CTRL | Qt::Key_S);
    EXPECT_EQ(group("element_group_desc, ecology_com, trend_com, rec_last_mod_user", id),
              "Orchids of \"fens\" and bogs|Pollinated by bees|Declining in numbers|ecarter");
    EXPECT_EQ(childIds("element_group_membership", "element_global_id", id), members);
    EXPECT_EQ(childIds("element_group_reference", "reference_id", id), references);

    // The record's audit trail shows the three texts as they were.
    const QStringList old = before.split(u'|');
    const QStringList trail = auditTrail("mnuFileOpenRecMaint");
    for (const QString &change :
         {"element_group_desc|" + old[0] + "|", "ecology_com|" + old[1] + "|", "trend_com|" + old[2] + "|"})
        EXPECT_TRUE(trail.contains(change)) << change.toStdString() << "\n" << trail.join('\n').toStdString();

    // The next group takes the edited one's data (Copy Data From), audited.
    pressIn("fgElements", Qt::CTRL | Qt::Key_PageDown);
    const qint32 target = screen()->GetID();
    const QString targetEcology = group("ecology_com", target);
    ui.queueDialog(pick({found[0]}));
    ui.queueAnswer(Answer::Yes);
    screen()->command("mnuToolsCopy")->trigger();
    EXPECT_EQ(group("ecology_com, trend_com", target), "Pollinated by bees|Declining in numbers");
    EXPECT_EQ(shownIn("ctrEMGEcology"), "Pollinated by bees");
    EXPECT_TRUE(auditTrail("mnuFileOpenRecMaint").contains("ecology_com|" + targetEcology + "|"));
    EXPECT_NE(value("SELECT count(*) FROM audit_log WHERE record_id = ? AND user_name = 'ecarter'", {target}), "0");

    // ... and is deleted (Ctrl+Delete, Yes): the list closes up behind it.
    ui.queueAnswer(Answer::Yes);
    pressIn("fgElements", Qt::CTRL | Qt::Key_Delete);
    EXPECT_EQ(group("element_group_id", target), "<none>");
    found.removeAll(QString::number(target));
    EXPECT_EQ(listed(), found);
    at(2);

    // Closing with unsaved changes: Cancel keeps the screen, No drops the edit, Yes saves it.
    const QString name = group("element_group_name", screen()->GetID());
    QPointer<details::ELGroupDetails> shown = screen();
    type("ctrGroupName", "Not to be kept");
    for (const int answer : {Answer::Cancel, Answer::No}) {
        ui.queueAnswer(answer);
        screen()->command("mnuFileClose")->trigger();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(lastBox(), "Save the changes to this element group?");
        EXPECT_EQ(group("element_group_name", found[1].toInt()), name);
    }
    EXPECT_TRUE(shown.isNull()) << "No closes the screen";
    list->setFocus();
    list->Select(2, 0);
    press(list, Qt::Key_Return);
    ASSERT_NE(screen(), nullptr);
    EXPECT_EQ(shownIn("ctrGroupName"), name) << "the dropped edit is gone";
    type("ctrGroupName", "Orchids kept at closing time");
    ui.queueAnswer(Answer::Yes);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(group("element_group_name", found[1].toInt()), "Orchids kept at closing time");
}

} // namespace

// A user's whole day in talv-host's main window on a new sample database, checking after each
// step what the screens show and what the database holds.
#include "LiveHostFixture.h"

using namespace talv;
using namespace talv::test;

namespace {

class WholeDayTest : public LiveHostTest
{
protected:
    QStringList stored(const char *table, const char *key, qint32 id)
    {
        return value(QStringLiteral("SELECT %1 FROM %2 WHERE element_group_id = ? ORDER BY display_order")
                         .arg(QLatin1String(key), QLatin1String(table)),
                     {id})
            .split(u'\n');
    }
    // Adds the first of `candidates` the group lacks through the grid's search, then clicks its
    // row and moves it up one with Alt+Up; the ids the grid should now show.
    QStringList addAndMoveUp(const char *grid, const char *key, const char *addButton, const QString &candidates)
    {
        QStringList ids = gridIds(grid, key);
        QString added;
        for (const QString &id : value(candidates).split(u'\n'))
            added = added.isEmpty() && !ids.contains(id) ? id : added;
        ui.queueDialog(pick({added}));
        child<QPushButton>(screen(), addButton)->click();
        EXPECT_EQ(gridIds(grid, key), ids + QStringList{added});
        auto *rows = child<FlexGrid>(screen(), grid);
        const QModelIndex last = rows->model()->index(rows->Rows() - 2, rows->Cols() - 1);
        rows->scrollTo(last);
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->visualRect(last).center());
        pressIn(grid, Qt::ALT | Qt::Key_Up);
        ids.insert(ids.size() - 1, added);
        return ids;
    }
};

TEST_F(WholeDayTest, SearchListEditArrangeCheckSaveAuditCopyDeleteAndClose)
{
    // Ctrl+F, a name typed, Find Now; the user's default group type narrows the search.
    press(window->workingListGrid(), Qt::CTRL | Qt::Key_F);
    QWidget *search = window->windowManager().ActiveScreen();
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(child<QComboBox>(search, "cboElementGroupType")->currentText(), "Taxonomic Group");
    QTest::keyClicks(child<QLineEdit>(search, "txtGroupName"), "Orchids");
    QTest::mouseClick(child<QPushButton>(search, "cmdFindNow"), Qt::LeftButton);
    QStringList found = cells(*child<FlexGrid>(search, "fgResults"), 0);
    const QStringList matching = value("SELECT element_group_id FROM element_group WHERE d_element_group_type_id = 1 "
                                       "AND element_group_name LIKE '%Orchids%'")
                                     .split(u'\n');
    ASSERT_EQ(QSet<QString>(found.begin(), found.end()), QSet<QString>(matching.begin(), matching.end()));

    // All of them added to the working list; the search closed.
    QTest::mouseClick(child<QPushButton>(search, "cmdSelectAll"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(search, "cmdAddToList"), Qt::LeftButton);
    EXPECT_EQ(listed(), found);
    EXPECT_EQ(window->findChild<QLabel *>("lblStatusListSize")->text(),
              QStringLiteral("Element Groups: %1 records").arg(found.size()));
    window->findChild<QAction *>("mnuWindowClose")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(window->windowManager().ActiveScreen(), nullptr);

    // The first group opened with Enter, the list walked with the keys.
    ASSERT_NE(openRow(1), nullptr);
    const auto at = [&](int place) {
        EXPECT_EQ(child<QLineEdit>(screen(), "txtCurrentRecord")->text() + '/' + labelOf(screen(), "lblTotalRecords"),
                  QStringLiteral("%1/%2").arg(place).arg(found.size()));
        EXPECT_EQ(QString::number(screen()->GetID()), found[place - 1]);
        EXPECT_EQ(shownIn("ctrGroupName"), group("element_group_name", found[place - 1].toInt()));
    };
    at(1);
    const int last = int(found.size());
    for (const auto &[keys, place] : {std::pair{Qt::CTRL | Qt::Key_PageDown, 2},
                                      {Qt::CTRL | Qt::Key_End, last},
                                      {Qt::CTRL | Qt::Key_PageUp, last - 1},
                                      {Qt::CTRL | Qt::Key_Home, 1}}) {
        pressIn("fgElements", keys);
        at(place);
    }
    const qint32 id = found[0].toInt();
    const QStringList old = group("element_group_desc, ecology_com, trend_com", id).split(u'|');

    // A field on each tab of texts; the trend misspelt and put right by the spell check (F7).
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

    // On the first and last tabs a member and a reference added and each moved up a row.
    const QStringList members = addAndMoveUp("fgElements", "ElementID", "cmdAddElement",
                                             "SELECT element_global_id FROM element_global WHERE element_category "
                                             "= 'Plant' ORDER BY element_global_id");
    EXPECT_EQ(gridIds("fgElements", "ElementID"), members);
    const QStringList references = addAndMoveUp("fgReferences", "ReferenceID", "cmdAddReference",
                                                "SELECT reference_id FROM reference ORDER BY reference_id");
    EXPECT_EQ(gridIds("fgReferences", "ReferenceID"), references);
    EXPECT_EQ(group("element_group_desc, ecology_com, trend_com", id), old.join(u'|')) << "nothing saved yet";

    // Ctrl+S saves it all, as arranged.
    pressIn("ctrGroupName", Qt::CTRL | Qt::Key_S);
    EXPECT_EQ(group("element_group_desc, ecology_com, trend_com, rec_last_mod_user", id),
              "Orchids of \"fens\" and bogs|Pollinated by bees|Declining in numbers|ecarter");
    EXPECT_EQ(stored("element_group_membership", "element_global_id", id), members);
    EXPECT_EQ(stored("element_group_reference", "reference_id", id), references);

    // The record's audit trail shows the three texts as they were.
    const QStringList trail = auditTrail("mnuFileOpenRecMaint");
    for (const QString &change :
         {"element_group_desc|" + old[0] + "|", "ecology_com|" + old[1] + "|", "trend_com|" + old[2] + "|"})
        EXPECT_TRUE(trail.contains(change)) << change.toStdString() << "\n" << trail.join('\n').toStdString();

    // The next group takes the edited one's data with Copy Data From, and the copy is audited.
    pressIn("fgElements", Qt::CTRL | Qt::Key_PageDown);
    const qint32 target = screen()->GetID();
    const QString targetEcology = group("ecology_com", target);
    ui.queueDialog(pick({found[0]}));
    ui.queueAnswer(Answer::Yes);
    screen()->command("mnuToolsCopy")->trigger();
    EXPECT_EQ(group("ecology_com, trend_com", target), "Pollinated by bees|Declining in numbers");
    EXPECT_EQ(shownIn("ctrEMGEcology"), "Pollinated by bees");
    EXPECT_TRUE(auditTrail("mnuFileOpenRecMaint").contains("ecology_com|" + targetEcology + "|"));

    // ... and deleted with Ctrl+Delete: the next group takes its place in the list and on screen.
    ui.queueAnswer(Answer::Yes);
    pressIn("fgElements", Qt::CTRL | Qt::Key_Delete);
    EXPECT_TRUE(lastBox().startsWith("Delete this element group?"));
    EXPECT_EQ(group("element_group_id", target), "<none>");
    found.removeAll(QString::number(target));
    EXPECT_EQ(listed(), found);
    at(2);

    // Closing with unsaved changes: Cancel keeps the screen, No drops the edit, Yes saves it.
    const QString name = group("element_group_name", found[1].toInt());
    const QPointer<details::ELGroupDetails> shown = screen();
    type("ctrGroupName", "Not to be kept");
    for (const int answer : {Answer::Cancel, Answer::No}) {
        ui.queueAnswer(answer);
        screen()->command("mnuFileClose")->trigger();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(lastBox(), "Save the changes to this element group?");
        EXPECT_EQ(group("element_group_name", found[1].toInt()), name);
        EXPECT_EQ(shown.isNull(), answer == Answer::No);
    }
    ASSERT_NE(openRow(2), nullptr);
    EXPECT_EQ(shownIn("ctrGroupName"), name) << "the dropped edit is gone";
    type("ctrGroupName", "Orchids kept at closing time");
    ui.queueAnswer(Answer::Yes);
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(group("element_group_name", found[1].toInt()), "Orchids kept at closing time");
}

} // namespace

// A user fills a group's members and references through the element and reference searches of
// the reference clients, arranges them, saves, and finds them again as arranged, on both engines.
#include "DetailsTestSupport.h"

#include "clients/SiblingSearch.h"
#include "details/ChildListEditor.h"
#include "host/RelatedRecordScreen.h"
#include "platform/FlexGridModel.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDropEvent>
#include <QMimeData>

using namespace talv;
using namespace talv::test;

namespace {

// What differs between the two child lists; the flow is the same.
struct ChildList {
    const char *grid;
    const char *addButton;
    const char *removeButton;
    const char *keyColumn;
    const char *table;
    const char *keyField;
    int tab;
    const char *candidatesSql; // what the list's search finds, in its order
    const char *kind;          // the kind the search offers, if it offers one
    const char *shownColumn;   // the column that shows the first pick's awkward text
};
const ChildList Members{"fgElements",
                        "cmdAddElement",
                        "cmdRemoveElement",
                        "ElementID",
                        "element_group_membership",
                        "element_global_id",
                        0,
                        "SELECT e.element_global_id FROM element_global e JOIN scientific_name s ON "
                        "s.scientific_name_id = e.gname_id WHERE element_category = 'Plant' "
                        "ORDER BY s.scientific_name, e.element_global_id",
                        "Plant",
                        "GlobalComName"};
const ChildList References{"fgReferences",
                           "cmdAddReference",
                           "cmdRemoveReference",
                           "ReferenceID",
                           "element_group_reference",
                           "reference_id",
                           3,
                           "SELECT reference_id FROM reference ORDER BY reference_code, reference_id",
                           nullptr,
                           "FullCitation"};

class ChildSearchFlowTest : public OnBothEngines<DetailsHostTest>
{
protected:
    void SetUp() override
    {
        OnBothEngines<DetailsHostTest>::SetUp();
        if (!host)
            return;
        host->listGroups({1});
        screen = host->open(1);
        ASSERT_NE(screen, nullptr);
    }

    FlexGrid *gridOf(const ChildList &list) const
    {
        child<QTabWidget>(screen, "tabElementGroup")->setCurrentIndex(list.tab);
        return child<FlexGrid>(screen, list.grid);
    }
    static QStringList keysOf(const FlexGrid &grid, const char *column)
    {
        QStringList keys;
        for (int r = grid.FixedRows(); r < grid.Rows(); ++r)
            keys << grid.TextMatrix(r, grid.ColIndex(column));
        return keys;
    }
    QStringList stored(const ChildList &list)
    {
        return host->rows(QStringLiteral("SELECT %1, display_order FROM %2 WHERE element_group_id = 1 "
                                         "ORDER BY display_order")
                              .arg(QLatin1String(list.keyField), QLatin1String(list.table)));
    }
    // The search's result rows by id, the user's picks made as Ctrl+clicks would make them.
    static void pick(FlexGrid &results, const QStringList &ids)
    {
        for (int r = results.FixedRows(); r < results.Rows(); ++r) {
            if (ids.contains(results.TextMatrix(r, 0)))
                results.selectionModel()->select(results.GridModel()->index(r - results.FixedRows(), 0),
                                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    // Drops row `from` onto row `to`, as a mouse drag ends.
    static void dragRow(FlexGrid &grid, int from, int to)
    {
        grid.scrollToTop();
        const std::unique_ptr<QMimeData> mime(grid.GridModel()->mimeData({grid.GridModel()->index(from - 1, 1)}));
        const QPoint at = grid.visualRect(grid.GridModel()->index(to - 1, 1)).center();
        QDragEnterEvent enter(at, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &enter);
        QDropEvent drop(at, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &drop);
    }

    // The user adds `first` and nine more the group lacks (and one child the group has already)
    // through the list's search, drags the last row to the top, removes the third and sixth rows,
    // saves and reopens the group; `first` then shows `shown` in the list's shown column.
    void addArrangeSaveReopen(const ChildList &list, const QString &first, const QString &shown)
    {
        FlexGrid *grid = gridOf(list);
        const QStringList before = keysOf(*grid, list.keyColumn);
        ASSERT_FALSE(before.isEmpty());
        const QStringList found = host->rows(QString::fromLatin1(list.candidatesSql));
        QStringList wanted{first};
        for (const QString &id : found) {
            if (wanted.size() < 10 && !before.contains(id) && !wanted.contains(id))
                wanted << id;
        }
        ASSERT_EQ(wanted.size(), 10);
        // The picks come back in the search's order.
        std::sort(wanted.begin(), wanted.end(),
                  [&](const QString &a, const QString &b) { return found.indexOf(a) < found.indexOf(b); });

        host->ui.queueDialog([&](QDialog &window) {
            auto *search = window.findChild<clients::SiblingSearch *>();
            ASSERT_NE(search, nullptr);
            if (list.kind) {
                EXPECT_EQ(child<QComboBox>(search, "cboKind")->currentText(), list.kind);
            }
            child<QPushButton>(search, "cmdFindNow")->click();
            pick(*search->results(), wanted + QStringList{before.first()});
            ASSERT_EQ(search->results()->SelectedRows(), wanted.size() + 1);
            child<QPushButton>(search, "cmdOK")->click();
        });
        child<QPushButton>(screen, list.addButton)->click();
        QStringList expected = before + wanted;
        ASSERT_EQ(keysOf(*grid, list.keyColumn), expected) << "the one already there is not added again";
        EXPECT_EQ(grid->SelectedRows(), wanted.size()) << "the added rows come selected, ready to move";
        const auto expectShown = [&](const FlexGrid &on) {
            const int row = details::ChildListEditor::findGridRow(on, list.keyColumn, first);
            ASSERT_GT(row, 0);
            EXPECT_EQ(on.TextMatrix(row, on.ColIndex(list.shownColumn)), shown);
        };
        expectShown(*grid); // as the search handed it back

        dragRow(*grid, grid->Rows() - 1, 1);
        expected.prepend(expected.takeLast());
        ASSERT_EQ(keysOf(*grid, list.keyColumn), expected);

        grid->Select(3, 1);
        grid->selectionModel()->select(grid->GridModel()->index(5, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        child<QPushButton>(screen, list.removeButton)->click();
        expected.removeAt(5);
        expected.removeAt(2);
        ASSERT_EQ(keysOf(*grid, list.keyColumn), expected);

        screen->command(QStringLiteral("mnuFileSave"))->trigger();
        QStringList numbered;
        for (int i = 0; i < expected.size(); ++i)
            numbered << expected[i] + u'|' + QString::number(i + 1);
        EXPECT_EQ(stored(list), numbered);

        ASSERT_TRUE(screen->CanClose());
        screen = host->open(1);
        ASSERT_NE(screen, nullptr);
        EXPECT_EQ(keysOf(*gridOf(list), list.keyColumn), expected);
        expectShown(*gridOf(list)); // as it was stored
    }

    details::ELGroupDetails *screen = nullptr;
};

TALV_ON_BOTH_ENGINES(ChildSearchFlowTest);

TEST_P(ChildSearchFlowTest, TenPlantsAddedThroughTheElementSearchStayAsArranged)
{
    // One of them without a common name: it shows an empty cell.
    addArrangeSaveReopen(Members,
                         host->value("SELECT element_global_id FROM element_global WHERE element_category = 'Plant' "
                                     "AND g_primary_common_name IS NULL ORDER BY element_global_id"),
                         QString());
}

TEST_P(ChildSearchFlowTest, TenReferencesAddedThroughTheReferenceSearchStayAsArranged)
{
    QString citation;
    while (citation.size() < 4000)
        citation += QStringLiteral("Flore d'Åland, ţinuturi și 高山植物 — ");
    citation.truncate(4000);
    host->query("INSERT INTO reference (reference_id, reference_code, full_citation) VALUES (9001, 'ZZ-LONG', '" +
                QString(citation).replace(u'\'', QStringLiteral("''")) + "')");
    addArrangeSaveReopen(References, "9001", citation);
}

TEST_P(ChildSearchFlowTest, PickingNothingChangesNothing)
{
    for (const ChildList *list : {&Members, &References}) {
        FlexGrid *grid = gridOf(*list);
        const QStringList before = keysOf(*grid, list->keyColumn);
        host->ui.queueDialog([&](QDialog &window) {
            auto *search = window.findChild<clients::SiblingSearch *>();
            ASSERT_NE(search, nullptr);
            child<QPushButton>(search, "cmdFindNow")->click();
            EXPECT_FALSE(child<QPushButton>(search, "cmdOK")->isEnabled());
            child<QPushButton>(search, "cmdCancel")->click();
        });
        child<QPushButton>(screen, list->addButton)->click();
        EXPECT_EQ(keysOf(*grid, list->keyColumn), before) << list->grid;
    }
    // The stored order was already 1, 2, 3 ...: the renumbering touches no child either.
    for (ComponentCollection *children : {&screen->group()->Members(), &screen->group()->References()}) {
        for (qint32 i = 1; i <= children->Count(); ++i)
            EXPECT_FALSE(children->Item(i)->IsChanged()) << i;
    }
}

TEST_P(ChildSearchFlowTest, DoubleClickedChildrenAndTheGroupsRelatedScreensOpenReadOnlyRecords)
{
    const auto doubleClickFirstRow = [](FlexGrid &grid) {
        grid.Select(1, 1);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {},
                           grid.visualRect(grid.GridModel()->index(0, 1)).center());
    };
    const auto opened = [&] { return qobject_cast<host::RelatedRecordScreen *>(host->manager->ActiveScreen()); };

    FlexGrid *members = gridOf(Members);
    doubleClickFirstRow(*members);
    ASSERT_NE(opened(), nullptr);
    EXPECT_EQ(child<QLineEdit>(opened(), "txtID")->text(), members->TextMatrix(1, members->ColIndex("ElementID")));
    EXPECT_EQ(child<QLineEdit>(opened(), "txtSCIENTIFIC_NAME")->text(),
              members->TextMatrix(1, members->ColIndex("GlobalSciName")));

    FlexGrid *references = gridOf(References);
    doubleClickFirstRow(*references);
    ASSERT_NE(opened(), nullptr);
    EXPECT_EQ(child<QLineEdit>(opened(), "txtREFERENCE_CODE")->text(),
              references->TextMatrix(1, references->ColIndex("ReferenceCode")));

    // Element management and the EO specs show what the database holds for the group's members.
    for (const char *code : {"ELM", "EOS", "EOR"}) {
        // What the main window does when the application manager is asked (OpenRelatedDetail).
        EXPECT_TRUE(host->manager->OpenRelated("EGP", code, code, 1)) << code;
        ASSERT_NE(opened(), nullptr) << code;
        EXPECT_EQ(opened()->rows()->RecordCount(), members->Rows() - 1) << code;
    }
    EXPECT_TRUE(host->ui.boxes().isEmpty()) << "nothing ends in a message";
}

} // namespace

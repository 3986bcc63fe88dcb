// The members and references grids: the grid and the group's collection change together, in
// order, and what the user arranged is what the database holds after a save.
#include "DetailsTestSupport.h"

using namespace talv;
using namespace talv::test;

namespace {

class ChildGridsTest : public DetailsHostTest
{
protected:
    void SetUp() override
    {
        DetailsHostTest::SetUp();
        if (!host)
            return;
        host->listGroups({1, 2});
        screen = host->open(1);
        ASSERT_NE(screen, nullptr);
        members = child<FlexGrid>(screen, "fgElements");
    }
    // "key|display order" of each child in the collection, in collection order.
    QStringList collectionRows(const char *list = "Members") const
    {
        ComponentCollection &c = QLatin1String(list) == QLatin1String("Members") ? screen->group()->Members()
                                                                                 : screen->group()->References();
        const QString key =
            c.Count() && !c.Item(1)->property("ElementGlobalID").isNull() ? "ElementGlobalID" : "ReferenceID";
        QStringList rows;
        for (qint32 i = 1; i <= c.Count(); ++i)
            rows << c.Item(i)->property(key).toString() + u'|' + c.Item(i)->property("DisplayOrder").toString();
        return rows;
    }
    static QStringList keysOf(const FlexGrid &grid, const char *column)
    {
        QStringList keys;
        for (int r = 1; r < grid.Rows(); ++r)
            keys << grid.TextMatrix(r, grid.ColIndex(column));
        return keys;
    }
    QStringList stored(const char *table, const char *key, qint32 group = 1)
    {
        return host->rows(QStringLiteral("SELECT %1 FROM %2 WHERE element_group_id = ? ORDER BY display_order")
                              .arg(QLatin1String(key), QLatin1String(table)),
                          {group});
    }
    void save() { screen->command(QStringLiteral("mnuFileSave"))->trigger(); }

    details::ELGroupDetails *screen = nullptr;
    FlexGrid *members = nullptr;
};

TEST_F(ChildGridsTest, TheMembersShowInStoredOrderWithTheirKeysAndHeadings)
{
    EXPECT_EQ(members->TextMatrix(0, members->ColIndex("ElementID")), QStringLiteral("Element ID"));
    EXPECT_EQ(members->TextMatrix(0, members->ColIndex("GlobalSciName")), QStringLiteral("Global Scientific Name"));
    EXPECT_EQ(members->TextMatrix(0, members->ColIndex("GlobalComName")), QStringLiteral("Global Common Name"));
    const QStringList keys = stored("element_group_membership", "element_global_id");
    EXPECT_EQ(keysOf(*members, "ElementID"), keys);
    for (int r = 1; r < members->Rows(); ++r)
        EXPECT_EQ(members->RowData(r).toString(), keys[r - 1]);
    auto *references = child<FlexGrid>(screen, "fgReferences");
    EXPECT_TRUE(references->isColumnHidden(references->ColIndex("ReferenceID")));
}

TEST_F(ChildGridsTest, AddingAMemberTwiceAddsOneItemAndOneRow)
{
    const qsizetype before = collectionRows().size();
    screen->AddElementMember(500, QStringLiteral("Some name"), QString());
    screen->AddElementMember(500, QStringLiteral("Some name"), QString());
    EXPECT_EQ(collectionRows().size(), before + 1);
    EXPECT_EQ(collectionRows().last(), QStringLiteral("500|%1").arg(before + 1));
    EXPECT_EQ(keysOf(*members, "ElementID").last(), QStringLiteral("500"));
    EXPECT_EQ(keysOf(*members, "ElementID").count(QStringLiteral("500")), 1);
    EXPECT_EQ(members->Row(), members->Rows() - 1) << "the new row is the current one";
}

TEST_F(ChildGridsTest, RemovingRowsRenumbersTheRestAndTheSaveDeletesTheirRows)
{
    const QStringList keys = keysOf(*members, "ElementID");
    ASSERT_GE(keys.size(), 5);
    // Rows 2 and 4, as a user picks them with Ctrl (grid row r is model row r - 1).
    members->Select(2, 1);
    members->selectionModel()->select(members->model()->index(3, 1),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ASSERT_EQ(members->SelectedRows(), 2);
    child<QPushButton>(screen, "cmdRemoveElement")->click();

    QStringList left = keys;
    left.removeAt(3);
    left.removeAt(1);
    EXPECT_EQ(keysOf(*members, "ElementID"), left);
    QStringList numbered;
    for (int i = 0; i < left.size(); ++i)
        numbered << left[i] + u'|' + QString::number(i + 1);
    EXPECT_EQ(collectionRows(), numbered);
    EXPECT_TRUE(screen->state().childrenRemoved);

    // A removal alone is a change the screen asks about when it closes.
    host->ui.queueAnswer(Answer::Yes); // EGP004
    EXPECT_TRUE(screen->CanClose());
    EXPECT_EQ(stored("element_group_membership", "element_global_id"), left);
    EXPECT_FALSE(screen->state().childrenRemoved) << "a successful save clears the flag";
}

TEST_F(ChildGridsTest, MovingARowFromTheKeyboardRenumbersOnlyTheRowsThatMoved)
{
    const QStringList keys = keysOf(*members, "ElementID");
    ASSERT_GE(keys.size(), 4);
    const QString untouchedUser = host->value("SELECT rec_last_mod_user FROM element_group_membership WHERE "
                                              "element_group_id = 1 AND element_global_id = " +
                                              keys[0]);
    members->setFocus();
    members->Select(3, 1);
    QTest::keyClick(members, Qt::Key_Up, Qt::AltModifier);

    QStringList moved = keys;
    moved.move(2, 1);
    EXPECT_EQ(keysOf(*members, "ElementID"), moved);
    // The collection keeps its order; each item's DisplayOrder is its row's new position.
    QStringList renumbered;
    for (int i = 0; i < keys.size(); ++i)
        renumbered << keys[i] + u'|' + QString::number(moved.indexOf(keys[i]) + 1);
    EXPECT_EQ(collectionRows(), renumbered);
    EXPECT_FALSE(screen->group()->Members().Item(1)->IsChanged()) << "the first row kept its place";

    save();
    EXPECT_EQ(stored("element_group_membership", "element_global_id"), moved);
    EXPECT_EQ(host->value("SELECT rec_last_mod_user FROM element_group_membership WHERE element_group_id = 1 AND "
                          "element_global_id = " +
                          keys[0]),
              untouchedUser);

    // Reopened, the group shows the order the user made.
    ASSERT_TRUE(screen->CanClose());
    auto *again = host->open(1);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(keysOf(*child<FlexGrid>(again, "fgElements"), "ElementID"), moved);
}

} // namespace

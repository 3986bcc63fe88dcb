#include "host/WorkingLists.h"
#include "host/ViewCatalogue.h"

#include "support/EngineDatabase.h"

#include <QSignalSpy>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace talv;
using namespace talv::host;

namespace {

class WorkingListsTest : public ::testing::TestWithParam<Engine>
{
};

QList<qint32> ids(const Recordset &rs)
{
    QList<qint32> result;
    for (qsizetype row = 0; row < rs.RecordCount(); ++row)
        result.append(rs.ValueAt(row, rs.FieldIndex(QStringLiteral("ID"))).toInt());
    return result;
}

TEST_P(WorkingListsTest, ListsTakeTheirViewsLayoutAndFollowTheDatabase)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), test::EngineDatabase::WithSample);
    ViewCatalogue views;
    WorkingLists lists(views, QueryService(db->database().connection()));
    const qint32 groups = FindViewIndex(views, "EGP");
    QSignalSpy changed(&lists, &WorkingLists::changed);

    const RecordsetPtr list = lists.list(groups);
    EXPECT_EQ(list, lists.list(groups)) << "one list per view, shared";
    EXPECT_EQ(list->RecordCount(), 0);
    // PostgreSQL answers the names in lower case; the list finds them all the same.
    EXPECT_GE(list->FieldIndex(QStringLiteral("Group_Name")), 0);

    EXPECT_EQ(lists.refreshRecord(groups, 2, false), WorkingLists::Change::None);
    EXPECT_EQ(lists.refreshRecord(groups, 2, true), WorkingLists::Change::Appended);
    EXPECT_EQ(lists.refreshRecord(groups, 1, true), WorkingLists::Change::Appended);
    EXPECT_EQ(ids(*list), QList<qint32>({2, 1}));

    QSqlQuery q(db->database().connection());
    ASSERT_TRUE(q.exec("UPDATE element_group SET d_element_group_type_id = 8 WHERE element_group_id = 2"));
    list->MoveFirst();
    list->MoveNext(); // a screen stands on group 1
    EXPECT_EQ(lists.refreshRecord(groups, 2, true), WorkingLists::Change::Updated);
    EXPECT_EQ(list->Value(QStringLiteral("ID")).toInt(), 1);
    list->MoveFirst();
    EXPECT_EQ(list->Value(QStringLiteral("Group_Type")).toString(), "Regulatory List");

    ASSERT_TRUE(q.exec("DELETE FROM element_group WHERE element_group_id = 2"));
    EXPECT_EQ(lists.refreshRecord(groups, 2, true), WorkingLists::Change::Removed);
    EXPECT_EQ(ids(*list), QList<qint32>({1}));
    EXPECT_FALSE(lists.removeRecord(groups, 2));
    EXPECT_EQ(changed.count(), 4);
}

TEST_P(WorkingListsTest, AddAllRecordsSkipsThoseAlreadyListedAndClearKeepsTheLayout)
{
    TALV_OPEN_ENGINE_DATABASE(db, GetParam(), test::EngineDatabase::WithSample);
    ViewCatalogue views;
    WorkingLists lists(views, QueryService(db->database().connection()));
    const qint32 references = FindViewIndex(views, "REF");
    lists.refreshRecord(references, 5, true);

    EXPECT_EQ(lists.addAllRecords(references), 119);
    EXPECT_EQ(lists.list(references)->RecordCount(), 120);
    EXPECT_EQ(lists.addAllRecords(references), 0);

    lists.clear(references);
    EXPECT_EQ(lists.list(references)->RecordCount(), 0);
    EXPECT_GE(lists.list(references)->FieldIndex(QStringLiteral("REFERENCE_CODE")), 0);
    EXPECT_EQ(lists.refreshRecord(references, 5, true), WorkingLists::Change::Appended);
}

TALV_ON_BOTH_ENGINES(WorkingListsTest);

} // namespace

#include "GroupClientSupport.h"
#include "support/ErrorNumber.h"

#include "clients/StatementRecorder.h"
#include "platform/XmlHelper.h"

namespace talv::test {
namespace {

using ElementGroupOnEngine = SampleOnEngine;

int errorOfSave(ElementGroupObject &group, const QString &mention = {})
{
    return errorNumber([&] { group.Save(); }, mention);
}

TEST_P(ElementGroupOnEngine, LoadsAGroupWithItsChildrenInDisplayOrderAndNamesItsColumns)
{
    auto group = loadGroup(db(), 1);
    EXPECT_EQ(group->ID(), 1);
    EXPECT_EQ(group->property("ElementGroupName").toString(), "Alpine Plants of the Swiss Alps");
    EXPECT_EQ(group->property("dgroupmembertypeid").toInt(), 1) << "property names ignore case";
    EXPECT_EQ(group->property("DElementGroupTypeId").toInt(), 3);
    EXPECT_EQ(group->property("OrgUnitID").toInt(), 2);
    EXPECT_EQ(group->property("UniversalKey").toString(), "ELGRP00001");
    EXPECT_EQ(group->property("RecLastModDate").toDateTime().toString("yyyy-MM-dd HH:mm:ss"), "2008-05-04 09:03:32");
    EXPECT_FALSE(group->IsNew() || group->IsChanged());

    ComponentCollection &members = group->Members();
    ASSERT_EQ(members.Count(), 6);
    EXPECT_EQ(members.Item(1)->property("ElementGlobalID").toInt(), 3);
    EXPECT_EQ(members.Item(6)->property("DisplayOrder").toInt(), 6);
    EXPECT_EQ(members.FindIndex("ElementGlobalID = 27"), 3);
    EXPECT_EQ(members.FindFirst("ElementGlobalID = 999"), nullptr);
    EXPECT_EQ(group->References().FindIndex("ReferenceID = 89"), 2);
    EXPECT_EQ(errorNumber([&] { members.Item(1)->setProperty("ElementGlobalID", 4); }), Error::IllegalOperation)
        << "a stored member names its element for good";

    EXPECT_FALSE(group->LoadByID(99999));

    // Every tag of the record screen's fields finds its column.
    const QDomDocument xml = XmlHelper::load(group->ComponentPropertiesXml());
    const std::pair<const char *, const char *> tags[] = {
        {"ElementGroupName", "element_group.element_group_name"},
        {"DElementGroupTypeId", "element_group.d_element_group_type_id"},
        {"DGroupMemberTypeId", "element_group.d_group_member_type_id"},
        {"ElementGroupDesc", "element_group.element_group_desc"},
        {"RangeCom", "element_group.range_com"},
        {"TrendCom", "element_group.trend_com"},
    };
    for (const auto &[tag, column] : tags) {
        const QDomNode node = XmlHelper::selectSingleNode(xml, QStringLiteral("TALV/COMPONENT_PROPERTIES/") + tag);
        ASSERT_FALSE(node.isNull()) << tag;
        EXPECT_EQ(node.firstChild().nodeValue(), column);
    }
}

TEST_P(ElementGroupOnEngine, NewGroupTakesItsIdAtOnceAndSavesWithItsChildrenStampedWithRealDates)
{
    auto group = openGroup(db());
    group->NewRecord(false, QVariant());
    const qint32 id = group->ID();
    EXPECT_GT(id, 160);
    EXPECT_TRUE(group->IsNew());
    EXPECT_EQ(group->property("UniversalKey").toString(), QStringLiteral("ELGRP%1").arg(id, 5, 10, QLatin1Char('0')));
    auto another = openGroup(db());
    another->NewRecord(false, QVariant());
    EXPECT_EQ(another->ID(), id + 1) << "the id was taken from the sequence when the record was begun";

    group->setProperty("ElementGroupName", "Carter's \"Bog\" Plants");
    group->setProperty("DElementGroupTypeId", 2);
    group->setProperty("DGroupMemberTypeID", "1");
    group->setProperty("OrgUnitID", 1);
    group->setProperty("RecCreateUser", "ecarter");
    group->setProperty("RecLastModUser", "ecarter");
    addMember(*group, 3);
    addMember(*group, 10);
    addReference(*group, 67);
    EXPECT_TRUE(rowsOf(db().connection(), "SELECT 1 FROM element_group WHERE element_group_id = ?", {id}).isEmpty());

    ASSERT_TRUE(group->Save());
    EXPECT_FALSE(group->IsNew() || group->IsChanged());
    EXPECT_EQ(rowsOf(db().connection(),
                     "SELECT element_group_name, universal_key, version FROM element_group WHERE element_group_id = ?",
                     {id}),
              QStringList{QStringLiteral("Carter's \"Bog\" Plants|ELGRP%1|1").arg(id, 5, 10, QLatin1Char('0'))});
    EXPECT_EQ(storedMembers(db(), id), (QStringList{"3|1", "10|2"}));
    EXPECT_EQ(storedReferences(db(), id), QStringList{"67|1"});

    // The screen's "2001/01/01" gave way to the moment of the save.
    const auto reread = loadGroup(db(), id);
    const QDate today = QDate::currentDate();
    for (Component *stamped : {static_cast<Component *>(reread.get()), reread->Members().Item(2)}) {
        EXPECT_LE(std::abs(stamped->property("RecCreateDate").toDate().daysTo(today)), 1);
        EXPECT_EQ(stamped->property("RecCreateDate"), stamped->property("RecLastModDate"));
    }
    EXPECT_FALSE(reread->Members().Item(2)->IsChanged());

    group->setProperty("TrendCom", "Stable");
    ASSERT_TRUE(group->Save()) << "saved again from the same object";
    EXPECT_EQ(rowsOf(db().connection(), "SELECT version FROM element_group WHERE element_group_id = ?", {id}),
              QStringList{"2"});
}

TEST_P(ElementGroupOnEngine, OneChangedFieldSendsOneUpdateOfTheGroupAndNothingElse)
{
    auto group = loadGroup(db(), 2);
    group->setProperty("ThreatCom", "Trampling near the trailheads");
    EXPECT_TRUE(group->IsChanged());

    clients::StatementRecorder sent;
    ASSERT_TRUE(group->Save());
    EXPECT_EQ(sent.startingWith("UPDATE element_group SET").size(), 1);
    EXPECT_EQ(sent.statements().size(), 1) << sent.statements().join("\n").toStdString(); // within BEGIN and COMMIT
    EXPECT_EQ(rowsOf(db().connection(), "SELECT threat_com, version FROM element_group WHERE element_group_id = 2"),
              QStringList{"Trampling near the trailheads|2"});
    EXPECT_EQ(group->property("Version").toInt(), 2);
    EXPECT_FALSE(group->IsChanged());

    sent.clear();
    ASSERT_TRUE(group->Save());
    EXPECT_TRUE(sent.statements().isEmpty()) << "nothing changed, nothing sent";
}

TEST_P(ElementGroupOnEngine, ChildChangesWriteOnlyTheChangedRowsAndRaiseTheGroupsVersion)
{
    auto group = loadGroup(db(), 1); // members 3, 10, 27, 18, 26, 22
    ComponentCollection &members = group->Members();
    members.RemoveAt(members.FindIndex("ElementGlobalID = 10"));
    for (qint32 position = 2; position <= members.Count(); ++position)
        members.Item(position)->setProperty("DisplayOrder", QString::number(position));
    addMember(*group, 100);
    EXPECT_FALSE(group->IsChanged()) << "the group's own fields are unchanged";

    clients::StatementRecorder sent;
    ASSERT_TRUE(group->Save());
    EXPECT_EQ(sent.startingWith("UPDATE element_group SET").size(), 1);
    EXPECT_EQ(sent.startingWith("DELETE FROM element_group_membership").size(), 1);
    EXPECT_EQ(sent.startingWith("UPDATE element_group_membership").size(), 4);
    EXPECT_EQ(sent.startingWith("INSERT INTO element_group_membership").size(), 1);
    EXPECT_EQ(sent.statements().filter("element_group_reference").size(), 0);
    EXPECT_EQ(storedMembers(db(), 1), (QStringList{"3|1", "27|2", "18|3", "26|4", "22|5", "100|6"}));
    EXPECT_EQ(group->property("Version").toInt(), 2);
    for (qint32 position = 1; position <= members.Count(); ++position)
        EXPECT_FALSE(members.Item(position)->IsNew() || members.Item(position)->IsChanged());

    // A removal alone is a change of the group too.
    group->References().RemoveAt(1);
    sent.clear();
    ASSERT_TRUE(group->Save());
    EXPECT_EQ(sent.startingWith("DELETE FROM element_group_reference").size(), 1);
    EXPECT_EQ(storedReferences(db(), 1), QStringList{"89|2"});
    EXPECT_EQ(group->property("Version").toInt(), 3);
}

TEST_P(ElementGroupOnEngine, NamesAreCheckedForLengthAndForUniquenessWithoutRegardToCase)
{
    const QStringList before = groupTables(db());
    auto group = loadGroup(db(), 3);

    group->setProperty("ElementGroupName", QString(121, u'x'));
    {
        clients::StatementRecorder sent;
        EXPECT_EQ(errorOfSave(*group, "121 characters long; at most 120"), Error::InvalidArgument);
        EXPECT_TRUE(sent.statements().isEmpty());
    }
    group->setProperty("ElementGroupName", "   ");
    EXPECT_EQ(errorOfSave(*group), Error::InvalidArgument);

    // Group 64 is "Alvar Plants of the Stora Alvaret, Öland": SQLite's own case rules miss "ö".
    for (const char *taken : {"ALVAR PLANTS OF THE STORA ALVARET, ÖLAND", "alvar plants of the stora alvaret, öland"}) {
        group->setProperty("ElementGroupName", QString::fromUtf8(taken));
        EXPECT_EQ(errorOfSave(*group, "(id 64)"), Error::InvalidArgument) << taken;
    }
    EXPECT_EQ(groupTables(db()), before);
    EXPECT_EQ(group->property("ElementGroupName").toString(), "alvar plants of the stora alvaret, öland")
        << "a refused save keeps the edit";

    // A name of exactly 120 characters, some beyond ASCII, fits.
    group->setProperty("ElementGroupName", QString(118, u'a') + QStringLiteral("Ét"));
    ASSERT_TRUE(group->Save());
    group->setProperty("ElementGroupName", "Étang Plants");
    ASSERT_TRUE(group->Save());
    auto other = loadGroup(db(), 5);
    other->setProperty("ElementGroupName", "ÉTANG PLANTS");
    EXPECT_EQ(errorOfSave(*other), Error::InvalidArgument);
    // A group's own name in other letter case is no clash.
    group->setProperty("ElementGroupName", "ÉTANG PLANTS");
    EXPECT_TRUE(group->Save());
}

TEST_P(ElementGroupOnEngine, FailedSaveLeavesTheDatabaseAndTheObjectAsTheyWere)
{
    auto group = loadGroup(db(), 5);
    group->setProperty("ThreatCom", "Road salt");
    group->Members().RemoveAt(1);
    group->References().Item(1)->setProperty("DisplayOrder", 9);
    addMember(*group, 987654); // no such element
    const qint32 count = group->Members().Count();
    const QStringList before = groupTables(db());

    EXPECT_EQ(errorOfSave(*group), Error::Database);
    EXPECT_EQ(groupTables(db()), before);
    EXPECT_TRUE(group->IsChanged());
    EXPECT_EQ(group->property("Version").toInt(), 1);
    EXPECT_EQ(group->Members().Count(), count);
    EXPECT_TRUE(group->Members().Item(count)->IsNew());
    EXPECT_TRUE(group->References().Item(1)->IsChanged());

    // Without the bad member the same object saves everything else it held, the removal too.
    group->Members().RemoveAt(count);
    ASSERT_TRUE(group->Save());
    EXPECT_EQ(storedMembers(db(), 5).size(), count - 1);
    EXPECT_EQ(rowsOf(db().connection(), "SELECT threat_com, version FROM element_group "
                                        "WHERE element_group_id = 5"),
              QStringList{"Road salt|2"});
}

TEST_P(ElementGroupOnEngine, RefreshReadsTheStoredStampsButNeverDropsEdits)
{
    auto group = loadGroup(db(), 2);
    group->setProperty("TrendCom", "Declining");
    rowsOf(db().connection(), "UPDATE element_group SET rec_last_mod_user = 'jbrandt' "
                              "WHERE element_group_id = 2");
    group->Refresh();
    EXPECT_EQ(group->property("TrendCom").toString(), "Declining");
    ASSERT_TRUE(group->Save());
    rowsOf(db().connection(), "UPDATE element_group SET rec_create_user = 'mhollis' "
                              "WHERE element_group_id = 2");
    group->Refresh();
    EXPECT_EQ(group->property("RecCreateUser").toString(), "mhollis");

    // A child goes back to what was last loaded or saved.
    Component *member = group->Members().Item(1);
    member->setProperty("DisplayOrder", 7);
    member->Refresh();
    EXPECT_EQ(member->property("DisplayOrder").toInt(), 1);
}

TEST_P(ElementGroupOnEngine, LookupsListTheTypesInDisplayOrder)
{
    auto group = openGroup(db());
    const RecordsetPtr types = group->GetLookup("GroupType", QVariant(), -1);
    ASSERT_EQ(types->RecordCount(), 8);
    EXPECT_EQ(types->ValueAt(0, types->FieldIndex(u"Description")).toString(), "Conservation Priority");
    EXPECT_EQ(types->ValueAt(7, types->FieldIndex(u"ID")).toInt(), 1);
    const RecordsetPtr memberTypes = group->GetLookup("membertype", QVariant(), -1);
    ASSERT_EQ(memberTypes->RecordCount(), 3);
    EXPECT_EQ(memberTypes->Value("Description").toString(), "Botanical");
    EXPECT_EQ(errorNumber([&] { group->GetLookup("Colour", QVariant(), -1); }, "Colour"), Error::InvalidArgument);
}

TALV_ON_BOTH_ENGINES(ElementGroupOnEngine);

} // namespace
} // namespace talv::test

#include "GroupClientSupport.h"
#include "support/ErrorNumber.h"

#include "platform/RichTextControl.h"
#include "platform/ScriptedUiServices.h"

#include <QLineEdit>
#include <QSpinBox>

namespace talv::test {
namespace {

using host::Engine;

class GroupBinding : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string whyNot;
        m_db = EngineDatabase::create(Engine::SQLite, EngineDatabase::WithSample, &whyNot);
        m_server = std::make_unique<ScopedServer>(m_db->database());
        group = loadGroup(m_db->database(), 1);
        name.setObjectName("ctrGroupName");
        type.setObjectName("cboGroupType");
        type.setRange(0, 99);
    }

    std::unique_ptr<ElementGroupObject> group;
    QLineEdit name;
    QSpinBox type; // stands in for a combo box's bound value: an int property with a notify signal
    ScriptedUiServices ui;
    ScopedUiServices scopedUi{ui};

private:
    std::unique_ptr<EngineDatabase> m_db;
    std::unique_ptr<ScopedServer> m_server;
};

TEST_F(GroupBinding, FieldsShowTheGroupAndWriteEditsBackUntilUnbound)
{
    group->BindControl(&name, "text", "ElementGroupName", QString());
    group->BindControl(&type, "value", "DElementGroupTypeId", QString());
    EXPECT_EQ(name.text(), "Alpine Plants of the Swiss Alps");
    EXPECT_EQ(type.value(), 3);
    EXPECT_FALSE(group->IsChanged()) << "showing a value is no edit";
    QSpinBox narrow; // shows at most 2: clamping the group's 3 when it is shown again is no edit either
    narrow.setRange(0, 2);
    group->BindControl(&narrow, "value", "DElementGroupTypeId", QString());
    narrow.setValue(0);
    ASSERT_TRUE(group->LoadByID(1));
    EXPECT_EQ(group->property("DElementGroupTypeId").toInt(), 3);
    group->Unbind("DElementGroupTypeId");

    name.setText("Alpine Plants of the Valais");
    type.setValue(5);
    EXPECT_EQ(group->property("ElementGroupName").toString(), "Alpine Plants of the Valais");
    EXPECT_EQ(group->property("DElementGroupTypeId").toInt(), 5);
    name.setText("Alpine Plants of the Swiss Alps");
    type.setValue(3);
    EXPECT_FALSE(group->IsChanged()) << "typed back to what was loaded";

    group->Unbind("GroupName");
    name.setText("Not written");
    type.setValue(4);
    EXPECT_EQ(group->property("ElementGroupName").toString(), "Alpine Plants of the Swiss Alps");
    EXPECT_EQ(group->property("DElementGroupTypeId").toInt(), 4);
    group->Unbind(QString());
    type.setValue(6);
    EXPECT_EQ(group->property("DElementGroupTypeId").toInt(), 4);
    EXPECT_TRUE(ui.boxes().isEmpty());
}

TEST_F(GroupBinding, TheScreensTextFieldBindsByItsTextWhateverTheCase)
{
    RichTextControl field;
    field.setObjectName("ctrGroupName");
    group->BindControl(&field, "text", "ElementGroupName", QString());
    EXPECT_EQ(field.Text(), "Alpine Plants of the Swiss Alps");
    field.selectAll();
    field.insertPlainText("Alpine Plants of Valais");
    EXPECT_EQ(group->property("ElementGroupName").toString(), "Alpine Plants of Valais");
}

TEST_F(GroupBinding, EmptyTextIsNoValueAndARefusedValueChangesNothing)
{
    ASSERT_TRUE(group->LoadByID(3)); // no habitat comments
    QLineEdit habitat;
    habitat.setObjectName("ctrEMGHabitat");
    group->BindControl(&habitat, "text", "HabitatCom", QString());
    habitat.setText("x");
    habitat.setText(QString());
    EXPECT_TRUE(group->property("HabitatCom").isNull());
    EXPECT_FALSE(group->IsChanged());

    QLineEdit orgUnit;
    orgUnit.setObjectName("txtOrgUnit");
    group->BindControl(&orgUnit, "text", "OrgUnitID", QString());
    EXPECT_EQ(orgUnit.text(), "2");
    ui.queueAnswer(1);
    orgUnit.setText("two");
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_TRUE(ui.boxes().first().text.startsWith("Unable to change OrgUnitID: "))
        << ui.boxes().first().text.toStdString();
    EXPECT_EQ(group->property("OrgUnitID").toInt(), 2);
    EXPECT_EQ(orgUnit.text(), "2") << "the field shows the value kept";
}

TEST_F(GroupBinding, OnlyPropertiesThatAnnounceTheirChangesCanBeBound)
{
    EXPECT_EQ(errorNumber([&] { group->BindControl(&name, "noSuchProperty", "ElementGroupName", QString()); }),
              Error::InvalidArgument);
    EXPECT_EQ(errorNumber([&] { group->BindControl(&name, "inputMask", "ElementGroupName", QString()); },
                          "announce its changes"),
              Error::InvalidArgument);
    EXPECT_EQ(errorNumber([&] { group->BindControl(&name, "text", "NoSuchField", QString()); }), Error::MemberNotFound);
    EXPECT_EQ(errorNumber([&] { group->BindControl(nullptr, "text", "ElementGroupName", QString()); }),
              Error::InvalidArgument);
}

} // namespace
} // namespace talv::test

#include "ClientTestSupport.h"
#include "support/ErrorNumber.h"

#include "clients/ExtraFieldManager.h"
#include "contracts/FieldManager.h"
#include "contracts/Names.h"
#include "contracts/RecordObject.h"
#include "support/QueryOnlyAppManager.h"

#include <QLineEdit>

namespace talv::test {
namespace {

using RecordClientsOnEngine = SampleOnEngine;

// The host's answer to GetServerName is all the field manager asks of it.
class ServerAppManager : public QueryOnlyAppManager
{
public:
    using QueryOnlyAppManager::QueryOnlyAppManager;
    QString GetServerName() override { return TestServer; }
};

std::unique_ptr<RecordObject> openRecord(const host::Database &db, const QString &className)
{
    std::unique_ptr<RecordObject> record(ClassRegistry::instance().CreateAs<RecordObject>(className));
    if (!record->Open(TestServer, serverTypeOf(db)))
        throw std::runtime_error("Open failed");
    return record;
}

TEST_P(RecordClientsOnEngine, ElementClientsTurnAnElementListIdIntoItsGlobalElement)
{
    auto tracking = openRecord(db(), names::ElementTrackingClass);
    auto global = openRecord(db(), names::ElementGlobalClass);
    ASSERT_TRUE(tracking->LoadByID(10));
    ASSERT_TRUE(global->LoadByID(tracking->property("ElementGlobalID").toInt()));
    EXPECT_EQ(global->ID(), 10);
    EXPECT_EQ(global->property("ScientificName").toString() + "|" + global->property("CommonName").toString(),
              rowsOf(db().connection(),
                     "SELECT s.scientific_name, e.g_primary_common_name FROM element_global e "
                     "JOIN scientific_name s ON s.scientific_name_id = e.gname_id WHERE e.element_global_id = 10")
                  .value(0));
    EXPECT_FALSE(tracking->LoadByID(999999));
    EXPECT_FALSE(global->LoadByID(999999));
    EXPECT_EQ(errorNumber([&] { global->setProperty("CommonName", "x"); }), Error::IllegalOperation);
    EXPECT_FALSE(global->PermissionValue().isValid()) << "deleting is left to the user's rights";

    global->Close();
    EXPECT_EQ(global->ID(), 0);
    EXPECT_FALSE(global->Open("No Such Server", serverTypeOf(db())));
}

TEST_P(RecordClientsOnEngine, FieldManagerKeepsAScreensExtraFieldsPerRecordAndWatchesNothingElse)
{
    ServerAppManager app(db().connection());
    QWidget screen;
    auto *note = new QLineEdit(&screen);
    note->setObjectName("txtSiteNote");
    auto *other = new QLineEdit(&screen);
    other->setObjectName("txtOther");
    std::unique_ptr<FieldManager> fields(ClassRegistry::instance().CreateAs<FieldManager>(names::FieldManagerClass));
    fields->Init(1, &app);
    const auto attach = [&] { fields->Attach(&screen, "ELGroupDetails", screen.children(), QVariant()); };
    const auto stored = [&] {
        return rowsOf(db().connection(), "SELECT record_id, field_value FROM screen_extra_value ORDER BY record_id");
    };

    // Nothing configured: nothing watched, nothing written.
    attach();
    qint32 id = 5;
    fields->LoadRecord(&screen, "ELGroupDetails", screen.children(), id);
    note->setText("typed");
    EXPECT_FALSE(fields->IsDirty());
    EXPECT_TRUE(fields->SaveRecord(&screen, "ELGroupDetails", screen.children(), id));
    EXPECT_TRUE(stored().isEmpty());

    rowsOf(db().connection(), "INSERT INTO screen_extra_field (form_name, control_name, field_label) "
                              "VALUES ('ELGroupDetails', 'txtSiteNote', 'Site note')");
    attach();
    fields->LoadRecord(&screen, "ELGroupDetails", screen.children(), id);
    EXPECT_EQ(note->text(), "");
    EXPECT_FALSE(fields->IsDirty());
    note->setText("Fenced in 2019");
    other->setText("not watched");
    EXPECT_TRUE(fields->IsDirty());
    ASSERT_TRUE(fields->SaveRecord(&screen, "ELGroupDetails", screen.children(), id));
    fields->AcceptChanges();
    EXPECT_FALSE(fields->IsDirty());
    EXPECT_EQ(stored(), QStringList{"5|Fenced in 2019"});

    qint32 another = 6;
    fields->LoadRecord(&screen, "ELGroupDetails", screen.children(), another);
    EXPECT_EQ(note->text(), "");
    fields->LoadRecord(&screen, "ELGroupDetails", screen.children(), id);
    EXPECT_EQ(note->text(), "Fenced in 2019");
    note->setText(QString());
    ASSERT_TRUE(fields->SaveRecord(&screen, "ELGroupDetails", screen.children(), id));
    EXPECT_TRUE(stored().isEmpty()) << "an emptied field keeps no row";

    // A refused write answers false with the database's reason.
    rowsOf(db().connection(), "DELETE FROM screen_extra_field");
    note->setText("orphan");
    EXPECT_FALSE(fields->SaveRecord(&screen, "ELGroupDetails", screen.children(), id));
    EXPECT_FALSE(static_cast<clients::ExtraFieldManager *>(fields.get())->LastError().isEmpty());
}

TALV_ON_BOTH_ENGINES(RecordClientsOnEngine);

} // namespace
} // namespace talv::test

// The element and reference searches in the modal search window, as the record screen uses them:
// what the user types finds the right rows on both engines, and what the user picks comes back
// in the caller's set with its values whole.
#include "ClientTestSupport.h"

#include "clients/SiblingSearch.h"
#include "contracts/Names.h"
#include "dialogs/frmModalSearch.h"
#include "platform/FlexGrid.h"
#include "platform/ScriptedUiServices.h"
#include "recordset/RS_Functions.h"
#include "support/QueryOnlyAppManager.h"
#include "support/ScriptChecks.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>

#include <functional>

using namespace talv;
using namespace talv::test;
using clients::SiblingSearch;

namespace {

class SiblingSearchTest : public ::testing::TestWithParam<host::Engine>
{
protected:
    void SetUp() override
    {
        TALV_OPEN_ENGINE_DATABASE(opened, GetParam(), EngineDatabase::WithSample);
        db = std::move(opened);
        clients::registerClientClasses();
        app = std::make_unique<QueryOnlyAppManager>(db->database().connection());
    }
    void TearDown() override { expectScriptFinished(ui); }

    void exec(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery q(db->database().connection());
        ASSERT_TRUE(q.prepare(sql)) << sql.toStdString();
        for (const QVariant &v : values)
            q.addBindValue(v);
        ASSERT_TRUE(q.exec()) << sql.toStdString();
    }
    QStringList rows(const QString &sql) { return rowsOf(db->database().connection(), sql); }

    // A plant (or another kind) with its own scientific name, at a free id.
    void addElement(qint32 id, const QString &name, const QVariant &commonName, const QString &kind = "Plant")
    {
        exec("INSERT INTO scientific_name (scientific_name_id, scientific_name) VALUES (?, ?)", {id, name});
        exec("INSERT INTO element_global (element_global_id, gname_id, g_primary_common_name, element_category) "
             "VALUES (?, ?, ?, ?)",
             {id, id, commonName, kind});
    }
    void addReference(qint32 id, const QString &code, const QString &citation)
    {
        exec("INSERT INTO reference (reference_id, reference_code, full_citation) VALUES (?, ?, ?)",
             {id, code, citation});
    }

    // The empty sets the record screen hands the two searches.
    RecordsetPtr elementSelection()
    {
        RecordsetPtr selection;
        RS_Functions::CloneStructure(*app->CallGetQueryRSXML("SELECT * FROM ELEMENT_WL_VW WHERE 1=0"), selection);
        return selection;
    }
    RecordsetPtr referenceSelection() { return app->CallGetQueryRSXML("select * from REFERENCE_WL_VW WHERE 1=0"); }

    using Script = std::function<void(SiblingSearch &, frmModalSearch &)>;
    // Shows the search in its modal window as the record screen does; `script` acts as the user.
    void runSearch(const QString &className, RecordsetPtr &selection, const QString &extraText, const Script &script)
    {
        frmModalSearch window;
        ASSERT_TRUE(window.InitDialog(className, app.get(), selection, extraText));
        window.UseSelectedRecordset(true);
        ui.queueDialog([&](QDialog &shown) {
            auto *search = shown.findChild<SiblingSearch *>();
            ASSERT_NE(search, nullptr);
            script(*search, window);
        });
        UiServices::current().execModal(window);
    }

    static void type(SiblingSearch &search, const char *field, const QString &text)
    {
        auto *box = search.findChild<QLineEdit *>(field);
        ASSERT_NE(box, nullptr) << field;
        box->setText(text);
    }
    static void click(SiblingSearch &search, const char *button)
    {
        auto *b = search.findChild<QPushButton *>(button);
        ASSERT_NE(b, nullptr) << button;
        b->click();
    }
    // Column `field` of every result row, in grid order.
    static QStringList found(SiblingSearch &search, const QString &field = "ID")
    {
        QStringList values;
        FlexGrid *grid = search.results();
        for (int r = grid->FixedRows(); r < grid->Rows(); ++r)
            values << grid->TextMatrix(r, grid->BoundRecordset()->FieldIndex(field));
        return values;
    }
    static QStringList column(Recordset &set, const QString &field)
    {
        QStringList values;
        for (qsizetype r = 0; r < set.RecordCount(); ++r) {
            const QVariant v = set.ValueAt(r, set.FieldIndex(field));
            values << (v.isNull() ? QStringLiteral("<null>") : v.toString());
        }
        return values;
    }

    std::unique_ptr<EngineDatabase> db;
    std::unique_ptr<QueryOnlyAppManager> app;
    ScriptedUiServices ui;
    ScopedUiServices scopedUi{ui};
};

TALV_ON_BOTH_ENGINES(SiblingSearchTest);

TEST_P(SiblingSearchTest, TheElementSearchOffersTheKindOfItsExtraTextAndHandsBackThePickedRows)
{
    addElement(90001, "Carex testacea", QVariant());
    addElement(90002, "Carex testaceoides", "Orange sedge");
    addElement(90003, "Carex testudo", "Tortoise sedge", "Animal");
    RecordsetPtr selection = elementSelection();
    runSearch(names::ElementSearchClass, selection, "Global, Plant", [&](SiblingSearch &search, frmModalSearch &) {
        auto *kind = search.findChild<QComboBox *>("cboKind");
        EXPECT_EQ(kind->currentText(), "Plant");
        EXPECT_FALSE(kind->isEnabled()) << "the group's member type decides the kind";
        type(search, "txtScientificName", "carex TEST");
        click(search, "cmdFindNow");
        EXPECT_EQ(found(search), QStringList({"90001", "90002"})) << "the animal of the same name is not offered";
        EXPECT_EQ(search.findChild<QLabel *>("lblRecordsReturned")->text(), "Records Returned: 2");
        EXPECT_FALSE(search.findChild<QPushButton *>("cmdOK")->isEnabled()) << "nothing picked yet";
        search.results()->Select(1, 1, 2, 1);
        click(search, "cmdOK");
    });
    EXPECT_EQ(column(*selection, "ID"), QStringList({"90001", "90002"}));
    EXPECT_EQ(column(*selection, "SCIENTIFIC_NAME"), QStringList({"Carex testacea", "Carex testaceoides"}));
    EXPECT_EQ(column(*selection, "COMMON_NAME"), QStringList({"<null>", "Orange sedge"}));

    // The common name alone, with every kind: an unknown extra text offers them all.
    RecordsetPtr second = elementSelection();
    runSearch(names::ElementSearchClass, second, "Global", [&](SiblingSearch &search, frmModalSearch &) {
        EXPECT_TRUE(search.findChild<QComboBox *>("cboKind")->isEnabled());
        type(search, "txtCommonName", "sedge");
        click(search, "cmdFindNow");
        EXPECT_TRUE(found(search).contains("90003"));
        EXPECT_FALSE(found(search).contains("90001")) << "a null common name matches no text";
        click(search, "cmdCancel");
    });
    EXPECT_EQ(second->RecordCount(), 0) << "a cancelled search hands back nothing";
}

TEST_P(SiblingSearchTest, WildcardsAndQuotesAreSearchedForAsTheyAre)
{
    addElement(90011, "Alpha 100% pure", "x");
    addElement(90012, "Alpha 1000 pure", "x");
    addElement(90013, "Beta_one", "x");
    addElement(90014, "Betaxone", "x");
    addElement(90015, "Gamma o'neilii", "x");
    addElement(90016, "Gamma back\\slash", "x");
    addReference(90021, "R_1", "Smith's flora of 50% of the hills");
    addReference(90022, "RX1", "Smiths flora of 500 hills");
    addReference(90023, "RX2", "Флора Ålands 植物誌");
    const QList<std::pair<QString, QStringList>> elementCases = {
        {"0%", {"90011"}}, {"a_o", {"90013"}}, {"o'n", {"90015"}}, {"k\\s", {"90016"}}};
    for (const auto &[typed, expected] : elementCases) {
        RecordsetPtr selection = elementSelection();
        runSearch(names::ElementSearchClass, selection, QString(), [&](SiblingSearch &search, frmModalSearch &) {
            type(search, "txtScientificName", typed);
            click(search, "cmdFindNow");
            EXPECT_EQ(found(search), expected) << typed.toStdString();
            click(search, "cmdCancel");
        });
    }
    const QList<std::tuple<const char *, QString, QStringList>> referenceCases = {
        {"txtReferenceCode", "_", {"90021"}},
        {"txtCitationWords", "50% smith's", {"90021"}},
        {"txtCitationWords", "hills smiths", {"90022"}},
        {"txtCitationWords", "植物誌 флора", {"90023"}}}; // letter case beyond ASCII too
    for (const auto &[field, typed, expected] : referenceCases) {
        RecordsetPtr selection = referenceSelection();
        runSearch(names::ReferenceSearchClass, selection, QString(), [&](SiblingSearch &search, frmModalSearch &) {
            type(search, field, typed);
            click(search, "cmdFindNow");
            EXPECT_EQ(found(search), expected) << typed.toStdString();
            click(search, "cmdCancel");
        });
    }
}

TEST_P(SiblingSearchTest, TheWindowsSetUpMembersReachTheSearch)
{
    RecordsetPtr selection = referenceSelection();
    auto ids = std::make_shared<QStringList>(QStringList{"stale"});
    runSearch(names::ReferenceSearchClass, selection, QString(), [&](SiblingSearch &search, frmModalSearch &window) {
        QVariant items = QVariant::fromValue(ids);
        window.SetSelectedItems(items);
        EXPECT_TRUE(window.GetMutliSelect());
        window.SetMutliSelect(false);
        EXPECT_FALSE(window.GetMutliSelect());
        window.SetMutliSelect(true);

        // The citation only, with a keyword typed in for the user.
        window.SetNameType(1, false, "vegetation");
        auto *code = search.findChild<QLineEdit *>("txtReferenceCode");
        EXPECT_FALSE(code->isEnabled());
        EXPECT_EQ(search.findChild<QLineEdit *>("txtCitationWords")->text(), "vegetation");
        window.SetNameType(0, true);
        EXPECT_TRUE(code->isEnabled());
        EXPECT_EQ(search.findChild<QLineEdit *>("txtCitationWords")->text(), "vegetation") << "no keyword, no change";
        ui.queueAnswer(Answer::OK);
        window.SetNameType(2, true);
        EXPECT_TRUE(ui.boxes().constLast().text.contains("There is no name type 2"));

        window.SetIdEnabled(false);
        EXPECT_FALSE(search.findChild<QLineEdit *>("txtReferenceID")->isEnabled());
        window.SetIdEnabled(true);
        type(search, "txtReferenceID", "12a");
        ui.queueAnswer(Answer::OK);
        click(search, "cmdFindNow");
        EXPECT_EQ(ui.boxes().constLast().text, "Error: The Reference ID must be a whole number.");
        EXPECT_FALSE(search.results()->IsBound()) << "a mistyped id searches nothing";
        type(search, "txtReferenceID", QString());

        click(search, "cmdFindNow");
        EXPECT_GE(found(search).size(), 3);
        window.SetSingleSelect();
        EXPECT_FALSE(window.GetMutliSelect());
        search.results()->Select(3, 1);
        click(search, "cmdOK");
    });
    const QStringList expected = rows("SELECT reference_id FROM reference WHERE upper(full_citation) LIKE "
                                      "'%VEGETATION%' ORDER BY reference_code, reference_id")
                                     .mid(2, 1);
    EXPECT_EQ(*ids, expected) << "the collection holds the picked ids only";
    EXPECT_EQ(column(*selection, "ID"), expected);
}

} // namespace

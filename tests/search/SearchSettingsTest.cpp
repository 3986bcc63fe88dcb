// What the search screen remembers for its user: the Save Settings as Default check mark, the
// default criteria, and searches saved under names, on the sample database.
#include "SearchTestSupport.h"

using namespace talv;
using namespace talv::search;
using test::BlankCriteria;
using test::criteriaOf;
using test::enterCriteria;
using test::trigger;

namespace {

const QString Control = "TALV_ELGroup.ELGroupSearch";
const QString PropertiesOn = "<TALV><SEARCH_PROPERTIES control=\"TALV_ELGroup.ELGroupSearch\">"
                             "<SAVE_SETTINGS_AS_DEFAULT>1</SAVE_SETTINGS_AS_DEFAULT>"
                             "</SEARCH_PROPERTIES></TALV>";
const QString PropertiesOff = QString(PropertiesOn).replace(">1<", ">0<");

QString state(const QString &inside, const QString &control = Control)
{
    return inside.isEmpty() && control == Control
               ? QStringLiteral("<TALV><SEARCH_STATE control=\"%1\"/></TALV>").arg(control)
               : QStringLiteral("<TALV><SEARCH_STATE control=\"%1\">%2</SEARCH_STATE></TALV>").arg(control, inside);
}

// The stored document of a name criterion alone.
QString byName(int comparison, const QString &text)
{
    return state(
        QStringLiteral("<ELEMENT_GROUP_NAME comparison=\"%1\">%2</ELEMENT_GROUP_NAME>").arg(comparison).arg(text));
}

class SearchSettingsTest : public test::SearchHostTest
{
protected:
    bool canClose(ELGroupSearch *screen) { return LateBinding::call(screen, "CanClose").toBool(); }

    // The user's options of a category straight from the tables: a column, for one name or all.
    QStringList options(const char *column, const QString &category, int user, const QString &name = QStringLiteral(""))
    {
        return test::rowsOf(host->db->database().connection(),
                            QStringLiteral("SELECT o.%1 FROM user_option o JOIN user_option_category c ON "
                                           "c.user_option_category_id = o.user_option_category_id WHERE "
                                           "c.category_name = ? AND o.user_id = ? AND (? = '' OR o.option_name = ?) "
                                           "ORDER BY o.option_name")
                                .arg(QLatin1String(column)),
                            {category, user, name, name});
    }
    QStringList searchNames(int user = 1) { return options("option_name", UserSearchCategory, user); }
    QString storedSearch(const QString &name, int user = 1)
    {
        return options("option_value", UserSearchCategory, user, name).value(0);
    }
    QString storedProperties() { return options("option_value", DefaultPropertiesCategory, 1, Control).value(0); }
    QString storedCriteria() { return options("option_value", DefaultCriteriaCategory, 1, Control).value(0); }

    // Stores an option as another program might have; ids far above the ones the clients take.
    void store(const QString &category, const QString &name, const QString &value)
    {
        test::rowsOf(
            host->db->database().connection(),
            "INSERT INTO user_option (user_option_id, user_option_category_id, user_id, option_name, option_value) "
            "VALUES (?, (SELECT user_option_category_id FROM user_option_category WHERE category_name = ?), 1, ?, ?)",
            {5000 + storedCount++, category, name, value});
    }
    void renameCategory(const QString &from, const QString &to)
    {
        host->query(QStringLiteral("UPDATE user_option_category SET category_name = '%1' WHERE category_name = '%2'")
                        .arg(to, from));
    }

    // Runs the saved-search dialog from `screen`'s menu command, answered by `script`.
    void withDialog(ELGroupSearch *screen, const char *command, ScriptedUiServices::DialogScript script)
    {
        host->ui.queueDialog(std::move(script));
        trigger(screen, command);
    }

    int storedCount = 0;
};

// The trips through the user options that both engines must make alike.
using SearchSettingsOnEngines = test::OnBothEngines<SearchSettingsTest>;

TEST_P(SearchSettingsOnEngines, DefaultsStoredOnCloseComeBackInTheNextScreen)
{
    ELGroupSearch *first = host->openSearch();
    EXPECT_FALSE(test::saveAsDefault(first));
    EXPECT_EQ(criteriaOf(first), BlankCriteria);

    const QString awkward = "Lady's <slippers> & \"orchids\" ";
    enterCriteria(first, " 64 ", awkward, EndsWith, "Habitat Association");
    trigger(first, "mnuOptionsSaveDefault");
    EXPECT_TRUE(canClose(first));
    EXPECT_EQ(storedProperties(), PropertiesOn);
    const QString criteria = storedCriteria();
    EXPECT_EQ(criteria, state("<ELEMENT_GROUP_ID> 64 </ELEMENT_GROUP_ID><ELEMENT_GROUP_TYPE>Habitat Association"
                              "</ELEMENT_GROUP_TYPE><ELEMENT_GROUP_NAME comparison=\"3\">Lady's &lt;slippers> &amp; "
                              "\"orchids\" </ELEMENT_GROUP_NAME>"));

    ELGroupSearch *second = host->openSearch();
    EXPECT_TRUE(test::saveAsDefault(second));
    EXPECT_EQ(criteriaOf(second), (QStringList{" 64 ", awkward, "3", "Habitat Association"}));

    // Without the check mark only the check mark is stored, and the next screen starts blank.
    trigger(second, "mnuOptionsSaveDefault");
    enterCriteria(second, {}, "changed", Contains);
    EXPECT_TRUE(canClose(second));
    EXPECT_EQ(storedProperties(), PropertiesOff);
    EXPECT_EQ(storedCriteria(), criteria);
    ELGroupSearch *third = host->openSearch();
    EXPECT_FALSE(test::saveAsDefault(third));
    EXPECT_EQ(criteriaOf(third), BlankCriteria);

    // No criteria at all is the bare template.
    trigger(third, "mnuOptionsSaveDefault");
    EXPECT_TRUE(canClose(third));
    EXPECT_EQ(storedCriteria(), state({}));
    EXPECT_EQ(criteriaOf(host->openSearch()), BlankCriteria);
    EXPECT_TRUE(host->ui.boxes().isEmpty());
}

TEST_F(SearchSettingsTest, StoredDocumentsAreReadByNameAndAttributeNotByLetterOrOrder)
{
    // Only "0" clears the check mark; elements in any order, control in any letter case.
    for (const auto &[flag, checked] : {std::pair{"yes", true}, {"0", false}, {"", true}, {" 0", true}}) {
        SCOPED_TRACE(flag);
        host->query("DELETE FROM user_option WHERE option_name = 'TALV_ELGroup.ELGroupSearch'");
        store(DefaultPropertiesCategory, Control,
              QStringLiteral("<TALV><SEARCH_PROPERTIES control=\"talv_elgroup.elgroupsearch\"><OTHER>x</OTHER>"
                             "<SAVE_SETTINGS_AS_DEFAULT>%1</SAVE_SETTINGS_AS_DEFAULT></SEARCH_PROPERTIES></TALV>")
                  .arg(QString::fromLatin1(flag)));
        store(DefaultCriteriaCategory, Control,
              state("<ELEMENT_GROUP_NAME comparison=\"4\">%Alvar%</ELEMENT_GROUP_NAME><ELEMENT_GROUP_TYPE>"
                    "Ecological Guild</ELEMENT_GROUP_TYPE><ELEMENT_GROUP_ID>12</ELEMENT_GROUP_ID>",
                    "TALV_ELGROUP.ELGROUPSEARCH"));
        ELGroupSearch *screen = host->openSearch();
        EXPECT_EQ(test::saveAsDefault(screen), checked);
        EXPECT_EQ(criteriaOf(screen),
                  checked ? (QStringList{"12", "%Alvar%", "4", "Ecological Guild"}) : BlankCriteria);
    }

    EXPECT_TRUE(host->ui.boxes().isEmpty());
}

TEST_F(SearchSettingsTest, ModalSearchUsesDefaultsOnlyWithoutExtraInformation)
{
    store(DefaultPropertiesCategory, Control, PropertiesOn);
    store(DefaultCriteriaCategory, Control, byName(2, "Alpine"));
    ELGroupSearch *picking = host->openModal();
    EXPECT_EQ(criteriaOf(picking), (QStringList{{}, "Alpine", "2", {}}));

    // A copy of groups starts blank and leaves the defaults alone.
    ELGroupSearch *copying = host->openModal("COPY_EL_GROUPS");
    EXPECT_FALSE(test::saveAsDefault(copying));
    EXPECT_EQ(criteriaOf(copying), BlankCriteria);
    trigger(copying, "mnuOptionsSaveDefault");
    enterCriteria(copying, "7", {}, Contains);
    EXPECT_TRUE(canClose(copying));
    EXPECT_EQ(storedProperties(), PropertiesOn);
    EXPECT_EQ(storedCriteria(), byName(2, "Alpine"));
}

TEST_F(SearchSettingsTest, DefaultsThatCannotBeStoredAreReportedForTheCriteriaOnly)
{
    ELGroupSearch *screen = host->openSearch();
    trigger(screen, "mnuOptionsSaveDefault");
    enterCriteria(screen, "4", {}, Contains);
    EXPECT_TRUE(canClose(screen));
    const QString stored = storedCriteria();

    // The database gone: the criteria's failure is shown and what was stored stays.
    QSqlDatabase connection = host->session.connection();
    connection.close();
    enterCriteria(screen, "5", {}, Contains);
    EXPECT_TRUE(host->boxFrom([&] { EXPECT_TRUE(canClose(screen)); }).startsWith("Unable to save default settings: "));
    ASSERT_TRUE(connection.open());
    EXPECT_EQ(storedCriteria(), stored);

    // Options that cannot be read are reported when the next screen opens; it opens all the same.
    host->query("ALTER TABLE user_option RENAME TO user_option_elsewhere");
    ELGroupSearch *later = nullptr;
    EXPECT_TRUE(host->boxFrom([&] { later = host->openSearch(); }).startsWith("Unable to load default settings: "));
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(criteriaOf(later), BlankCriteria);
}

TEST_F(SearchSettingsTest, ABadStoredDocumentIsReportedAndLeavesTheScreenResetAndUsable)
{
    const QString unreadable = "Unable to read search state xml: Invalid xml content";
    const std::pair<const char *, QString> cases[] = {
        {"not well-formed", "<TALV><SEARCH_STATE control=\"TALV_ELGroup.ELGroupSearch\">"},
        {"another root", "<SEARCH><SEARCH_STATE control=\"TALV_ELGroup.ELGroupSearch\"/></SEARCH>"},
        {"another control", state("<ELEMENT_GROUP_ID>1</ELEMENT_GROUP_ID>", "TALV_Element.ElementSearch")},
        {"no control", "<TALV><SEARCH_STATE/></TALV>"},
        {"properties instead", PropertiesOn},
        {"comparison too big", byName(5, "x")},
        {"comparison not a number", state("<ELEMENT_GROUP_NAME comparison=\"two\">x</ELEMENT_GROUP_NAME>")},
        {"no comparison", state("<ELEMENT_GROUP_NAME>x</ELEMENT_GROUP_NAME>")},
    };
    for (const auto &[name, document] : cases)
        store(UserSearchCategory, QString::fromLatin1(name), document);

    ELGroupSearch *screen = host->openSearch();
    for (const auto &[name, document] : cases) {
        SCOPED_TRACE(name);
        enterCriteria(screen, {}, {}, Contains, "Geographic Assemblage");
        ASSERT_GT(test::findByName(screen, "Alvar")->Rows(), 1);
        const QString said = host->boxFrom([&] { withDialog(screen, "Open", test::pickName(name)); });
        // A document of ours with a bad comparison says more than that the document is not ours.
        EXPECT_EQ(said == unreadable, !document.contains("ELEMENT_GROUP_NAME")) << said.toStdString();
        EXPECT_TRUE(said.startsWith("Unable to read search state xml: ")) << said.toStdString();
        EXPECT_EQ(criteriaOf(screen), BlankCriteria);
        EXPECT_EQ(test::child<FlexGrid>(screen, "fgResults")->Rows(), 1);
    }
    // Still usable: a good stored search opens.
    withDialog(screen, "Open", test::pickName("Ohio mussels"));
    EXPECT_EQ(criteriaOf(screen), (QStringList{{}, "Ohio Basin", "0", {}}));

    // Bad stored properties are reported at start; the screen opens all the same.
    store(DefaultPropertiesCategory, Control, state({}));
    ELGroupSearch *next = nullptr;
    EXPECT_EQ(host->boxFrom([&] { next = host->openSearch(); }),
              "Unable to read search properties xml: Invalid xml content");
    ASSERT_NE(next, nullptr);
    EXPECT_FALSE(test::saveAsDefault(next));
}

TEST_F(SearchSettingsTest, DocumentsDeeperOrLongerThanAnySearchAreRefusedUnread)
{
    QString deep = QStringLiteral("<TALV><SEARCH_STATE control=\"%1\">").arg(Control);
    for (int i = 0; i < 1000; ++i)
        deep += QStringLiteral("<ELEMENT_GROUP_NAME comparison=\"0\">");
    store(UserSearchCategory, "deep", deep);
    // A damaged option as it was met: 100,000 levels in some 700 KB.
    store(UserSearchCategory, "huge",
          QStringLiteral("<TALV><SEARCH_STATE control=\"%1\">").arg(Control) +
              QStringLiteral("<TALV>x").repeated(100000));
    ELGroupSearch *screen = host->openSearch();
    enterCriteria(screen, "3", {}, Contains);
    EXPECT_EQ(host->boxFrom([&] { withDialog(screen, "Open", test::pickName("deep")); }),
              "Unable to read search state xml: The document nests elements deeper than 8 levels.");
    EXPECT_EQ(criteriaOf(screen), BlankCriteria);
    EXPECT_EQ(host->boxFrom([&] { withDialog(screen, "Open", test::pickName("huge")); }),
              "Unable to read search state xml: The document is longer than 65536 characters.");
}

TEST_F(SearchSettingsTest, StartUpReadsTheTypesThenTheStoredDefaultsAndAFailedResetEndsTheirApply)
{
    // Without stored defaults nothing but the type list is read.
    host->recorder.sqlSent.clear();
    ELGroupSearch *plain = host->openSearch();
    EXPECT_EQ(host->recorder.sqlSent, QStringList{GroupTypesSql});
    EXPECT_TRUE(test::child<QPushButton>(plain, "cmdFindNow")->isDefault());

    // With the working list's view gone the reset inside the apply fails: the apply ends there,
    // with its own message, and the start goes on.
    store(DefaultPropertiesCategory, Control, PropertiesOn);
    store(DefaultCriteriaCategory, Control, byName(2, "Alpine"));
    host->query("DROP VIEW ELEMENT_GROUP_WL_VW");
    host->query("DROP VIEW ELGroup_WL_VW"); // the host has read its working list already
    ELGroupSearch *screen = nullptr;
    const QString said = host->boxFrom([&] { screen = host->openSearch(); });
    EXPECT_TRUE(said.startsWith("Unable to read search properties xml: ") &&
                said.contains("ELGroup_WL_VW", Qt::CaseInsensitive))
        << said.toStdString();
    ASSERT_NE(screen, nullptr);
    EXPECT_FALSE(test::saveAsDefault(screen));
    EXPECT_EQ(criteriaOf(screen), BlankCriteria);
    EXPECT_TRUE(test::child<QPushButton>(screen, "cmdFindNow")->isDefault());
}

TEST_F(SearchSettingsTest, OpenAndSaveRememberTheNameUntilNewSearchAndAskBeforeReplacing)
{
    ELGroupSearch *screen = host->openSearch();
    enterCriteria(screen, "9", {}, Contains, "Taxonomic Group");
    host->recorder.sqlSent.clear();
    withDialog(screen, "mnuFileOpenSearch", test::pickName("Carter's alpine groups"));
    EXPECT_EQ(criteriaOf(screen), (QStringList{{}, "Alpine", "2", {}}));
    EXPECT_TRUE(host->recorder.searches().isEmpty()); // opened, not run

    // The remembered name is saved again without a question or a dialog.
    enterCriteria(screen, {}, "Alpine", EndsWith);
    trigger(screen, "Save");
    EXPECT_EQ(storedSearch("Carter's alpine groups"), byName(3, "Alpine"));

    // New Search forgets the name: the next Save asks for one.
    trigger(screen, "mnuFileNew");
    enterCriteria(screen, {}, "Alvar", ExactMatch);
    withDialog(screen, "mnuFileSaveSearch", test::typeName("Alvar groups"));
    EXPECT_EQ(storedSearch("Alvar groups"), byName(1, "Alvar"));

    // Save As onto a stored name asks first; No keeps it, Yes replaces it.
    const QString ohio = storedSearch("Ohio mussels");
    host->ui.queueAnswer(Answer::No);
    withDialog(screen, "mnuFileSaveSearchAs", test::pickName("Ohio mussels"));
    ASSERT_EQ(host->ui.boxes().size(), 1);
    EXPECT_EQ(host->ui.boxes().first().text, "Search 'Ohio mussels' already exists. Overwrite?");
    EXPECT_EQ(host->ui.boxes().first().buttons, MsgButtons::YesNo);
    EXPECT_EQ(host->ui.boxes().first().defaultAnswer, Answer::No) << "Enter must not overwrite";
    EXPECT_EQ(storedSearch("Ohio mussels"), ohio);
    host->ui.queueAnswer(Answer::Yes);
    withDialog(screen, "mnuFileSaveSearchAs", test::typeName("Ohio mussels"));
    EXPECT_EQ(storedSearch("Ohio mussels"), byName(1, "Alvar"));

    // Cancelling saves nothing; a search deleted while the list was shown is reported.
    withDialog(screen, "mnuFileSaveSearchAs", test::cancelDialog());
    EXPECT_EQ(searchNames(), (QStringList{"Alvar groups", "Carter's alpine groups", "Ohio mussels"}));
    enterCriteria(screen, {}, "kept", Contains);
    EXPECT_EQ(host->boxFrom([&] {
        withDialog(screen, "Open", [&](QDialog &dialog) {
            host->query("DELETE FROM user_option WHERE option_name = 'Ohio mussels'");
            test::pickName("Ohio mussels")(dialog);
        });
    }),
              "Unable to load search criteria under the name: 'Ohio mussels'");
    EXPECT_EQ(criteriaOf(screen), (QStringList{{}, "kept", "0", {}}));
}

// "Öland alvar" is also jbrandt's: ecarter's is a search of her own.
TEST_P(SearchSettingsOnEngines, NamesAreStoredListedOpenedAndDeletedAsTypedForTheirUserOnly)
{
    const QString jbrandts = storedSearch("Öland alvar", 2);
    const QStringList names{
        "O'Hara's bogs", "typed as it''s", "<b>fens</b> & \"marshes\"", "  padded  ", "Ölands alvar – ängar, Łódź",
        "Öland alvar"};
    ELGroupSearch *screen = host->openSearch();
    for (int i = 0; i < names.size(); ++i) {
        enterCriteria(screen, {}, names.at(i), i % 5);
        withDialog(screen, "mnuFileSaveSearchAs", test::typeName(names.at(i)));
    }
    for (int i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names.at(i).toStdString());
        trigger(screen, "mnuFileNew");
        withDialog(screen, "mnuFileOpenSearch", test::pickName(names.at(i)));
        EXPECT_EQ(criteriaOf(screen), (QStringList{{}, names.at(i), QString::number(i % 5), {}}));
    }

    for (const QString &name : names)
        withDialog(screen, "mnuFileDeleteSearch", test::pickName(name));
    EXPECT_EQ(searchNames(), (QStringList{"Carter's alpine groups", "Ohio mussels"}));
    EXPECT_EQ(storedSearch("Öland alvar", 2), jbrandts);
    withDialog(screen, "Save", test::cancelDialog()); // deleting the opened search forgets its name
    EXPECT_TRUE(host->ui.boxes().isEmpty());
}

TEST_F(SearchSettingsTest, TheLongestNameTheBoxTakesIsStoredAndSavedAgainWithoutComplaint)
{
    ELGroupSearch *screen = host->openSearch();
    enterCriteria(screen, {}, "Alvar", Contains);
    const auto typeLongName = [](QDialog &dialog) {
        QTest::keyClicks(test::child<QLineEdit>(&dialog, "txtSearchName"), QString(130, u'x'));
        test::click(&dialog, "cmdSave");
    };
    withDialog(screen, "mnuFileSaveSearchAs", typeLongName);
    trigger(screen, "mnuFileSaveSearch");
    EXPECT_EQ(storedSearch(QString(120, u'x')), byName(0, "Alvar"));
    EXPECT_TRUE(host->ui.boxes().isEmpty());
}

TEST_F(SearchSettingsTest, AFailedSaveOrDeleteIsReportedAndLosesNothing)
{
    ELGroupSearch *screen = host->openSearch();
    const QStringList before = searchNames();
    enterCriteria(screen, {}, "Alvar", Contains);
    // No category for user searches: a new name cannot be stored.
    renameCategory(UserSearchCategory, "$ELSEWHERE");
    const QString said =
        host->boxFrom([&] { withDialog(screen, "mnuFileSaveSearchAs", test::typeName("Alvar groups")); });
    EXPECT_TRUE(said.startsWith("Unable to save settings: ") && said.contains(UserSearchCategory));
    renameCategory("$ELSEWHERE", UserSearchCategory);

    // A delete the database refuses.
    host->query("CREATE TRIGGER keep_searches BEFORE DELETE ON user_option "
                "BEGIN SELECT RAISE(ABORT, 'searches are kept'); END");
    const QString refused =
        host->boxFrom([&] { withDialog(screen, "mnuFileDeleteSearch", test::pickName("Ohio mussels")); });
    EXPECT_TRUE(refused.startsWith("An error occurred while deleting the saved search.\r\n\r\n"));
    EXPECT_TRUE(refused.contains("searches are kept"));
    EXPECT_EQ(searchNames(), before);
}

TALV_ON_BOTH_ENGINES(SearchSettingsOnEngines);

} // namespace

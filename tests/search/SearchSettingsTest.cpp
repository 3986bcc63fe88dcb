// What the search screen remembers for its user: the Save Settings as Default check mark, the
// default criteria, and searches saved under names, on the sample database.
#include "SettingsTestSupport.h"

#include <QDomDocument>

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
const QString BareState = "<TALV><SEARCH_STATE control=\"TALV_ELGroup.ELGroupSearch\"/></TALV>";

QString state(const QString &inside, const QString &control = Control)
{
    return QStringLiteral("<TALV><SEARCH_STATE control=\"%1\">%2</SEARCH_STATE></TALV>").arg(control, inside);
}

// The state document's criteria elements as "NAME[comparison]=text", in document order.
QStringList stateElements(const QString &xml)
{
    QDomDocument document;
    EXPECT_TRUE(document.setContent(xml)) << xml.toStdString();
    const QDomElement root = document.documentElement();
    EXPECT_EQ(root.tagName(), "TALV");
    const QDomElement stateElement = root.firstChildElement("SEARCH_STATE");
    EXPECT_EQ(stateElement.attribute("control"), Control);
    QStringList found;
    for (QDomElement e = stateElement.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        const QString comparison = e.attribute("comparison");
        found << e.tagName() + (comparison.isEmpty() ? QString() : u'[' + comparison + u']') + u'=' + e.text();
    }
    return found;
}

class SearchSettingsTest : public test::SearchHostTest
{
protected:
    void SetUp() override
    {
        SearchHostTest::SetUp();
        if (!host || HasFatalFailure())
            return;
        options = std::make_unique<test::OptionTable>(*host);
    }

    bool canClose(ELGroupSearch *screen) { return LateBinding::call(screen, "CanClose").toBool(); }
    QString storedProperties(int user = 1) { return options->value(DefaultPropertiesCategory, Control, user); }
    QString storedCriteria(int user = 1) { return options->value(DefaultCriteriaCategory, Control, user); }
    QString storedSearch(const QString &name, int user = 1) { return options->value(UserSearchCategory, name, user); }
    QStringList boxTexts() const
    {
        QStringList texts;
        for (const auto &box : host->ui.boxes())
            texts << box.text;
        return texts;
    }

    std::unique_ptr<test::OptionTable> options;
};

// The trips through the user options that both engines must make alike.
using SearchSettingsOnEngines = test::OnBothEngines<SearchSettingsTest>;

// --- defaults -------------------------------------------------------------------------------

TEST_P(SearchSettingsOnEngines, DefaultsStoredOnCloseComeBackInTheNextScreen)
{
    ELGroupSearch *first = host->openSearch();
    EXPECT_FALSE(test::saveAsDefault(first));
    EXPECT_EQ(criteriaOf(first), BlankCriteria); // a user without defaults keeps the fresh screen

    const QString awkward = "Lady's <slippers> & \"orchids\" ";
    enterCriteria(first, " 64 ", awkward, EndsWith, "Habitat Association");
    trigger(first, "mnuOptionsSaveDefault");
    EXPECT_TRUE(test::saveAsDefault(first));
    EXPECT_TRUE(canClose(first));
    EXPECT_TRUE(host->ui.boxes().isEmpty());

    EXPECT_EQ(storedProperties(), PropertiesOn);
    const QString criteria = storedCriteria();
    EXPECT_EQ(stateElements(criteria), (QStringList{"ELEMENT_GROUP_ID= 64 ", "ELEMENT_GROUP_TYPE=Habitat Association",
                                                    QStringLiteral("ELEMENT_GROUP_NAME[3]=") + awkward}));
    EXPECT_TRUE(criteria.contains("&lt;slippers") && criteria.contains("&amp;")) << criteria.toStdString();

    ELGroupSearch *second = host->openSearch();
    EXPECT_TRUE(test::saveAsDefault(second));
    EXPECT_EQ(criteriaOf(second), (QStringList{" 64 ", awkward, "3", "Habitat Association"}));

    // Without the check mark only the check mark is stored, and the next screen starts blank.
    trigger(second, "mnuOptionsSaveDefault");
    enterCriteria(second, {}, "changed", Contains, {});
    EXPECT_TRUE(canClose(second));
    EXPECT_EQ(storedProperties(), PropertiesOff);
    EXPECT_EQ(storedCriteria(), criteria);
    ELGroupSearch *third = host->openSearch();
    EXPECT_FALSE(test::saveAsDefault(third));
    EXPECT_EQ(criteriaOf(third), BlankCriteria);

    // No criteria at all is the bare template.
    trigger(third, "mnuOptionsSaveDefault");
    EXPECT_TRUE(canClose(third));
    EXPECT_EQ(storedCriteria(), BareState);
    EXPECT_EQ(criteriaOf(host->openSearch()), BlankCriteria);
}

TEST_F(SearchSettingsTest, StoredDocumentsAreReadByNameAndAttributeNotByLetterOrOrder)
{
    struct Case {
        const char *saveAsDefault;
        bool checked;
    };
    // Only "0" clears the check mark; elements in any order, control in any letter case.
    for (const Case &c : {Case{"yes", true}, Case{"0", false}, Case{"", true}, Case{" 0", true}}) {
        SCOPED_TRACE(c.saveAsDefault);
        host->query("DELETE FROM user_option WHERE option_name = 'TALV_ELGroup.ELGroupSearch'");
        options->store(DefaultPropertiesCategory, Control,
                       QStringLiteral("<TALV><SEARCH_PROPERTIES control=\"talv_elgroup.elgroupsearch\">"
                                      "<OTHER>x</OTHER><SAVE_SETTINGS_AS_DEFAULT>%1</SAVE_SETTINGS_AS_DEFAULT>"
                                      "</SEARCH_PROPERTIES></TALV>")
                           .arg(QString::fromLatin1(c.saveAsDefault)));
        options->store(DefaultCriteriaCategory, Control,
                       state("<ELEMENT_GROUP_NAME comparison=\"4\">%Alvar%</ELEMENT_GROUP_NAME>"
                             "<ELEMENT_GROUP_TYPE>Ecological Guild</ELEMENT_GROUP_TYPE>"
                             "<ELEMENT_GROUP_ID>12</ELEMENT_GROUP_ID>",
                             "TALV_ELGROUP.ELGROUPSEARCH"));
        ELGroupSearch *screen = host->openSearch();
        EXPECT_EQ(test::saveAsDefault(screen), c.checked);
        EXPECT_EQ(criteriaOf(screen),
                  c.checked ? (QStringList{"12", "%Alvar%", "4", "Ecological Guild"}) : BlankCriteria);
    }

    // A type renamed since the search was stored leaves the blank type; the rest still applies.
    host->query("DELETE FROM user_option WHERE option_name = 'TALV_ELGroup.ELGroupSearch'");
    options->store(DefaultPropertiesCategory, Control, PropertiesOn);
    options->store(DefaultCriteriaCategory, Control,
                   state("<ELEMENT_GROUP_TYPE>habitat association</ELEMENT_GROUP_TYPE>"
                         "<ELEMENT_GROUP_NAME comparison=\"1\">Bogs</ELEMENT_GROUP_NAME>"));
    ELGroupSearch *screen = host->openSearch();
    EXPECT_EQ(criteriaOf(screen), (QStringList{{}, "Bogs", "1", {}}));
    EXPECT_EQ(test::child<QComboBox>(screen, "cboElementGroupType")->currentIndex(), 0);
    EXPECT_TRUE(host->ui.boxes().isEmpty());
}

TEST_F(SearchSettingsTest, ModalSearchUsesDefaultsOnlyWithoutExtraInformation)
{
    options->store(DefaultPropertiesCategory, Control, PropertiesOn);
    const QString stored = state("<ELEMENT_GROUP_NAME comparison=\"2\">Alpine</ELEMENT_GROUP_NAME>");
    options->store(DefaultCriteriaCategory, Control, stored);

    ELGroupSearch *picking = host->openModal();
    EXPECT_TRUE(test::saveAsDefault(picking));
    EXPECT_EQ(criteriaOf(picking), (QStringList{{}, "Alpine", "2", {}}));
    enterCriteria(picking, {}, "Alvar", Contains, {});
    EXPECT_TRUE(canClose(picking));
    EXPECT_EQ(stateElements(storedCriteria()), QStringList{"ELEMENT_GROUP_NAME[0]=Alvar"});

    // A copy of groups starts blank and leaves the defaults alone.
    ELGroupSearch *copying = host->openModal("COPY_EL_GROUPS");
    EXPECT_FALSE(test::saveAsDefault(copying));
    EXPECT_EQ(criteriaOf(copying), BlankCriteria);
    trigger(copying, "mnuOptionsSaveDefault");
    enterCriteria(copying, "7", {}, Contains, {});
    EXPECT_TRUE(canClose(copying));
    EXPECT_EQ(storedProperties(), PropertiesOn);
    EXPECT_EQ(stateElements(storedCriteria()), QStringList{"ELEMENT_GROUP_NAME[0]=Alvar"});

    // A non-modal search with extra information loads the defaults but stores nothing.
    QWidget window;
    auto *screen = new ELGroupSearch(&window);
    screen->InitSearch(host->lists.list(host->groupsView), &host->recorder, host->groupsView, host->manager.get(),
                       &host->views, "COPY_EL_GROUPS");
    EXPECT_EQ(criteriaOf(screen), (QStringList{{}, "Alvar", "0", {}}));
    trigger(screen, "mnuOptionsSaveDefault");
    EXPECT_TRUE(canClose(screen));
    EXPECT_EQ(storedProperties(), PropertiesOn);
    EXPECT_TRUE(host->ui.boxes().isEmpty());
}

TEST_F(SearchSettingsTest, DefaultsThatCannotBeStoredAreReportedForTheCriteriaOnly)
{
    options->store(DefaultCriteriaCategory, Control, state("<ELEMENT_GROUP_ID>3</ELEMENT_GROUP_ID>"));
    ELGroupSearch *screen = host->openSearch();
    trigger(screen, "mnuOptionsSaveDefault");
    // No category for the properties: nothing stored, nothing said.
    host->query("UPDATE user_option_category SET category_name = '$ELSEWHERE' "
                "WHERE category_name = '$DEFAULT_FIND_PROPERTIES'");
    enterCriteria(screen, "4", {}, Contains, {});
    EXPECT_TRUE(canClose(screen));
    EXPECT_TRUE(host->ui.boxes().isEmpty());
    EXPECT_EQ(stateElements(storedCriteria()), QStringList{"ELEMENT_GROUP_ID=4"});

    // The database gone: the criteria's failure is shown and what was stored stays.
    QSqlDatabase connection = host->session.connection();
    connection.close();
    enterCriteria(screen, "5", {}, Contains, {});
    host->ui.queueAnswer(Answer::OK);
    EXPECT_TRUE(canClose(screen));
    ASSERT_EQ(host->ui.boxes().size(), 1);
    EXPECT_TRUE(host->ui.boxes().first().text.startsWith("Unable to save default settings: "));
    EXPECT_EQ(host->ui.boxes().first().icon, MsgIcon::Exclamation);
    ASSERT_TRUE(connection.open());
    EXPECT_EQ(stateElements(storedCriteria()), QStringList{"ELEMENT_GROUP_ID=4"});

    // Options that cannot be read are reported when the next screen opens; it opens all the same.
    host->query("ALTER TABLE user_option RENAME TO user_option_elsewhere");
    host->ui.queueAnswer(Answer::OK);
    ELGroupSearch *later = host->openSearch();
    ASSERT_NE(later, nullptr);
    ASSERT_EQ(host->ui.boxes().size(), 2);
    EXPECT_TRUE(host->ui.boxes().last().text.startsWith("Unable to load default settings: "));
    EXPECT_EQ(criteriaOf(later), BlankCriteria);
}

// --- stored documents that are not ours --------------------------------------------------------

TEST_F(SearchSettingsTest, ABadStoredSearchIsReportedAndLeavesTheScreenResetAndUsable)
{
    struct Case {
        const char *name;
        QString document;
        const char *description; // after "Unable to read search state xml: "
    };
    const Case cases[] = {
        {"not well-formed", "<TALV><SEARCH_STATE control=\"TALV_ELGroup.ELGroupSearch\">", "Invalid xml content"},
        {"another root", "<SEARCH><SEARCH_STATE control=\"TALV_ELGroup.ELGroupSearch\"/></SEARCH>",
         "Invalid xml content"},
        {"another control", state({}, "TALV_Element.ElementSearch"), "Invalid xml content"},
        {"no control", "<TALV><SEARCH_STATE/></TALV>", "Invalid xml content"},
        {"properties instead", PropertiesOn, "Invalid xml content"},
        {"comparison too big", state("<ELEMENT_GROUP_NAME comparison=\"5\">x</ELEMENT_GROUP_NAME>"), nullptr},
        {"comparison negative", state("<ELEMENT_GROUP_NAME comparison=\"-1\">x</ELEMENT_GROUP_NAME>"), nullptr},
        {"comparison not a number", state("<ELEMENT_GROUP_NAME comparison=\"two\">x</ELEMENT_GROUP_NAME>"), nullptr},
        {"no comparison", state("<ELEMENT_GROUP_NAME>x</ELEMENT_GROUP_NAME>"), nullptr},
    };
    for (const Case &c : cases)
        options->store(UserSearchCategory, QString::fromLatin1(c.name), c.document);

    ELGroupSearch *screen = host->openSearch();
    auto *grid = test::child<FlexGrid>(screen, "fgResults");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        enterCriteria(screen, {}, "Alvar", Contains, "Geographic Assemblage");
        test::child<QPushButton>(screen, "cmdFindNow")->click();
        ASSERT_GT(grid->Rows(), 1);

        host->ui.queueDialog(test::pickName(QString::fromLatin1(c.name)));
        host->ui.queueAnswer(Answer::OK);
        trigger(screen, "mnuFileOpenSearch");
        const auto box = host->ui.boxes().last();
        if (c.description)
            EXPECT_EQ(box.text,
                      QStringLiteral("Unable to read search state xml: ") + QString::fromLatin1(c.description));
        else
            EXPECT_TRUE(box.text.startsWith("Unable to read search state xml: ") &&
                        !box.text.endsWith("Invalid xml content"))
                << box.text.toStdString();
        EXPECT_EQ(box.buttons, MsgButtons::OK);
        EXPECT_EQ(criteriaOf(screen), BlankCriteria);
        EXPECT_EQ(grid->Rows(), 1);
    }
    EXPECT_EQ(host->ui.boxes().size(), qsizetype(std::size(cases)));

    // Still usable (each round above searched after a failure): a good stored search opens.
    host->ui.queueDialog(test::pickName("Ohio mussels"));
    trigger(screen, "Open");
    EXPECT_EQ(criteriaOf(screen), (QStringList{{}, "Ohio Basin", "0", {}}));

    // Bad stored properties are reported at start; the screen opens all the same.
    options->store(DefaultPropertiesCategory, Control, state({}));
    host->ui.queueAnswer(Answer::OK);
    ELGroupSearch *next = host->openSearch();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(host->ui.boxes().last().text, "Unable to read search properties xml: Invalid xml content");
    EXPECT_FALSE(test::saveAsDefault(next));
}

// --- user searches --------------------------------------------------------------------------

TEST_F(SearchSettingsTest, SaveAsksForANameOnceAndAsksBeforeReplacingAnother)
{
    ELGroupSearch *screen = host->openSearch();
    enterCriteria(screen, {}, "Alvar", Contains, {});
    host->ui.queueDialog([](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Save User Search");
        test::typeName("Alvar groups")(dialog);
    });
    trigger(screen, "mnuFileSaveSearch");
    EXPECT_EQ(stateElements(storedSearch("Alvar groups")), QStringList{"ELEMENT_GROUP_NAME[0]=Alvar"});

    // The remembered name is saved again without a question or a dialog.
    const int dialogs = host->ui.dialogsShown();
    enterCriteria(screen, {}, "Alvar", ExactMatch, {});
    trigger(screen, "Save");
    EXPECT_EQ(host->ui.dialogsShown(), dialogs);
    EXPECT_EQ(stateElements(storedSearch("Alvar groups")), QStringList{"ELEMENT_GROUP_NAME[1]=Alvar"});

    // Save As onto a stored name asks first; No keeps it, Yes replaces it.
    const QString ohio = storedSearch("Ohio mussels");
    host->ui.queueDialog(test::pickName("Ohio mussels"));
    host->ui.queueAnswer(Answer::No);
    trigger(screen, "mnuFileSaveSearchAs");
    ASSERT_EQ(host->ui.boxes().size(), 1);
    EXPECT_EQ(host->ui.boxes().first().text, "Search 'Ohio mussels' already exists. Overwrite?");
    EXPECT_EQ(host->ui.boxes().first().buttons, MsgButtons::YesNo);
    EXPECT_EQ(storedSearch("Ohio mussels"), ohio);

    host->ui.queueDialog(test::typeName("Ohio mussels"));
    host->ui.queueAnswer(Answer::Yes);
    trigger(screen, "mnuFileSaveSearchAs");
    EXPECT_EQ(stateElements(storedSearch("Ohio mussels")), QStringList{"ELEMENT_GROUP_NAME[1]=Alvar"});

    // Cancelling the dialog saves nothing.
    host->ui.queueDialog(test::cancelDialog());
    trigger(screen, "mnuFileSaveSearchAs");
    EXPECT_EQ(options->names(UserSearchCategory),
              test::sorted({"Ohio mussels", "Carter's alpine groups", "Alvar groups"}));
    EXPECT_EQ(host->ui.boxes().size(), 2);
}

TEST_F(SearchSettingsTest, OpenAppliesTheSearchAndItsNameIsThenSavedWithoutAsking)
{
    ELGroupSearch *screen = host->openSearch();
    enterCriteria(screen, "9", {}, Contains, "Taxonomic Group");
    host->ui.queueDialog([](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Open User Search");
        test::pickName("Carter's alpine groups")(dialog);
    });
    host->recorder.sqlSent.clear();
    trigger(screen, "mnuFileOpenSearch");
    EXPECT_EQ(criteriaOf(screen), (QStringList{{}, "Alpine", "2", {}}));
    EXPECT_TRUE(host->recorder.searches().isEmpty()); // opened, not run

    enterCriteria(screen, {}, "Alpine", EndsWith, {});
    trigger(screen, "mnuFileSaveSearch");
    EXPECT_EQ(stateElements(storedSearch("Carter's alpine groups")), QStringList{"ELEMENT_GROUP_NAME[3]=Alpine"});

    // New Search forgets the name: the next Save asks for one.
    trigger(screen, "mnuFileNew");
    host->ui.queueDialog(test::cancelDialog());
    trigger(screen, "mnuFileSaveSearch");
    EXPECT_EQ(host->ui.pendingDialogs(), 0);

    // A search deleted while the list was shown is reported, and the screen keeps its criteria.
    enterCriteria(screen, {}, "kept", Contains, {});
    host->ui.queueDialog([&](QDialog &dialog) {
        host->query("DELETE FROM user_option WHERE option_name = 'Ohio mussels'");
        test::pickName("Ohio mussels")(dialog);
    });
    host->ui.queueAnswer(Answer::OK);
    trigger(screen, "Open");
    EXPECT_EQ(boxTexts(), QStringList{"Unable to load search criteria under the name: 'Ohio mussels'"});
    EXPECT_EQ(criteriaOf(screen), (QStringList{{}, "kept", "0", {}}));

    // Closing the dialog by its close box opens nothing.
    host->ui.queueDialog([](QDialog &dialog) {
        test::child<QListWidget>(&dialog, "lstUserSearches")->setCurrentRow(0);
        dialog.close();
    });
    trigger(screen, "mnuFileOpenSearch");
    EXPECT_EQ(criteriaOf(screen), (QStringList{{}, "kept", "0", {}}));
    EXPECT_EQ(host->ui.boxes().size(), 1);
}

TEST_P(SearchSettingsOnEngines, NamesAreStoredListedOpenedAndDeletedAsTyped)
{
    const QStringList names{
        "O'Hara's bogs", "typed as it''s", "<b>fens</b> & \"marshes\"", "  padded  ", "Ölands alvar – ängar, Łódź",
    };
    ELGroupSearch *screen = host->openSearch();
    for (int i = 0; i < names.size(); ++i) {
        enterCriteria(screen, {}, names.at(i), i, {});
        host->ui.queueDialog(test::typeName(names.at(i)));
        trigger(screen, "mnuFileSaveSearchAs");
    }
    EXPECT_TRUE(host->ui.boxes().isEmpty()) << boxTexts().join(u'\n').toStdString();
    for (const QString &name : names)
        EXPECT_TRUE(options->names(UserSearchCategory).contains(name)) << name.toStdString();

    for (int i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names.at(i).toStdString());
        trigger(screen, "mnuFileNew");
        host->ui.queueDialog([&](QDialog &dialog) {
            EXPECT_TRUE(test::listed(dialog).contains(names.at(i)));
            test::pickName(names.at(i))(dialog);
        });
        trigger(screen, "mnuFileOpenSearch");
        EXPECT_EQ(criteriaOf(screen), (QStringList{{}, names.at(i), QString::number(i), {}}));
    }

    // Deleting another search keeps the opened one's name; deleting the opened one forgets it.
    host->ui.queueDialog(test::pickName(names.at(0)));
    trigger(screen, "mnuFileDeleteSearch");
    const int dialogs = host->ui.dialogsShown();
    trigger(screen, "Save");
    EXPECT_EQ(host->ui.dialogsShown(), dialogs);
    for (const QString &name : names.mid(1)) {
        host->ui.queueDialog([&](QDialog &dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Delete User Search");
            test::pickName(name)(dialog);
        });
        trigger(screen, "mnuFileDeleteSearch");
    }
    EXPECT_EQ(options->names(UserSearchCategory), test::sorted({"Ohio mussels", "Carter's alpine groups"}));
    EXPECT_EQ(options->names(UserSearchCategory, 2), QStringList{"Öland alvar"});
    host->ui.queueDialog(test::cancelDialog());
    trigger(screen, "Save");
    EXPECT_EQ(host->ui.pendingDialogs(), 0);
    EXPECT_TRUE(host->ui.boxes().isEmpty());
}

TEST_F(SearchSettingsTest, AFailedSaveOrDeleteIsReportedAndLosesNothing)
{
    ELGroupSearch *screen = host->openSearch();
    const QStringList before = options->names(UserSearchCategory);
    const QString ohio = storedSearch("Ohio mussels");

    // Database gone.
    QSqlDatabase connection = host->session.connection();
    connection.close();
    enterCriteria(screen, {}, "Alvar", Contains, {});
    host->ui.queueDialog(test::typeName("Ohio mussels"));
    host->ui.queueAnswer(Answer::OK);
    host->ui.queueAnswer(Answer::OK);
    trigger(screen, "mnuFileSaveSearchAs");
    ASSERT_TRUE(connection.open());
    ASSERT_EQ(host->ui.boxes().size(), 2); // the dialog's empty list, then the save
    EXPECT_TRUE(host->ui.boxes().last().text.startsWith("Unable to save settings: "));
    EXPECT_EQ(host->ui.boxes().last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(storedSearch("Ohio mussels"), ohio);

    // No category for user searches: a new name cannot be stored.
    host->query("UPDATE user_option_category SET category_name = '$ELSEWHERE' "
                "WHERE category_name = '$USER_FIND_ELEMENT_GROUP'");
    host->ui.queueDialog(test::typeName("Alvar groups"));
    host->ui.queueAnswer(Answer::OK);
    trigger(screen, "mnuFileSaveSearchAs");
    EXPECT_TRUE(host->ui.boxes().last().text.startsWith("Unable to save settings: "));
    EXPECT_TRUE(host->ui.boxes().last().text.contains("$USER_FIND_ELEMENT_GROUP"));
    host->query("UPDATE user_option_category SET category_name = '$USER_FIND_ELEMENT_GROUP' "
                "WHERE category_name = '$ELSEWHERE'");
    EXPECT_EQ(options->names(UserSearchCategory), before);

    // A delete the database refuses.
    host->query("CREATE TRIGGER keep_searches BEFORE DELETE ON user_option "
                "BEGIN SELECT RAISE(ABORT, 'searches are kept'); END");
    host->ui.queueDialog(test::pickName("Ohio mussels"));
    host->ui.queueAnswer(Answer::OK);
    trigger(screen, "mnuFileDeleteSearch");
    EXPECT_TRUE(host->ui.boxes().last().text.startsWith("An error occurred while deleting the saved search.\r\n\r\n"));
    EXPECT_TRUE(host->ui.boxes().last().text.contains("searches are kept"));
    EXPECT_EQ(options->names(UserSearchCategory), before);
    EXPECT_EQ(host->ui.boxes().size(), 4);
}

TEST_F(SearchSettingsTest, TwoUsersKeepTheirOwnSearchUnderOneName)
{
    // jbrandt on a connection of his own, with the same host around him.
    host::HostSession jbrandt(host->db->openAnother(), "jbrandt");
    host::ReferenceAppManager jbrandtApp(jbrandt);
    QWidget window;
    auto *his = new ELGroupSearch(&window);
    his->InitModalSearch(&jbrandtApp);
    ELGroupSearch *hers = host->openSearch();

    const QString name = "Carter's alpine groups";
    const QString carters = storedSearch(name);
    enterCriteria(his, {}, "Öland", ExactMatch, {});
    host->ui.queueDialog([&](QDialog &dialog) {
        EXPECT_EQ(test::listed(dialog), QStringList{"Öland alvar"});
        test::typeName(name)(dialog);
    });
    trigger(his, "mnuFileSaveSearchAs"); // not hers: no question
    EXPECT_TRUE(host->ui.boxes().isEmpty());
    EXPECT_EQ(storedSearch(name), carters);
    EXPECT_EQ(stateElements(storedSearch(name, 2)), QStringList{"ELEMENT_GROUP_NAME[1]=Öland"});

    host->ui.queueDialog(test::pickName(name));
    trigger(hers, "mnuFileOpenSearch");
    EXPECT_EQ(criteriaOf(hers), (QStringList{{}, "Alpine", "2", {}}));

    host->ui.queueDialog(test::pickName(name));
    trigger(his, "mnuFileDeleteSearch");
    EXPECT_EQ(storedSearch(name, 2), QString());
    EXPECT_EQ(storedSearch(name), carters);
}

TALV_ON_BOTH_ENGINES(SearchSettingsOnEngines);

} // namespace

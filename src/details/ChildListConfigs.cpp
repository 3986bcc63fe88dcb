// The two child lists of a group as the record screen shows them: members and references.
#include "ChildListEditor.h"

#include "contracts/AppManager.h"
#include "contracts/ElementGroupObject.h"
#include "contracts/Names.h"
#include "recordset/RS_Functions.h"

namespace talv::details {

namespace {

// The names and captions of a list's grid and buttons.
struct ControlNames {
    QString grid;
    QString addButton;
    QString addCaption;
    QString removeButton;
    QString removeCaption;
};

ChildListEditor::Config named(const ControlNames &n)
{
    ChildListEditor::Config c;
    c.gridName = n.grid;
    c.addButtonName = n.addButton;
    c.addCaption = n.addCaption;
    c.removeButtonName = n.removeButton;
    c.removeCaption = n.removeCaption;
    return c;
}

} // namespace

QString ChildListEditor::elementKindFor(const QString &memberType)
{
    if (memberType == QLatin1String("Botanical"))
        return QStringLiteral("Global, Plant");
    if (memberType == QLatin1String("Zoological"))
        return QStringLiteral("Global, Animal");
    if (memberType == QLatin1String("Ecological"))
        return QStringLiteral("Global, Community");
    return {};
}

ChildListEditor::Config ChildListEditor::membersConfig()
{
    Config c = named({QStringLiteral("fgElements"), QStringLiteral("cmdAddElement"), QStringLiteral("&Add..."),
                      QStringLiteral("cmdRemoveElement"), QStringLiteral("Re&move")});
    c.keyField = QStringLiteral("ID");
    c.keyProperty = QStringLiteral("ElementGlobalID");
    c.columns = {
        {QStringLiteral("ElementID"), QStringLiteral("Element ID"), 1245, false, QStringLiteral("ID"), true},
        {QStringLiteral("GlobalSciName"), QStringLiteral("Global Scientific Name"), 4995, false,
         QStringLiteral("GName"), true},
        {QStringLiteral("GlobalComName"), QStringLiteral("Global Common Name"), 4995, false, QStringLiteral("ComName"),
         true},
    };
    c.loadSql = [](qint32 groupId) {
        return QStringLiteral("SELECT element_group_membership.element_global_id as ID, "
                              "element_group_membership.element_group_id, "
                              "element_global.element_global_id, scientific_name.scientific_name as GName, "
                              "element_global.g_primary_common_name as ComName "
                              "FROM element_global, element_group_membership, scientific_name "
                              "WHERE element_group_membership.element_group_id = ") +
               QString::number(groupId) +
               QStringLiteral(" AND "
                              "element_group_membership.element_global_id = element_global.element_global_id "
                              "AND element_global.gname_id = scientific_name.scientific_name_id "
                              "ORDER BY element_group_membership.display_order");
    };
    c.emptyAnswerIsFine = true;
    c.loadErrorText = QStringLiteral("Error loading Elements Grid.");
    c.children = [](ElementGroupObject &group) -> ComponentCollection & { return group.Members(); };
    c.searchClass = names::ElementSearchClass;
    c.searchCaption = QStringLiteral("Find Element - ");
    c.emptySelection = [](AppManager &appManager) {
        RecordsetPtr prototype = appManager.GetPrototypeRSForView(names::view::Elements);
        RecordsetPtr selection;
        RS_Functions::CloneStructure(*prototype, selection);
        return selection;
    };
    c.picked = {{QStringLiteral("SCIENTIFIC_NAME"), false}, {QStringLiteral("COMMON_NAME"), true}};
    c.addFailure = {QStringLiteral("Error opening Element Search.\n"), QStringLiteral("Element Group"),
                    MsgIcon::Exclamation};
    c.detailsView = names::view::ElementTracking;
    c.detailsCaption = QStringLiteral("ELEMENT TRACKING:GLOBAL (EGT)...");
    c.opensWithoutSelection = true;
    return c;
}

ChildListEditor::Config ChildListEditor::referencesConfig()
{
    Config c = named({QStringLiteral("fgReferences"), QStringLiteral("cmdAddReference"), QStringLiteral("A&dd..."),
                      QStringLiteral("cmdRemoveReference"), QStringLiteral("Remo&ve")});
    c.keyField = QStringLiteral("reference_id");
    c.keyProperty = QStringLiteral("ReferenceID");
    c.columns = {
        {QStringLiteral("ReferenceID"), QStringLiteral("Reference ID"), 960, true, QStringLiteral("reference_id"),
         false},
        {QStringLiteral("ReferenceCode"), QStringLiteral("Reference Code"), 1500, false,
         QStringLiteral("reference_code"), false},
        {QStringLiteral("FullCitation"), QStringLiteral("Full Citation"), 10005, false, QStringLiteral("full_citation"),
         false},
    };
    c.loadSql = [](qint32 groupId) {
        return QStringLiteral("SELECT element_group_reference.reference_id, reference.reference_code, "
                              "reference.full_citation "
                              "FROM reference, element_group_reference "
                              "WHERE element_group_reference.element_group_id = ") +
               QString::number(groupId) +
               QStringLiteral(" AND "
                              "reference.reference_id = element_group_reference.reference_id "
                              "ORDER BY element_group_reference.display_order, reference.reference_code");
    };
    c.emptyAnswerIsFine = false;
    c.loadErrorText = QStringLiteral("Error loading References Grid.");
    c.children = [](ElementGroupObject &group) -> ComponentCollection & { return group.References(); };
    c.searchClass = names::ReferenceSearchClass;
    c.searchCaption = QStringLiteral("Reference Search - ");
    c.emptySelection = [](AppManager &appManager) {
        return appManager.CallGetQueryRSXML(QStringLiteral("select * from REFERENCE_WL_VW WHERE 1=0"));
    };
    c.picked = {{QStringLiteral("REFERENCE_CODE"), false}, {QStringLiteral("FULL_CITATION"), false}};
    c.addFailure = unableTo(QStringLiteral("add the references"));
    c.detailsView = names::view::References;
    c.opensWithoutSelection = false;
    return c;
}

} // namespace talv::details

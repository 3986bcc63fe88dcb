#include "SiblingSearches.h"

#include "contracts/AppManager.h"
#include "contracts/ClassRegistry.h"
#include "contracts/Names.h"
#include "search/SearchScreens.h"

namespace talv::clients {

namespace {

// The registry makes widgets from their parent alone.
struct ElementSearch : SiblingSearch {
    explicit ElementSearch(QWidget *parent) : SiblingSearch(elementSearchConfig(), parent) {}
};
struct ReferenceSearch : SiblingSearch {
    explicit ReferenceSearch(QWidget *parent) : SiblingSearch(referenceSearchConfig(), parent) {}
};

} // namespace

SiblingSearch::Config elementSearchConfig()
{
    SiblingSearch::Config c;
    c.objectName = QStringLiteral("ElementSearch");
    // The list layout of the element view, which is also the layout of the caller's selection set.
    c.statement.listView = QStringLiteral("ELEMENT_WL_VW");
    c.statement.criteria = {
        {QStringLiteral("txtElementID"), QStringLiteral("Element ID"), QStringLiteral("ID"), CriterionMatch::Number},
        {QStringLiteral("txtScientificName"), QStringLiteral("Scientific Name"), QStringLiteral("SCIENTIFIC_NAME"),
         CriterionMatch::Contains},
        {QStringLiteral("txtCommonName"), QStringLiteral("Common Name"), QStringLiteral("COMMON_NAME"),
         CriterionMatch::Contains},
    };
    c.statement.kindColumn = QStringLiteral("ELEMENT_CATEGORY");
    c.statement.orderBy = QStringLiteral("SCIENTIFIC_NAME, ID");
    c.kindCaption = QStringLiteral("Kind of Element");
    c.kinds = {QStringLiteral("Plant"), QStringLiteral("Animal"), QStringLiteral("Community")};
    return c;
}

SiblingSearch::Config referenceSearchConfig()
{
    SiblingSearch::Config c;
    c.objectName = QStringLiteral("ReferenceSearch");
    c.statement.listView = QStringLiteral("REFERENCE_WL_VW");
    c.statement.criteria = {
        {QStringLiteral("txtReferenceID"), QStringLiteral("Reference ID"), QStringLiteral("ID"),
         CriterionMatch::Number},
        {QStringLiteral("txtReferenceCode"), QStringLiteral("Reference Code"), QStringLiteral("REFERENCE_CODE"),
         CriterionMatch::Contains},
        {QStringLiteral("txtCitationWords"), QStringLiteral("Citation Words"), QStringLiteral("FULL_CITATION"),
         CriterionMatch::AllWords},
    };
    c.statement.orderBy = QStringLiteral("REFERENCE_CODE, ID");
    return c;
}

void registerSiblingSearches()
{
    search::registerSelectedIdsType();
    ClassRegistry &registry = ClassRegistry::instance();
    registry.RegisterWidget<ElementSearch>(names::ElementSearchClass);
    registry.RegisterWidget<ReferenceSearch>(names::ReferenceSearchClass);
}

void unregisterSiblingSearches()
{
    ClassRegistry::instance().Unregister(names::ElementSearchClass);
    ClassRegistry::instance().Unregister(names::ReferenceSearchClass);
}

} // namespace talv::clients

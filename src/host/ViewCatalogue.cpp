#include "ViewCatalogue.h"

#include "contracts/Names.h"
#include "platform/Error.h"

namespace talv::host {

QVariant HostView::Item(const QString &key) const
{
    const QString k = key.trimmed().toUpper();
    if (k == QStringLiteral("WORKING_LIST_TYPE"))
        return m_def.code;
    if (k == QStringLiteral("CAPTION"))
        return m_def.caption;
    if (k == QStringLiteral("WORKING_LIST_VIEW"))
        return m_def.workingListView;
    if (k == QStringLiteral("DETAILS_CLASS"))
        return m_def.detailsClass;
    if (k == QStringLiteral("SEARCH_CLASS"))
        return m_def.searchClass;
    if (k == QStringLiteral("VIEW_ID"))
        return m_position;
    return {};
}

QList<HostView::Definition> ViewCatalogue::standardViews()
{
    namespace view = names::view;
    // The element screens of ELM, EOS and EOR list the elements of the group they are opened for.
    const QString elements = QStringLiteral("ELEMENT_WL_VW");
    return {
        {view::ElementGroups, QStringLiteral("Element Groups"), QStringLiteral("ELGROUP_WL_VW"), names::DetailsClass,
         names::SearchClass},
        {view::Elements, QStringLiteral("Elements"), elements, QStringLiteral("TALV_Element.ElementDetails"),
         names::ElementSearchClass},
        {view::ElementTracking, QStringLiteral("Element Global Tracking"), elements,
         QStringLiteral("TALV_Host.ElementGlobalTracking"), names::ElementSearchClass},
        {view::References, QStringLiteral("References"), QStringLiteral("REFERENCE_WL_VW"),
         QStringLiteral("TALV_Reference.ReferenceDetails"), names::ReferenceSearchClass},
        {view::ElementManagement, QStringLiteral("Element Management"), elements,
         QStringLiteral("TALV_Host.ElementManagement"), QString()},
        {view::EoSpecs, QStringLiteral("EO Specs"), elements, QStringLiteral("TALV_Host.EOSpecs"), QString()},
        {view::EoRankSpecs, QStringLiteral("EO Rank Specs"), elements, QStringLiteral("TALV_Host.EORankSpecs"),
         QString()},
    };
}

ViewCatalogue::ViewCatalogue() : ViewCatalogue(standardViews())
{}

ViewCatalogue::ViewCatalogue(const QList<HostView::Definition> &definitions)
{
    for (const HostView::Definition &definition : definitions)
        m_views.push_back(std::make_unique<HostView>(definition, qint32(m_views.size() + 1)));
}

const ViewEntry &ViewCatalogue::Item(qint32 index) const
{
    if (index < 1 || index > Count())
        throw Error(Error::InvalidArgument,
                    QStringLiteral("There is no view at position %1 (the host has %2).").arg(index).arg(Count()));
    return *m_views[size_t(index - 1)];
}

const HostView *ViewCatalogue::find(const QString &code) const
{
    const qint32 position = FindViewIndex(*this, code);
    return position < 0 ? nullptr : m_views[size_t(position - 1)].get();
}

} // namespace talv::host

#pragma once

#include "contracts/ViewCollection.h"

#include <QList>
#include <QString>

#include <memory>
#include <vector>

namespace talv::host {

// One view of the reference host. Item answers, by key without regard to case:
// "WORKING_LIST_TYPE" the code, "CAPTION", "WORKING_LIST_VIEW" (the database view of its list
// layout, empty when it has none), "DETAILS_CLASS" and "SEARCH_CLASS" (class names of its screens,
// empty when it has none), and "VIEW_ID" (its position in the collection). Other keys answer an
// invalid QVariant.
class HostView final : public ViewEntry
{
public:
    struct Definition {
        QString code;
        QString caption;
        QString workingListView;
        QString detailsClass;
        QString searchClass;
    };

    HostView(Definition definition, qint32 position) : m_def(std::move(definition)), m_position(position) {}
    QVariant Item(const QString &key) const override;
    const Definition &definition() const { return m_def; }

private:
    Definition m_def;
    qint32 m_position;
};

// The views of the reference host, in a fixed order, and the object AppManager::ViewManager
// answers.
class ViewCatalogue final : public ViewCollection, public HostViewManager
{
public:
    // The host's views: EGP, ELE, ETK, REF, ELM, EOS, EOR.
    ViewCatalogue();
    explicit ViewCatalogue(const QList<HostView::Definition> &definitions);

    qint32 Count() const override { return qint32(m_views.size()); }
    const ViewEntry &Item(qint32 index) const override;
    ViewCollection &colViews() override { return *this; }

    // The view of a code (exact text), or nullptr.
    const HostView *find(const QString &code) const;

    static QList<HostView::Definition> standardViews();

private:
    std::vector<std::unique_ptr<HostView>> m_views;
};

} // namespace talv::host

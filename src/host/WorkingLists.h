#pragma once

#include "QueryService.h"
#include "ViewCatalogue.h"

#include "platform/Recordset.h"

#include <QObject>

#include <map>

namespace talv::host {

// The view at a position of the catalogue; raises InvalidArgument for a position that is no view.
inline const HostView::Definition &viewDefinition(const ViewCatalogue &views, qint32 position)
{
    return static_cast<const HostView &>(views.Item(position)).definition();
}

// The host's working lists, one per view, each a recordset in the layout of the view's
// working-list view. The host owns them; screens get shared references and the search merges
// into them in place. Changes the host makes itself re-read rows from the database, so a list
// always shows what is stored, and announce themselves through changed().
class WorkingLists : public QObject
{
    Q_OBJECT
public:
    WorkingLists(const ViewCatalogue &views, QueryService queries, QObject *parent = nullptr);

    // The list of the view at `position`, created empty on first use; raises InvalidArgument for
    // a position that is no view.
    RecordsetPtr list(qint32 position);

    // What refreshRecord did to the list.
    enum class Change { None, Updated, Appended, Removed };
    // Re-reads record `id` from the view's working-list view: updates its row, appends it when it
    // is missing and `appendWhenMissing`, removes the row when the record is gone. The cursor
    // stays on the row it was on, so a screen walking the list keeps its place.
    Change refreshRecord(qint32 position, qint32 id, bool appendWhenMissing);
    // Removes the row of `id`; answers whether there was one.
    bool removeRecord(qint32 position, qint32 id);
    // Appends every record of the view that the list does not hold yet; answers how many.
    qsizetype addAllRecords(qint32 position);
    // Empties the list (its layout stays).
    void clear(qint32 position);

    // The row of `id` in the view's working-list view, as a one-row set (no row when it is gone).
    RecordsetPtr readRecord(qint32 position, qint32 id) const;

    // Tells the views that rows changed behind the host's back (a screen merged into the list).
    void announce(qint32 position) { emit changed(position); }

signals:
    void changed(qint32 position);

private:
    const HostView::Definition &view(qint32 position) const { return viewDefinition(m_views, position); }

    const ViewCatalogue &m_views;
    QueryService m_queries;
    std::map<qint32, RecordsetPtr> m_lists;
};

} // namespace talv::host

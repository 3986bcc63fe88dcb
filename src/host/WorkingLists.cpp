#include "WorkingLists.h"

#include <QSet>

namespace talv::host {

namespace {

QString idCriterion(qint32 id)
{
    return QStringLiteral("ID = %1").arg(id);
}

// Moves to the row of `id`; answers false (cursor at EOF) when there is none.
bool seek(Recordset &rs, qint32 id)
{
    if (rs.RecordCount() == 0)
        return false;
    rs.MoveFirst();
    rs.Find(idCriterion(id));
    return !rs.IsEOF();
}

// Puts the cursor back where a screen left it, or at the first row when that row is gone.
class CursorKeeper
{
public:
    explicit CursorKeeper(Recordset &rs) : m_rs(rs)
    {
        try {
            if (!rs.IsBOF() && !rs.IsEOF())
                m_bookmark = rs.Bookmark();
        } catch (const Error &) {
            // On a row deleted a moment ago: there is no place to keep.
        }
    }
    ~CursorKeeper()
    {
        try {
            if (m_bookmark.isValid())
                m_rs.SetBookmark(m_bookmark);
            else if (m_rs.RecordCount() > 0)
                m_rs.MoveFirst();
        } catch (const Error &) {
            if (m_rs.RecordCount() > 0)
                m_rs.MoveFirst();
        }
    }

private:
    Recordset &m_rs;
    QVariant m_bookmark;
};

} // namespace

WorkingLists::WorkingLists(const ViewCatalogue &views, QueryService queries, QObject *parent)
    : QObject(parent), m_views(views), m_queries(std::move(queries))
{}

RecordsetPtr WorkingLists::list(qint32 position)
{
    const auto found = m_lists.find(position);
    if (found != m_lists.end())
        return found->second;
    // The layout comes from the view itself, so the list matches it on either engine.
    RecordsetPtr rs = m_queries.Run(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(view(position).workingListView));
    m_lists.emplace(position, rs);
    return rs;
}

RecordsetPtr WorkingLists::readRecord(qint32 position, qint32 id) const
{
    return m_queries.Run(QStringLiteral("SELECT * FROM %1 WHERE ID = %2").arg(view(position).workingListView).arg(id));
}

WorkingLists::Change WorkingLists::refreshRecord(qint32 position, qint32 id, bool appendWhenMissing)
{
    RecordsetPtr rs = list(position);
    const RecordsetPtr fresh = readRecord(position, id);
    Change change = Change::None;
    {
        CursorKeeper keeper(*rs);
        const bool present = seek(*rs, id);
        if (fresh->RecordCount() == 0) {
            if (present) {
                rs->Delete();
                change = Change::Removed;
            }
        } else if (present) {
            fresh->MoveFirst();
            for (int f = 0; f < rs->FieldCount(); ++f) {
                const int source = fresh->FieldIndex(rs->FieldName(f));
                if (source >= 0)
                    rs->Fields(f).SetValue(fresh->Fields(source).Value());
            }
            rs->Update();
            change = Change::Updated;
        } else if (appendWhenMissing) {
            rs->AppendRowsFrom(*fresh);
            change = Change::Appended;
        }
    }
    if (change != Change::None)
        emit changed(position);
    return change;
}

bool WorkingLists::removeRecord(qint32 position, qint32 id)
{
    RecordsetPtr rs = list(position);
    {
        CursorKeeper keeper(*rs);
        if (!seek(*rs, id))
            return false;
        rs->Delete();
    }
    emit changed(position);
    return true;
}

qsizetype WorkingLists::addAllRecords(qint32 position)
{
    RecordsetPtr rs = list(position);
    const RecordsetPtr all =
        m_queries.Run(QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(view(position).workingListView));
    QSet<qint64> present;
    const int idField = rs->FieldIndex(QStringLiteral("ID"));
    for (qsizetype row = 0; row < rs->RecordCount(); ++row)
        present.insert(rs->ValueAt(row, idField).toLongLong());
    const int sourceId = all->FieldIndex(QStringLiteral("ID"));
    qsizetype added = 0;
    {
        CursorKeeper keeper(*rs);
        for (qsizetype row = 0; row < all->RecordCount(); ++row) {
            if (present.contains(all->ValueAt(row, sourceId).toLongLong()))
                continue;
            QVariantList values;
            for (int f = 0; f < rs->FieldCount(); ++f) {
                const int source = all->FieldIndex(rs->FieldName(f));
                values.append(source >= 0 ? all->ValueAt(row, source) : QVariant());
            }
            rs->AddNew(values);
            ++added;
        }
    }
    if (added > 0)
        emit changed(position);
    return added;
}

void WorkingLists::clear(qint32 position)
{
    RecordsetPtr rs = list(position);
    rs->MoveFirst();
    while (rs->RecordCount() > 0) {
        rs->MoveFirst();
        rs->Delete();
    }
    rs->MoveFirst();
    emit changed(position);
}

} // namespace talv::host

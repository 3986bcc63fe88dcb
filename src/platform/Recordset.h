#pragma once

#include "Error.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>
#include <vector>

namespace talv {

// Type codes as the original recordset facility numbers them; hosts map database types onto these.
enum class FieldType : int {
    Integer = 3,   // 32-bit, held as int
    Double = 5,    // held as double
    Date = 7,      // held as QDate or QDateTime
    Boolean = 11,  // held as bool
    BigInt = 20,   // 64-bit, held as qlonglong
    VarChar = 200, // variable-length text, held as QString
};

bool isKnownFieldType(int code);

class Recordset;
class RecordsetAppender;
namespace internal {
class Column;
class Criterion;
class RecordsetIndex;
} // namespace internal

// A light handle on one field of a recordset: stays valid while the recordset keeps its layout.
class Field
{
public:
    const QString &Name() const;
    FieldType Type() const;
    int DefinedSize() const;
    int Attributes() const;

    // The value in the current row; raises NoCurrentRecord at BOF/EOF.
    QVariant Value() const;
    // Converts to the field's type; a value that does not convert raises TypeMismatch and changes nothing.
    void SetValue(const QVariant &value);

    // The dynamic "Optimize" property: true keeps a hash index on this field that Find uses.
    bool Optimize() const;
    void SetOptimize(bool on);

    // Dynamic properties by name; only "Optimize" (any letter case) exists.
    QVariant Property(const QString &name) const;
    void SetProperty(const QString &name, const QVariant &value);

private:
    friend class Recordset;
    Field(Recordset *rs, int index) : m_rs(rs), m_index(index) {}
    Recordset *m_rs;
    int m_index;
};

// A disconnected, client-side table of typed rows with a cursor, as the screens expect from the
// host's query call. Rows live in typed columns that whole sets can share without copying; deleted
// rows stay in storage (so bookmarks and the index keep stable row numbers) until the set is
// persisted and reopened.
class Recordset
{
public:
    static constexpr int StateClosed = 0;
    static constexpr int StateOpen = 1;
    // AbsolutePosition answers these when there is no current row.
    enum Position : qsizetype { PositionUnknown = -1, PositionBOF = -2, PositionEOF = -3 };

    Recordset();
    ~Recordset();
    Recordset(const Recordset &other);
    Recordset &operator=(const Recordset &other);

    // --- layout and lifecycle
    // Only while closed; names must be unique without regard to case.
    void AppendField(const QString &name, FieldType type, int definedSize = 0, int attributes = 0);
    // Opens an empty set with the appended fields.
    void Open();
    // Replaces layout and rows with a persisted stream; the cursor ends on the first row.
    void OpenFromStream(const QByteArray &stream);
    // Writes the layout and the rows that pass the filter (deleted rows left out).
    QByteArray Save() const;
    // Drops rows, filter and indexes; the layout stays so that the set can be opened again.
    void Close();
    int State() const { return m_open ? StateOpen : StateClosed; }

    // --- fields
    int FieldCount() const;
    Field Fields(int index);
    Field Fields(const QString &name);
    // The position of the field, or -1.
    int FieldIndex(QStringView name) const;
    QString FieldName(int index) const;
    FieldType FieldTypeAt(int index) const;

    // Read access by visible row (0-based, in the order the cursor walks) without moving the
    // cursor, for views such as a bound grid; raises InvalidArgument outside the rows.
    QVariant ValueAt(qsizetype row, int field) const;

    // --- rows and cursor
    qsizetype RecordCount() const;
    bool IsBOF() const;
    bool IsEOF() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    void Move(qsizetype offset);
    qsizetype AbsolutePosition() const; // 1-based, or a Position code
    void SetAbsolutePosition(qsizetype position);
    QVariant Bookmark() const;
    void SetBookmark(const QVariant &bookmark);

    // Searches forward from the current row (inclusive) for the first row that meets one
    // criterion; at a miss the cursor is at EOF.
    void Find(const QString &criterion);
    // Restricts the visible rows to those meeting the criterion (terms joined by AND/OR);
    // an empty text shows every row again. The cursor moves to the first visible row.
    void SetFilter(const QString &criterion);
    const QString &Filter() const { return m_filterText; }

    // --- editing
    // Appends an empty row (every value null) and makes it current.
    void AddNew();
    // Appends a row with one value per field, in field order, converted as SetValue would; a
    // value that does not convert raises TypeMismatch and appends nothing. A text field also takes
    // UTF-8 bytes (QByteArray). Readers of large results use a RecordsetAppender instead.
    void AddNew(const QVariantList &values);
    void Update();
    void UpdateBatch();
    // Deletes the current row; it stays current (values unreadable) until the cursor moves.
    void Delete();

    // Shortcuts for Fields(name).Value() / SetValue().
    QVariant Value(const QString &fieldName) const;
    void SetValue(const QString &fieldName, const QVariant &value);

    // Appends every visible row of `source`, each field of this set taken from the source field of
    // the same name and converted as SetValue would; columns whose type matches and whose rows
    // all transfer are shared, not copied. The last appended row becomes current.
    void AppendRowsFrom(const Recordset &source);

private:
    friend class Field;
    friend class RecordsetAppender;

    struct FieldDef {
        QString name;
        FieldType type;
        int definedSize;
        int attributes;
    };

    void requireOpen() const;
    void requireClosed(const char *operation) const;
    qsizetype requireCurrentPhysical() const;
    int requireField(const QString &name) const;
    void requireFieldIndex(int index) const;
    qsizetype visibleCount() const;
    qsizetype physicalAt(qsizetype visiblePos) const;
    std::optional<qsizetype> visiblePosOf(qsizetype physical) const;
    void rebuildView();
    void setCell(int field, qsizetype physical, const QVariant &value);
    QVariant cell(int field, qsizetype physical) const;
    // The visible position of the first indexed match at or after a row, -1 for none, -2 when
    // the index cannot answer (no index, or a literal it has no key for).
    qsizetype findWithIndex(int field, const QVariant &literal, qsizetype fromPhysical) const;
    bool rowMeets(const internal::Criterion &c, qsizetype physical) const;
    void resetRows();
    void rowAppended();
    void setOptimize(int field, bool on);
    bool isOptimized(int field) const;

    QList<FieldDef> m_fields;
    std::vector<internal::Column> m_columns; // per field, indexed by physical row
    qsizetype m_physicalRows = 0;
    std::vector<bool> m_deleted; // empty while nothing was deleted
    qsizetype m_deletedCount = 0;
    // Visible rows in physical order while a filter is set or rows were deleted; identity otherwise.
    std::optional<std::vector<qsizetype>> m_view;
    std::shared_ptr<const internal::Criterion> m_filter;
    QString m_filterText;
    qsizetype m_pos = -1;     // visible position; -1 BOF, visibleCount() EOF
    bool m_onDeleted = false; // the current row was deleted and the cursor has not moved
    bool m_open = false;
    std::vector<std::unique_ptr<internal::RecordsetIndex>> m_indexes; // per field, null when not optimized
};

using RecordsetPtr = std::shared_ptr<Recordset>;

inline qsizetype Recordset::visibleCount() const
{
    return m_view ? static_cast<qsizetype>(m_view->size()) : m_physicalRows;
}

// Inline: a reader of a large result calls it once a row.
inline void Recordset::rowAppended()
{
    const qsizetype row = m_physicalRows++;
    if (!m_deleted.empty())
        m_deleted.push_back(false);
    if (m_view)
        m_view->push_back(row); // a new row stays visible under a filter until it is set again
    m_onDeleted = false;
    m_pos = visibleCount() - 1;
}

} // namespace talv

#pragma once

#include "platform/Recordset.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QPushButton;

namespace talv {

class AppManager;
class ComponentCollection;
class FlexGrid;

// The audit trail of one record, or of one of its columns, as the host supplies it, with a
// comment cell per audited column change that the user may write. Comments are kept in audit-log
// components (one per commented row, keyed by the change's id) and written when OK is pressed;
// Cancel drops them.
class frmAuditLog : public QDialog
{
    Q_OBJECT

public:
    static inline const QString DefaultCaption = QStringLiteral("Audit Log");
    // The grid's columns, in the order of the host's audit rows.
    enum Column {
        ColId,
        ColDate,
        ColUser,
        ColTable,
        ColAction,
        ColColumn,
        ColOldValue,
        ColComments,
        ColPrimaryKey,
        ColOrgUnit,
        ColRecordId,
        ColColumnId,
        ColumnCount
    };

    explicit frmAuditLog(QWidget *parent = nullptr);
    ~frmAuditLog() override;

    // Asks the host for the trail of record `id` of `tableName` (of `columnName` alone when it is
    // not empty) and shows it. Errors pass to the caller.
    void LoadAuditData(const QString &tableName, qint32 id, AppManager *appManager, const QString &columnName = {});

    FlexGrid *grid() const { return m_grid; }
    // The comments collection; null until a trail with rows is loaded.
    ComponentCollection *comments() const { return m_comments.get(); }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fillGrid(const Recordset &rows);
    void formatGrid();
    QString orgUnitList() const;
    void fitAllColumns();
    void openComments();
    void keepComment(int row);
    void save();
    void layOut();
    void releaseComments();

    AppManager *m_appManager = nullptr;
    std::unique_ptr<ComponentCollection> m_comments;
    FlexGrid *m_grid;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    QCheckBox *m_wordWrap;
};

} // namespace talv

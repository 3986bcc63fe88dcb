#pragma once

#include "ViewCatalogue.h"

#include "platform/Recordset.h"

#include <QWidget>

namespace talv {
class FlexGrid;
}

namespace talv::host {

// The host's read-only screen for views whose own screens belong to other applications
// (elements, tracking, references, management and specs): one record as a form, several as a grid.
class RelatedRecordScreen : public QWidget
{
    Q_OBJECT
public:
    RelatedRecordScreen(const QString &caption, RecordsetPtr rows, QWidget *parent = nullptr);

    // The query for the records of view `targetCode` that belong to record `recordId` of view
    // `sourceCode`: a group's members or references when a group asks, otherwise the record itself
    // in the target view's list layout. Empty when a code names no view.
    static QString relatedSql(const ViewCatalogue &views, const QString &sourceCode, const QString &targetCode,
                              qint32 recordId);

    // A field name as a heading: "COMMON_NAME" reads "Common Name", "ID" stays.
    static QString headingFor(const QString &fieldName);

    RecordsetPtr rows() const { return m_rows; }
    // The grid, when more than one record is shown.
    FlexGrid *grid() const { return m_grid; }

private:
    RecordsetPtr m_rows;
    FlexGrid *m_grid = nullptr;
};

} // namespace talv::host

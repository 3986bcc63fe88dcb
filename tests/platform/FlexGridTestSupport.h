#pragma once

#include "platform/FlexGrid.h"
#include "platform/FlexGridModel.h"
#include "platform/Recordset.h"
#include "support/ErrorNumber.h"
#include "support/RecordsetBuilder.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>
#include <ostream>

// Readable failure messages for text comparisons.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

using namespace talv;

namespace flexgrid_test {

// Attaches Qt's model tester and collects its complaints instead of aborting the run.
class ModelChecker
{
public:
    explicit ModelChecker(QAbstractItemModel *model)
        : m_tester(model, QAbstractItemModelTester::FailureReportingMode::Warning)
    {
        s_failures.clear();
        s_previous = qInstallMessageHandler(&ModelChecker::handle);
    }
    ~ModelChecker() { qInstallMessageHandler(s_previous); }
    const QStringList &failures() const { return s_failures; }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (qstrcmp(context.category, "qt.modeltest") == 0 && type >= QtWarningMsg)
            s_failures.append(message);
        else if (s_previous)
            s_previous(type, context, message);
    }
    static inline QStringList s_failures;
    static inline QtMessageHandler s_previous = nullptr;
    QAbstractItemModelTester m_tester;
};

// A grid with heading "C0".."Cn" and data cells "r<row>c<col>" in grid coordinates.
inline void fill(FlexGrid &grid, int dataRows, int cols)
{
    grid.SetCols(cols);
    grid.SetRows(grid.FixedRows() + dataRows);
    for (int c = 0; c < cols; ++c) {
        grid.SetTextMatrix(0, c, QStringLiteral("C%1").arg(c));
        for (int r = grid.FixedRows(); r < grid.Rows(); ++r)
            grid.SetTextMatrix(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
    }
}

inline void showAndWait(FlexGrid &grid)
{
    grid.resize(480, 360);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
}

inline QPoint cellCentre(const FlexGrid &grid, int row, int col = 0)
{
    return grid.visualRect(grid.GridModel()->index(row - grid.FixedRows(), col)).center();
}

inline void clickRow(FlexGrid &grid, int row, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, cellCentre(grid, row));
}

inline QVariant shown(const FlexGrid &grid, int row, int col, int role = Qt::DisplayRole)
{
    return grid.GridModel()->index(row - grid.FixedRows(), col).data(role);
}

// The data rows' texts in one column, top to bottom.
inline QStringList rowTexts(const FlexGrid &grid, int col = 0)
{
    QStringList texts;
    for (int r = grid.FixedRows(); r < grid.Rows(); ++r)
        texts.append(grid.TextMatrix(r, col));
    return texts;
}

// ID (integer), NAME (text), NOTE (text, null in the second row).
inline std::shared_ptr<Recordset> smallSet()
{
    return test::makeRecordset(
        {{"ID", FieldType::Integer}, {"NAME", FieldType::VarChar, 50}, {"NOTE", FieldType::VarChar, 50}},
        {{10, "Alpha", "note 0"}, {20, "Beta", QVariant()}, {30, "Gamma", "note 2"}});
}

} // namespace flexgrid_test

using namespace flexgrid_test;

#include "FlexGridTestSupport.h"

TEST(FlexGridModelCheck, UnboundEditsKeepTheModelConsistent)
{
    FlexGrid grid;
    ModelChecker checker(grid.GridModel());
    QSignalSpy inserted(grid.GridModel(), &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(grid.GridModel(), &QAbstractItemModel::rowsRemoved);
    QSignalSpy moved(grid.GridModel(), &QAbstractItemModel::rowsMoved);
    // (first, last[, destination]) of the one signal an operation sent, in model rows.
    auto lastSignal = [](QSignalSpy &spy) {
        EXPECT_EQ(spy.count(), 1);
        QList<int> args;
        for (const QVariant &a : spy.takeLast())
            if (a.typeId() == QMetaType::Int)
                args.append(a.toInt());
        spy.clear();
        return args;
    };

    fill(grid, 4, 3);
    inserted.clear();
    EXPECT_EQ(rowTexts(grid), (QStringList{"r1c0", "r2c0", "r3c0", "r4c0"}));
    grid.AddItem(QStringLiteral("a\tb"), 2);
    EXPECT_EQ(lastSignal(inserted), (QList<int>{1, 1}));
    EXPECT_EQ(rowTexts(grid), (QStringList{"r1c0", "a", "r2c0", "r3c0", "r4c0"}));
    EXPECT_EQ(rowTexts(grid, 1), (QStringList{"r1c1", "b", "r2c1", "r3c1", "r4c1"}));
    grid.AddItem(QStringLiteral("end"));
    EXPECT_EQ(lastSignal(inserted), (QList<int>{5, 5}));
    grid.RemoveItem(1);
    EXPECT_EQ(lastSignal(removed), (QList<int>{0, 0}));
    EXPECT_EQ(rowTexts(grid), (QStringList{"a", "r2c0", "r3c0", "r4c0", "end"}));
    grid.RemoveItem(5);
    EXPECT_EQ(lastSignal(removed), (QList<int>{4, 4}));
    EXPECT_EQ(rowTexts(grid), (QStringList{"a", "r2c0", "r3c0", "r4c0"}));

    // Up, down by one, down by more, to the last row and back to the first.
    grid.MoveRow(4, 1);
    EXPECT_EQ(lastSignal(moved), (QList<int>{3, 3, 0}));
    EXPECT_EQ(rowTexts(grid), (QStringList{"r4c0", "a", "r2c0", "r3c0"}));
    grid.MoveRow(1, 2);
    EXPECT_EQ(lastSignal(moved), (QList<int>{0, 0, 2}));
    EXPECT_EQ(rowTexts(grid), (QStringList{"a", "r4c0", "r2c0", "r3c0"}));
    grid.MoveRow(1, 3);
    EXPECT_EQ(lastSignal(moved), (QList<int>{0, 0, 3}));
    EXPECT_EQ(rowTexts(grid), (QStringList{"r4c0", "r2c0", "a", "r3c0"}));
    grid.MoveRow(2, 4);
    EXPECT_EQ(lastSignal(moved), (QList<int>{1, 1, 4}));
    EXPECT_EQ(rowTexts(grid), (QStringList{"r4c0", "a", "r3c0", "r2c0"}));
    grid.MoveRow(4, 1);
    EXPECT_EQ(lastSignal(moved), (QList<int>{3, 3, 0}));
    EXPECT_EQ(rowTexts(grid), (QStringList{"r2c0", "r4c0", "a", "r3c0"}));
    EXPECT_EQ(rowTexts(grid, 1), (QStringList{"r2c1", "r4c1", "b", "r3c1"})); // whole rows travel
    grid.MoveRow(3, 3);
    EXPECT_EQ(moved.count(), 0);

    grid.SetCellBackColor(1, 0, 3, 2, Qt::gray);
    // A column put in front moves texts and colours along; taking it out moves them back.
    grid.GridModel()->insertColumns(0, 1);
    EXPECT_EQ(rowTexts(grid, 1), (QStringList{"r2c0", "r4c0", "a", "r3c0"}));
    EXPECT_EQ(grid.CellBackColor(1, 1), QColor(Qt::gray));
    EXPECT_FALSE(grid.CellBackColor(1, 0).isValid());
    grid.GridModel()->removeColumns(0, 1);
    EXPECT_EQ(rowTexts(grid, 1), (QStringList{"r2c1", "r4c1", "b", "r3c1"}));
    EXPECT_EQ(grid.CellBackColor(3, 0), QColor(Qt::gray));
    grid.SetColComboList(2, QStringLiteral("#1;one|"));
    grid.SetEditable(true);
    grid.SetFixedRows(2); // a second heading line; the data rows stay
    EXPECT_EQ(rowTexts(grid), (QStringList{"r2c0", "r4c0", "a", "r3c0"}));
    grid.SetCols(5);
    grid.SetCols(2);
    grid.SetRows(3);
    EXPECT_EQ(rowTexts(grid), (QStringList{"r2c0"}));

    EXPECT_TRUE(checker.failures().isEmpty()) << checker.failures().join(QLatin1Char('\n')).toStdString();
}

TEST(FlexGridModelCheck, BoundRowsAddedFilteredAndRebound)
{
    FlexGrid grid;
    ModelChecker checker(grid.GridModel());
    auto rs = smallSet();

    grid.BindToRecordset(rs);
    rs->AddNew();
    rs->SetValue(QStringLiteral("ID"), 40);
    grid.DataRefresh();
    EXPECT_EQ(grid.Rows(), 5);
    grid.SelectAllRows();
    rs->SetFilter(QStringLiteral("ID = 20"));
    grid.DataRefresh();
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.SelectedRows(), 1); // rows gone from the set leave the selection
    EXPECT_EQ(grid.TextMatrix(1, 1), QStringLiteral("Beta"));
    rs->SetFilter(QString());
    grid.Unbind();
    grid.BindToRecordset(rs);
    grid.BindToRecordset(std::make_shared<Recordset>(*rs));
    grid.SetRows(1); // cutting a bound grid down leaves it unbound with its columns
    EXPECT_FALSE(grid.IsBound());
    EXPECT_EQ(grid.Cols(), 3);

    EXPECT_TRUE(checker.failures().isEmpty()) << checker.failures().join(QLatin1Char('\n')).toStdString();
}

// --- bound to a recordset

TEST(FlexGridBound, ShowsTheRecordsetInPlaceWithFieldNamesAsHeadings)
{
    FlexGrid grid;
    auto rs = smallSet();
    rs->MoveFirst();
    rs->MoveNext();

    grid.BindToRecordset(rs);
    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(grid.TextMatrix(0, 1), QStringLiteral("NAME"));
    EXPECT_EQ(grid.TextMatrix(3, 0), QStringLiteral("30"));
    EXPECT_EQ(grid.TextMatrix(2, 2), QString()); // null
    EXPECT_EQ(shown(grid, 1, 2).toString(), QStringLiteral("note 0"));
    EXPECT_EQ(rs->AbsolutePosition(), 2); // reading cells leaves the cursor alone

    // Headings and record keys are the grid's; the rows stay the recordset's.
    grid.SetTextMatrix(0, 1, QStringLiteral("Group Name"));
    grid.SetRowData(2, 42);
    EXPECT_EQ(errorNumber([&] { grid.SetTextMatrix(1, 1, QStringLiteral("x")); }), Error::IllegalOperation);
    EXPECT_EQ(errorNumber([&] { grid.AddItem(); }), Error::IllegalOperation);
    EXPECT_FALSE(grid.GridModel()->flags(grid.GridModel()->index(0, 0)).testFlag(Qt::ItemIsEditable));

    // Re-reading after a change keeps headings and widths; so does rebinding the same layout.
    grid.SetColWidth(1, 150);
    rs->AddNew();
    rs->SetValue(QStringLiteral("NAME"), QStringLiteral("Delta"));
    grid.DataRefresh();
    EXPECT_EQ(grid.TextMatrix(4, 1), QStringLiteral("Delta"));
    EXPECT_EQ(grid.RowData(2).toInt(), 42);
    // A row that leaves the grid takes its record key along.
    grid.SetRowData(4, 44);
    rs->SetFilter(QStringLiteral("NAME <> 'Delta'"));
    grid.DataRefresh();
    EXPECT_EQ(grid.Rows(), 4);
    rs->SetFilter(QString());
    grid.DataRefresh();
    EXPECT_FALSE(grid.RowData(4).isValid());
    EXPECT_EQ(grid.RowData(2).toInt(), 42);
    grid.Unbind();
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.Cols(), 3);
    grid.BindToRecordset(rs);
    EXPECT_EQ(grid.TextMatrix(0, 1), QStringLiteral("Group Name"));
    EXPECT_EQ(grid.ColWidth(1), 150);

    // A set with other fields starts the columns afresh.
    grid.BindToRecordset(talv::test::makeRecordset({{"CODE", FieldType::VarChar, 10}}));
    EXPECT_EQ(grid.Cols(), 1);
    EXPECT_EQ(grid.TextMatrix(0, 0), QStringLiteral("CODE"));
    EXPECT_EQ(grid.Rows(), 1);
}

TEST(FlexGridBound, AMillionRowsBindWithoutPerRowWork)
{
    auto rs = std::make_shared<Recordset>();
    rs->AppendField(QStringLiteral("ID"), FieldType::Integer);
    rs->Open();
    constexpr int kRows = 1'000'000;
    for (int i = 1; i <= kRows; ++i) {
        rs->AddNew();
        rs->Fields(0).SetValue(i);
    }
    FlexGrid grid;
    grid.SetSelMode(FlexGrid::SelectMode::ListBox);

    grid.BindToRecordset(rs);
    showAndWait(grid);
    EXPECT_EQ(grid.GridModel()->rowCount(), kRows);
    EXPECT_EQ(grid.TextMatrix(kRows, 0), QStringLiteral("1000000"));

    grid.SelectAllRows();
    EXPECT_EQ(grid.SelectedRows(), kRows);
    EXPECT_EQ(grid.SelectedRow(kRows - 1), kRows);
    EXPECT_EQ(grid.selectionModel()->selection().size(), 1);
    EXPECT_TRUE(grid.IsSelected(kRows / 2));
}

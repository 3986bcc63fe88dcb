#pragma once

#include <QStyledItemDelegate>

#include <functional>

namespace talv {

// Edits a FlexGrid cell with a drop-down when its column has a value list, storing the chosen
// item's key; other cells get the usual line edit. Cut-off cells tell their whole text.
class FlexGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Asked before each editor opens; answering false keeps the cell closed.
    void SetEditGate(std::function<bool(const QModelIndex &)> gate) { m_gate = std::move(gate); }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    // A cell too small for its text shows the whole text as its tooltip.
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

private:
    std::function<bool(const QModelIndex &)> m_gate;
};

} // namespace talv

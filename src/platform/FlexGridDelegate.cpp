#include "FlexGridDelegate.h"

#include "FlexGridModel.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHelpEvent>
#include <QToolTip>

namespace talv {

namespace {

const FlexGridValueList *valueListOf(const QModelIndex &index)
{
    const auto *model = qobject_cast<const FlexGridModel *>(index.model());
    if (model == nullptr || !index.isValid())
        return nullptr;
    const FlexGridValueList &list = model->valueList(index.column());
    return list.IsEmpty() ? nullptr : &list;
}

} // namespace

QWidget *FlexGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    if (m_gate && !m_gate(index))
        return nullptr;
    const FlexGridValueList *list = valueListOf(index);
    if (list == nullptr)
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QStringLiteral("flexGridValueListEditor"));
    for (qsizetype i = 0; i < list->Count(); ++i)
        combo->addItem(list->TextAt(i), list->KeyAt(i));
    return combo;
}

void FlexGridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *combo = qobject_cast<QComboBox *>(editor);
    if (combo == nullptr) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    combo->setCurrentIndex(combo->findData(index.data(Qt::EditRole).toString()));
}

void FlexGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *combo = qobject_cast<QComboBox *>(editor);
    if (combo == nullptr) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    // Leaving the drop-down without a choice keeps the cell as it was.
    if (combo->currentIndex() >= 0)
        model->setData(index, combo->currentData(), Qt::EditRole);
}

bool FlexGridDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                                 const QModelIndex &index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid() || index.data(Qt::ToolTipRole).isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString text = index.data(Qt::DisplayRole).toString();
    const QSize needed = sizeHint(option, index);
    if (text.isEmpty() || (needed.width() <= option.rect.width() && needed.height() <= option.rect.height())) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
    return true;
}

} // namespace talv

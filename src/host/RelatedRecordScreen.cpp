#include "RelatedRecordScreen.h"

#include "contracts/Names.h"
#include "platform/FlexGrid.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace talv::host {

QString RelatedRecordScreen::headingFor(const QString &field)
{
    if (field.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("ID");
    QStringList words = field.toLower().split(u'_', Qt::SkipEmptyParts);
    for (QString &word : words)
        word[0] = word[0].toUpper();
    return words.join(u' ');
}

QString RelatedRecordScreen::relatedSql(const ViewCatalogue &views, const QString &sourceCode,
                                        const QString &targetCode, qint32 recordId)
{
    const HostView *source = views.find(sourceCode);
    const HostView *target = views.find(targetCode);
    if (!source || !target || target->definition().workingListView.isEmpty())
        return {};
    const QString listView = target->definition().workingListView;
    if (sourceCode == names::view::ElementGroups && targetCode != sourceCode) {
        if (listView.compare(QLatin1String("REFERENCE_WL_VW"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("SELECT r.* FROM REFERENCE_WL_VW r "
                                  "JOIN element_group_reference g ON g.reference_id = r.ID "
                                  "WHERE g.element_group_id = %1 ORDER BY g.display_order")
                .arg(recordId);
        return QStringLiteral("SELECT e.* FROM %1 e "
                              "JOIN element_group_membership m ON m.element_global_id = e.ID "
                              "WHERE m.element_group_id = %2 ORDER BY m.display_order")
            .arg(listView)
            .arg(recordId);
    }
    return QStringLiteral("SELECT * FROM %1 WHERE ID = %2").arg(listView).arg(recordId);
}

RelatedRecordScreen::RelatedRecordScreen(const QString &caption, RecordsetPtr rows, QWidget *parent)
    : QWidget(parent), m_rows(std::move(rows))
{
    setObjectName(QStringLiteral("RelatedRecordScreen"));
    setWindowTitle(caption);
    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(caption, this);
    heading->setObjectName(QStringLiteral("lblCaption"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);

    if (m_rows->RecordCount() == 1) {
        auto *form = new QFormLayout;
        form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        m_rows->MoveFirst();
        for (int f = 0; f < m_rows->FieldCount(); ++f) {
            const QString text = m_rows->Fields(f).Value().toString();
            // PostgreSQL answers the view's field names in lower case: the controls are named alike on both.
            const QString name = QStringLiteral("txt") + m_rows->FieldName(f).toUpper();
            // Citations and comments get room to be read whole.
            if (text.size() > 60 || text.contains(u'\n')) {
                auto *value = new QPlainTextEdit(text, this);
                value->setObjectName(name);
                value->setReadOnly(true);
                value->setMaximumHeight(value->fontMetrics().lineSpacing() * 5 + 12);
                form->addRow(headingFor(m_rows->FieldName(f)), value);
            } else {
                auto *value = new QLineEdit(text, this);
                value->setObjectName(name);
                value->setReadOnly(true);
                value->setCursorPosition(0);
                form->addRow(headingFor(m_rows->FieldName(f)), value);
            }
        }
        layout->addLayout(form);
        layout->addStretch();
        resize(520, sizeHint().height());
    } else {
        m_grid = new FlexGrid(this);
        m_grid->setObjectName(QStringLiteral("fgRecords"));
        m_grid->SetSelMode(FlexGrid::SelectMode::ListBox);
        m_grid->BindToRecordset(m_rows);
        for (int c = 0; c < m_grid->Cols(); ++c)
            m_grid->SetTextMatrix(0, c, headingFor(m_rows->FieldName(c)));
        m_grid->AutoSize(0, m_grid->Cols() - 1);
        layout->addWidget(m_grid);
        auto *count = new QLabel(tr("%1 records").arg(m_rows->RecordCount()), this);
        count->setObjectName(QStringLiteral("lblRecordCount"));
        layout->addWidget(count);
        resize(640, 360);
    }
}

} // namespace talv::host

#include "ChildListEditor.h"

#include "contracts/AppManager.h"
#include "contracts/ComponentCollection.h"
#include "contracts/ElementGroupObject.h"
#include "platform/BusyCursor.h"
#include "platform/Error.h"
#include "platform/FailureReport.h"
#include "platform/FlexGrid.h"
#include "platform/Twips.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace talv::details {

namespace {

constexpr int SelectorColumnTwips = 15;

QString cellText(const QVariant &value, bool nullAsEmpty)
{
    if (value.isNull() && !nullAsEmpty)
        throw Error(Error::TypeMismatch, QStringLiteral("Invalid use of Null"));
    return value.isNull() ? QString() : value.toString();
}

} // namespace

ChildListEditor::Config ChildListEditor::membersConfig()
{
    Config c;
    c.gridName = QStringLiteral("fgElements");
    c.addButtonName = QStringLiteral("cmdAddElement");
    c.addCaption = QStringLiteral("&Add...");
    c.removeButtonName = QStringLiteral("cmdRemoveElement");
    c.removeCaption = QStringLiteral("Re&move");
    c.keyField = QStringLiteral("ID");
    c.columns = {
        {QStringLiteral("ElementID"), QStringLiteral("Element ID"), 1245, false, QStringLiteral("ID"), true},
        {QStringLiteral("GlobalSciName"), QStringLiteral("Global Scientific Name"), 4995, false,
         QStringLiteral("GName"), true},
        {QStringLiteral("GlobalComName"), QStringLiteral("Global Common Name"), 4995, false, QStringLiteral("ComName"),
         true},
    };
    c.loadSql = [](qint32 groupId) {
        return QStringLiteral("SELECT element_group_membership.element_global_id as ID, "
                              "element_group_membership.element_group_id, "
                              "element_global.element_global_id, scientific_name.scientific_name as GName, "
                              "element_global.g_primary_common_name as ComName "
                              "FROM element_global, element_group_membership, scientific_name "
                              "WHERE element_group_membership.element_group_id = ") +
               QString::number(groupId) +
               QStringLiteral(" AND "
                              "element_group_membership.element_global_id = element_global.element_global_id "
                              "AND element_global.gname_id = scientific_name.scientific_name_id "
                              "ORDER BY element_group_membership.display_order");
    };
    c.emptyAnswerIsFine = true;
    c.loadErrorText = QStringLiteral("Error loading Elements Grid.");
    c.children = [](ElementGroupObject &group) -> ComponentCollection & { return group.Members(); };
    return c;
}

ChildListEditor::Config ChildListEditor::referencesConfig()
{
    Config c;
    c.gridName = QStringLiteral("fgReferences");
    c.addButtonName = QStringLiteral("cmdAddReference");
    c.addCaption = QStringLiteral("A&dd...");
    c.removeButtonName = QStringLiteral("cmdRemoveReference");
    c.removeCaption = QStringLiteral("Remo&ve");
    c.keyField = QStringLiteral("reference_id");
    c.columns = {
        {QStringLiteral("ReferenceID"), QStringLiteral("Reference ID"), 960, true, QStringLiteral("reference_id"),
         false},
        {QStringLiteral("ReferenceCode"), QStringLiteral("Reference Code"), 1500, false,
         QStringLiteral("reference_code"), false},
        {QStringLiteral("FullCitation"), QStringLiteral("Full Citation"), 10005, false, QStringLiteral("full_citation"),
         false},
    };
    c.loadSql = [](qint32 groupId) {
        return QStringLiteral("SELECT element_group_reference.reference_id, reference.reference_code, "
                              "reference.full_citation "
                              "FROM reference, element_group_reference "
                              "WHERE element_group_reference.element_group_id = ") +
               QString::number(groupId) +
               QStringLiteral(" AND "
                              "reference.reference_id = element_group_reference.reference_id "
                              "ORDER BY element_group_reference.display_order, reference.reference_code");
    };
    c.emptyAnswerIsFine = false;
    c.loadErrorText = QStringLiteral("Error loading References Grid.");
    c.children = [](ElementGroupObject &group) -> ComponentCollection & { return group.References(); };
    return c;
}

ChildListEditor::ChildListEditor(Config config, QWidget *parent) : QWidget(parent), m_config(std::move(config))
{
    m_grid = new FlexGrid;
    m_grid->setObjectName(m_config.gridName);
    m_grid->SetCols(int(m_config.columns.size()) + 1);
    m_grid->SetRows(1);
    m_grid->SetFixedRows(1);
    m_grid->SetSelMode(FlexGrid::SelectMode::ListBox);
    m_grid->SetColWidth(0, twips::toPixels(SelectorColumnTwips));
    for (int i = 0; i < m_config.columns.size(); ++i) {
        const Column &column = m_config.columns[i];
        m_grid->SetColKey(i + 1, column.key);
        m_grid->SetColWidth(i + 1, twips::toPixels(column.widthTwips));
        m_grid->SetColHidden(i + 1, column.hidden);
    }
    writeHeadings();

    m_add = new QPushButton(m_config.addCaption);
    m_add->setObjectName(m_config.addButtonName);
    m_remove = new QPushButton(m_config.removeCaption);
    m_remove->setObjectName(m_config.removeButtonName);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    buttons->addStretch(1);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
}

void ChildListEditor::writeHeadings()
{
    for (const Column &column : m_config.columns)
        m_grid->SetTextMatrix(0, m_grid->ColIndex(column.key), column.heading);
}

void ChildListEditor::clear()
{
    m_grid->SetRows(1);
    writeHeadings();
}

void ChildListEditor::load(ElementGroupObject &group, qint32 listGroupId, AppManager &appManager)
{
    BusyCursor busy;
    m_grid->SetRedraw(false);
    runReported(FailureText{m_config.loadErrorText + QLatin1Char('\n'), {}, MsgIcon::Exclamation}, [&] {
        m_grid->SetRows(1);
        if (m_config.children(group).Count() < 1)
            return;
        const RecordsetPtr rows = appManager.CallGetQueryRSXML(m_config.loadSql(listGroupId));
        if (m_config.emptyAnswerIsFine && rows->RecordCount() == 0)
            return;
        fillRows(*rows);
    });
    writeHeadings();
    m_grid->SetRedraw(true);
}

void ChildListEditor::fillRows(Recordset &rows)
{
    // References walk from the first row without asking for a count: an empty answer where the
    // collection has items is an error, as reading the missing row says.
    rows.MoveFirst();
    do {
        const int row = m_grid->AddItem();
        m_grid->SetRowData(row, rows.Value(m_config.keyField).toLongLong());
        for (const Column &column : m_config.columns)
            m_grid->SetTextMatrix(row, m_grid->ColIndex(column.key),
                                  cellText(rows.Value(column.field), column.nullAsEmpty));
        rows.MoveNext();
    } while (!rows.IsEOF());
}

} // namespace talv::details

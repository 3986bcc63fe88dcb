#include "RecordForm.h"

#include "contracts/AppManager.h"
#include "contracts/ElementGroupObject.h"
#include "platform/LookupComboBox.h"
#include "platform/RichTextControl.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include <array>

namespace talv::details {

namespace {

const QString CaptionPrefix = QStringLiteral("ELGrp - ");
const QString CaptionSuffix = QStringLiteral(" (Element Group)");

template <typename W> W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QLabel *label(const QString &name, const QString &text, QWidget *buddy = nullptr)
{
    auto *l = named(new QLabel(text), name);
    if (buddy)
        l->setBuddy(buddy);
    return l;
}

// A text field named `name` that shows the group property `tag`.
RichTextControl *textField(const QString &name, const QString &tag, const QString &description, bool multiLine)
{
    auto *field = named(new RichTextControl, name);
    field->SetTag(tag);
    field->SetMultiLine(multiLine);
    field->SetDescription(description);
    field->setAccessibleName(description);
    return field;
}

QLineEdit *summaryBox(const QString &name)
{
    auto *box = named(new QLineEdit, name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

void showInSummary(QLineEdit *box, const QString &text)
{
    box->setText(text);
    // A long name shows from its start; the whole of it is in the tooltip.
    box->setCursorPosition(0);
    box->setToolTip(text);
}

} // namespace

QWidget *containingWindow(QWidget *control)
{
    // A host sub-window counts as a window here, so the caption never lands on the main window.
    for (QWidget *up = control->parentWidget(); up; up = up->parentWidget()) {
        if (up->isWindow() || up->windowType() == Qt::SubWindow)
            return up;
    }
    return control;
}

RecordForm::RecordForm(QWidget *membersArea, QWidget *referencesArea, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("RecordForm"));
    m_groupName = textField(QStringLiteral("ctrGroupName"), QStringLiteral("ElementGroupName"),
                            QStringLiteral("Element Group Name"), false);
    m_groupType = named(new LookupComboBox, QStringLiteral("cboGroupType"));
    m_groupType->setProperty("Tag", QStringLiteral("DElementGroupTypeId"));
    m_memberType = named(new LookupComboBox, QStringLiteral("cboMemberType"));
    m_memberType->setProperty("Tag", QStringLiteral("DGroupMemberTypeId"));
    m_description = textField(QStringLiteral("ctrGroupDescription"), QStringLiteral("ElementGroupDesc"),
                              QStringLiteral("Description"), true);
    m_range =
        textField(QStringLiteral("ctrEMGRange"), QStringLiteral("RangeCom"), QStringLiteral("Range Comments"), true);
    m_habitat = textField(QStringLiteral("ctrEMGHabitat"), QStringLiteral("HabitatCom"),
                          QStringLiteral("Habitat Comments"), true);
    m_ecology = textField(QStringLiteral("ctrEMGEcology"), QStringLiteral("EcologyCom"),
                          QStringLiteral("Ecology Comments"), true);
    m_threat =
        textField(QStringLiteral("ctrThreat"), QStringLiteral("ThreatCom"), QStringLiteral("Threat Comments"), true);
    m_status =
        textField(QStringLiteral("ctrEMGStatus"), QStringLiteral("StatusCom"), QStringLiteral("Status Comments"), true);
    m_trend =
        textField(QStringLiteral("ctrEMGTrend"), QStringLiteral("TrendCom"), QStringLiteral("Trend Comments"), true);

    m_tabs = named(new QTabWidget, QStringLiteral("tabElementGroup"));
    m_tabs->addTab(buildIdentifiersTab(membersArea), QStringLiteral("&Identifiers"));
    m_tabs->addTab(buildCommentTab({{{m_range, QStringLiteral("&Range")},
                                     {m_habitat, QStringLiteral("&Habitat")},
                                     {m_ecology, QStringLiteral("Ec&ology")}}}),
                   QStringLiteral("&Natural History"));
    m_tabs->addTab(buildCommentTab({{{m_threat, QStringLiteral("T&hreat")},
                                     {m_status, QStringLiteral("&Status")},
                                     {m_trend, QStringLiteral("T&rend")}}}),
                   QStringLiteral("&Conditions"));
    m_tabs->addTab(buildGridTab(referencesArea), QStringLiteral("&References"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildHeader());
    layout->addWidget(buildSummary());
    layout->addWidget(m_tabs, 1);

    connect(m_tabs, &QTabWidget::currentChanged, this, &RecordForm::tabShown);
    connect(m_groupName, &RichTextControl::Change, this, &RecordForm::onGroupNameEdited);
    connect(m_groupType, &QComboBox::currentTextChanged, this,
            [this](const QString &text) { showInSummary(m_summaryType, text); });
    connect(m_memberType, &QComboBox::currentTextChanged, this,
            [this](const QString &text) { showInSummary(m_summaryMemberType, text); });
}

QWidget *RecordForm::buildHeader()
{
    auto *header = new QWidget;
    m_headerRow = new QHBoxLayout(header);
    m_headerRow->setContentsMargins(0, 0, 0, 0);
    m_lblElgroupID = label(QStringLiteral("lblElgroupID"), {});
    m_lblElgroupID->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lblUniversalKeyID = label(QStringLiteral("lblUniversalKeyID"), {});
    m_lblUniversalKeyID->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lblNewRecord = label(QStringLiteral("lblNewRecord"), QStringLiteral("New Record"));
    m_lblNewRecord->setStyleSheet(QStringLiteral("QLabel { color: #b00000; font-weight: bold; }"));
    m_lblNewRecord->hide();
    m_headerRow->addWidget(label(QStringLiteral("lblID"), QStringLiteral("Element Group ID:")));
    m_headerRow->addWidget(m_lblElgroupID);
    m_headerRow->addSpacing(16);
    m_headerRow->addWidget(label(QStringLiteral("lblUniversalKey"), QStringLiteral("Universal Key:  ")));
    m_headerRow->addWidget(m_lblUniversalKeyID);
    m_headerRow->addSpacing(16);
    m_headerRow->addWidget(m_lblNewRecord);
    m_headerRow->addStretch(1);
    return header;
}

void RecordForm::setNavigator(QWidget *navigator)
{
    m_headerRow->addWidget(navigator);
}

QGroupBox *RecordForm::buildSummary()
{
    auto *frame = named(new QGroupBox(QStringLiteral("Summary")), QStringLiteral("fraSummary"));
    m_summaryName = summaryBox(QStringLiteral("txtSummaryGroupName"));
    m_summaryType = summaryBox(QStringLiteral("txtSummaryGroupType"));
    m_summaryMemberType = summaryBox(QStringLiteral("txtSummaryMemberType"));
    auto *row = new QHBoxLayout(frame);
    row->addWidget(label(QStringLiteral("lblSummaryGroupName"), QStringLiteral("Group Name")));
    row->addWidget(m_summaryName, 3);
    row->addWidget(label(QStringLiteral("lblSummaryGroupType"), QStringLiteral("Group Type")));
    row->addWidget(m_summaryType, 2);
    row->addWidget(label(QStringLiteral("lblSummaryMemberType"), QStringLiteral("Group Member Type")));
    row->addWidget(m_summaryMemberType, 2);
    return frame;
}

QWidget *RecordForm::buildIdentifiersTab(QWidget *membersArea)
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    grid->addWidget(label(QStringLiteral("lblGroupName"), QStringLiteral("Group Name"), m_groupName), 0, 0);
    grid->addWidget(m_groupName, 0, 1);
    grid->addWidget(label(QStringLiteral("lblGroupType"), QStringLiteral("Group Type"), m_groupType), 1, 0);
    grid->addWidget(m_groupType, 1, 1);
    // The group has no name type of its own; the label is kept for hosts that look it up by name.
    QLabel *nameType = label(QStringLiteral("lblNameType"), QStringLiteral("Name Type"));
    nameType->setParent(page);
    nameType->hide();
    grid->addWidget(label(QStringLiteral("lblMemberType"), QStringLiteral("Group Member Type"), m_memberType), 2, 0);
    grid->addWidget(m_memberType, 2, 1);
    grid->addWidget(label(QStringLiteral("lblDescription"), QStringLiteral("Description"), m_description), 0, 2,
                    Qt::AlignTop);
    grid->addWidget(m_description, 0, 3, 3, 1);
    grid->addWidget(label(QStringLiteral("lblElements"), QStringLiteral("Elements"), membersArea), 3, 0, Qt::AlignTop);
    grid->addWidget(membersArea, 3, 1, 1, 3);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 3);
    grid->setRowStretch(3, 1);
    return page;
}

QWidget *RecordForm::buildCommentTab(const std::array<std::pair<RichTextControl *, QString>, 3> &fields)
{
    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    for (const auto &[field, caption] : fields) {
        auto *l = label(QStringLiteral("lbl") + field->objectName().mid(3), caption, field);
        form->addRow(l, field);
    }
    return page;
}

QWidget *RecordForm::buildGridTab(QWidget *gridArea)
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(gridArea);
    return page;
}

QList<RichTextControl *> RecordForm::textFields() const
{
    return {m_groupName, m_description, m_range, m_habitat, m_ecology, m_threat, m_status, m_trend};
}

void RecordForm::clear()
{
    for (RichTextControl *field : textFields())
        field->SetText(QString());
    m_groupType->setBoundValue({});
    m_memberType->setBoundValue({});
    for (QLineEdit *box : {m_summaryName, m_summaryType, m_summaryMemberType})
        showInSummary(box, {});
    m_lblElgroupID->clear();
    m_lblUniversalKeyID->clear();
    containingWindow(this)->setWindowTitle(CaptionPrefix);
    selectFirstTab();
}

void RecordForm::bindFirstTab(ElementGroupObject &group)
{
    group.BindControl(m_groupName, QStringLiteral("Text"), QStringLiteral("ElementGroupName"), {});
    const std::array<std::tuple<LookupComboBox *, QString, QString>, 2> types{{
        {m_groupType, QStringLiteral("GroupType"), QStringLiteral("DElementGroupTypeId")},
        {m_memberType, QStringLiteral("MemberType"), QStringLiteral("DGroupMemberTypeID")},
    }};
    for (const auto &[combo, lookup, property] : types) {
        const QVariant held = group.property(property);
        if (held.isNull() || held.toString().isEmpty())
            group.setProperty(property, 1);
        combo->setChoices(group.GetLookup(lookup, {}, -1));
        group.Unbind(lookup);
        group.BindControl(combo, QStringLiteral("BoundValue"), property, {});
    }
    group.BindControl(m_description, QStringLiteral("Text"), QStringLiteral("ElementGroupDesc"), {});
}

void RecordForm::bindCommentTab(int tab, ElementGroupObject &group)
{
    using Binding = std::pair<RichTextControl *, const char *>;
    const std::array<Binding, 3> naturalHistory{
        {{m_range, "RangeCom"}, {m_habitat, "HabitatCom"}, {m_ecology, "EcologyCom"}}};
    const std::array<Binding, 3> conditions{{{m_threat, "ThreatCom"}, {m_status, "StatusCom"}, {m_trend, "TrendCom"}}};
    for (const auto &[field, property] : tab == NaturalHistory ? naturalHistory : conditions)
        group.BindControl(field, QStringLiteral("Text"), QString::fromLatin1(property), {});
}

void RecordForm::refreshCaptionAndSummary(ElementGroupObject &group, AppManager &appManager)
{
    showInSummary(m_summaryName, fieldText(Field::GroupName));
    showInSummary(m_summaryType, fieldText(Field::GroupType));
    showInSummary(m_summaryMemberType, fieldText(Field::MemberType));
    setCaption(fieldText(Field::GroupName));
    m_lblElgroupID->setText(QString::number(group.ID()));
    m_lblUniversalKeyID->setText(appManager.GetOrgUnitCode(group.property(QStringLiteral("OrgUnitID")).toInt()) +
                                 QStringLiteral("-") + group.property(QStringLiteral("UniversalKey")).toString());
}

void RecordForm::onGroupNameEdited()
{
    const QString name = fieldText(Field::GroupName);
    showInSummary(m_summaryName, name);
    if (!m_closing)
        setCaption(name);
}

void RecordForm::setCaption(const QString &groupName)
{
    containingWindow(this)->setWindowTitle(CaptionPrefix + groupName + CaptionSuffix);
}

void RecordForm::selectFirstTab()
{
    m_tabs->setCurrentIndex(Identifiers);
}

void RecordForm::focusField(Field field)
{
    selectFirstTab();
    QWidget *target = field == Field::GroupName   ? static_cast<QWidget *>(m_groupName)
                      : field == Field::GroupType ? static_cast<QWidget *>(m_groupType)
                                                  : static_cast<QWidget *>(m_memberType);
    target->setFocus(Qt::OtherFocusReason);
}

QString RecordForm::fieldText(Field field) const
{
    switch (field) {
    case Field::GroupName:
        return m_groupName->toPlainText();
    case Field::GroupType:
        return m_groupType->currentText();
    case Field::MemberType:
        return m_memberType->currentText();
    }
    return {};
}

void RecordForm::setNewRecordShown(bool shown)
{
    m_lblNewRecord->setVisible(shown);
}

bool RecordForm::newRecordShown() const
{
    return !m_lblNewRecord->isHidden();
}

} // namespace talv::details

#pragma once

#include <QString>
#include <QWidget>

class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace talv {
class AppManager;
class ElementGroupObject;
class LookupComboBox;
class RichTextControl;
} // namespace talv

namespace talv::details {

// The record's fields on the four tabs, the summary frame, the id labels and the window caption.
// Binds the fields to the group object (edits go into it through the bindings), fills the first
// tab at once and the others when asked, and reacts to edits of the name and the two types. The
// two child grids are handed in: they belong to their own editors.
class RecordForm : public QWidget
{
    Q_OBJECT
public:
    enum Tab { Identifiers = 0, NaturalHistory = 1, Conditions = 2, References = 3 };
    enum class Field { GroupName, GroupType, MemberType };

    RecordForm(QWidget *membersArea, QWidget *referencesArea, QWidget *parent = nullptr);

    QTabWidget *tabs() const { return m_tabs; }
    // A place in the heading row for the navigation controls.
    void setNavigator(QWidget *navigator);

    // Empties every field, summary box and id label, sets the caption to its bare prefix and selects
    // the first tab. Call after the group object's bindings are removed.
    void clear();
    // Binds the first tab's name, types and description to the group object (a group type or
    // member type that is empty becomes 1), with the choices of the two lookups.
    void bindFirstTab(ElementGroupObject &group);
    // Binds the three comment fields of tab 1 or 2.
    void bindCommentTab(int tab, ElementGroupObject &group);
    // The summary boxes, the caption of the window holding the screen and the id labels.
    void refreshCaptionAndSummary(ElementGroupObject &group, AppManager &appManager);

    void selectFirstTab();
    // Selects the first tab and puts the focus into the field.
    void focusField(Field field);
    QString fieldText(Field field) const;
    void setNewRecordShown(bool shown);
    bool newRecordShown() const;
    // While the screen is closing, name edits leave the caption alone.
    void setClosing(bool closing) { m_closing = closing; }

signals:
    // The user (or code) selected another tab; the screen fills it if needed.
    void tabShown(int tab);

private:
    QWidget *buildHeader();
    QGroupBox *buildSummary();
    QWidget *buildIdentifiersTab(QWidget *membersArea);
    QWidget *buildCommentTab(const std::array<std::pair<RichTextControl *, QString>, 3> &fields);
    QWidget *buildGridTab(QWidget *gridArea);
    void onGroupNameEdited();
    void setCaption(const QString &groupName);
    QList<RichTextControl *> textFields() const;

    QTabWidget *m_tabs = nullptr;
    QHBoxLayout *m_headerRow = nullptr;
    QLabel *m_lblElgroupID = nullptr;
    QLabel *m_lblUniversalKeyID = nullptr;
    QLabel *m_lblNewRecord = nullptr;
    QLineEdit *m_summaryName = nullptr;
    QLineEdit *m_summaryType = nullptr;
    QLineEdit *m_summaryMemberType = nullptr;
    RichTextControl *m_groupName = nullptr;
    LookupComboBox *m_groupType = nullptr;
    LookupComboBox *m_memberType = nullptr;
    RichTextControl *m_description = nullptr;
    RichTextControl *m_range = nullptr;
    RichTextControl *m_habitat = nullptr;
    RichTextControl *m_ecology = nullptr;
    RichTextControl *m_threat = nullptr;
    RichTextControl *m_status = nullptr;
    RichTextControl *m_trend = nullptr;
    bool m_closing = false;
};

// The window whose caption names the screen: its host sub-window, its modal window, or itself.
QWidget *containingWindow(QWidget *control);

} // namespace talv::details

#pragma once

#include "DetailsState.h"

#include "platform/Recordset.h"

#include <QString>
#include <QWidget>

#include <memory>

class QAction;

namespace talv {
class AppManager;
class CommandTable;
class Component;
class ElementGroupObject;
class ComponentCollection;
class FlexGrid;
class FocusedField;
class ViewCollection;
class WinMan;
} // namespace talv

namespace talv::details {

class ChildListEditor;
class RecordForm;
class RecordNavigator;
class RecordObjects;
class RecordWriter;
class RelatedScreens;
class TextFieldSetup;
class WaitPanel;

// The record screen of one element group ("TALV_ELGroup.ELGroupDetails"): a host creates it by class
// name, calls InitDetails (or InitModalDetails inside a modal window), then LoadData or NewData.
// This class is the screen's public face and wires its parts together; the work is done by the
// parts: the form (fields, bindings, caption), the writer (save, new, delete), the navigator (the
// current list), the two child-list editors and the business objects behind them.
// Every operation and handler reports its own errors; nothing is thrown to the host.
class ELGroupDetails : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QWidget *ActiveControl READ ActiveControl)

public:
    static constexpr int WidthTwips = 11235;
    static constexpr int HeightTwips = 7275;
    // A host that sizes its window by the hint fits the fixed size exactly, with no empty band
    // above the menu bar.
    QSize sizeHint() const override { return minimumSize(); }

    explicit ELGroupDetails(QWidget *parent = nullptr);
    ~ELGroupDetails() override;

    // The child control that has the focus, or nullptr.
    QWidget *ActiveControl() const;

    Q_INVOKABLE void InitDetails(const talv::RecordsetPtr &rsView, talv::AppManager *objAppManager, qint32 lngViewID,
                                 talv::WinMan *objWinMan, talv::ViewCollection *colViews, const QString &strExtraInfo);
    Q_INVOKABLE void InitModalDetails(talv::AppManager *objAppManager, const QString &strExtraInfo);
    Q_INVOKABLE void LoadData(qint32 lngRecordID);
    Q_INVOKABLE qint32 NewData(qint32 lngIDLocal);
    Q_INVOKABLE qint32 GetID() const;
    Q_INVOKABLE bool CanClose();
    Q_INVOKABLE void Deactivate();
    Q_INVOKABLE void NotifyListChanges(const QString &strEvent);
    // The optional arguments are overloads so that a host may pass two, three or four.
    Q_INVOKABLE int DisplayMessage(const QString &strMessageID, const QString &strArg1);
    Q_INVOKABLE int DisplayMessage(const QString &strMessageID, const QString &strArg1, const QString &strArg2);
    Q_INVOKABLE int DisplayMessage(const QString &strMessageID, const QString &strArg1, const QString &strArg2,
                                   const QString &strArg3);
    Q_INVOKABLE bool UpdateProperty(talv::Component *objComponent, const QString &strPropertyName,
                                    const QString &strNewValue, const QString &strUserName);

    // The child lists: the members on the first tab, the references on the last.
    Q_INVOKABLE void LoadElementsGrid();
    Q_INVOKABLE void LoadReferencesGrid();
    Q_INVOKABLE void AddElementMember(qint32 lngElementID, const QString &strSciName, const QString &strComName);
    Q_INVOKABLE void AddGroupReference(qint32 lngReferenceID, const QString &strCode, const QString &strCitation);
    // The element of the first selected member row, or -1.
    Q_INVOKABLE qint32 GetSelectedElementID() const;
    Q_INVOKABLE void RenumberDisplayOrder(talv::FlexGrid *grid, talv::ComponentCollection *children,
                                          const QString &strKeyName, const QString &strUserName);
    Q_INVOKABLE int FindGridRow(talv::FlexGrid *grid, const QString &strColKey, const QString &strValue) const;

    // The text fields as the database configures them: `Window` is a list of controls whose first
    // one's parent is the screen (used when `UserControlName` is empty), `UserControlControls` the
    // screen's controls.
    Q_INVOKABLE void ApplyRichText(const QObjectList &Window, const QString &UserControlName,
                                   const QObjectList &UserControlControls);
    // The editing aids, on the field that has (or last had) the focus in this screen.
    Q_INVOKABLE void LaunchTextEditor();
    Q_INVOKABLE void CheckSpellingActive();
    Q_INVOKABLE void CutFocusedText();
    Q_INVOKABLE void CopyFocusedText();
    Q_INVOKABLE void PasteFocusedText();

    // For tests and hosts that drive the toolbar: runs the command behind a toolbar key, as its
    // button would; an unknown key or a disabled command does nothing.
    void pressToolbarKey(const QString &key);
    // The screen's commands by object name ("mnuFileSave"), or nullptr.
    QAction *command(const QString &objectName) const;
    // Read-only access to what the screen knows, for tests.
    const DetailsState &state() const { return m_state; }
    // The group object on screen, or nullptr.
    ElementGroupObject *group() const;

signals:
    void Quit();
    void UpdateList(qint32 lngID);
    void NewItem(qint32 lngID);
    void RemoveItem(qint32 lngID);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // --- frame (ELGroupDetailsFrame.cpp)
    void buildFrame();
    void buildCommands();
    void connectParts();
    // Enables the commands that make no sense inside a modal window only outside one.
    void applyModalRule(bool modal);
    QObjectList namedControls() const;
    void closeScreen();
    void showHelp();

    // --- the record on screen (ELGroupDetails.cpp)
    // The field the editing aids act on: the one the user was in, with its selection given back.
    QWidget *editedField();
    void readSession(AppManager *appManager);
    void startFieldManagerAndSecurity();
    // Loads the group of the list group id; false when it could not be shown (messages given).
    bool loadListGroup();
    // The record change: the group of the list group id replaces the one on screen.
    void showRecord();
    void clearScreen();
    void fillFirstTab();
    void onTabShown(int tab);
    void refreshChildren();
    void saveFromMenu();
    // CanClose as the save prompt of a move: the screen stays open afterwards.
    bool promptBeforeMove();

    DetailsState m_state;
    std::unique_ptr<RecordObjects> m_objects;
    CommandTable *m_commands = nullptr;
    // The field the editing aids act on, also after a menu or the toolbar took the focus.
    FocusedField *m_focusedField = nullptr;
    RecordForm *m_form = nullptr;
    ChildListEditor *m_members = nullptr;
    ChildListEditor *m_references = nullptr;
    RecordNavigator *m_navigator = nullptr;
    WaitPanel *m_wait = nullptr;
    RecordWriter *m_writer = nullptr;
    RelatedScreens *m_related = nullptr;
    std::unique_ptr<TextFieldSetup> m_textFields;
    bool m_inTabChange = false;
};

// Makes the record screen creatable by class name ("TALV_ELGroup.ELGroupDetails"); harmless twice.
void RegisterDetailsScreen();
void UnregisterDetailsScreen();

} // namespace talv::details

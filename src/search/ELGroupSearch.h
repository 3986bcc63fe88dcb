#pragma once

#include "SearchSql.h"
#include "UserOptions.h"

#include "contracts/Names.h"
#include "platform/Recordset.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QTabWidget;
class QToolBar;

namespace talv {
class AppManager;
class CommandTable;
class FlexGrid;
class FocusedField;
class frmModalDetail;
class ViewCollection;
class WinMan;
} // namespace talv

namespace talv::search {

// The collection a caller hands to SetSelectedItems: the ids of the picked groups, as text, in
// selection order. Shared, so the caller reads what the screen left in it.
using SelectedIds = std::shared_ptr<QStringList>;

// The "Find Element Group" screen: group criteria, the search through the host, the results grid.
// Created by class name (names::SearchClass) and initialised with InitSearch by a host
// window or InitModalSearch by a modal search window; the public operations are invokable by name.
// Every operation and handler reports its own errors; nothing is thrown to the host.
class ELGroupSearch : public QWidget
{
    Q_OBJECT
    // The list that the working-list commands write into; the host may read or replace it.
    Q_PROPERTY(talv::RecordsetPtr mrsView MEMBER mrsView)
    Q_PROPERTY(QWidget *ActiveControl READ ActiveControl)

public:
    static inline const QString Caption = QStringLiteral("Find Element Group");

    explicit ELGroupSearch(QWidget *parent = nullptr);
    ~ELGroupSearch() override;

    // The child control that has the focus, or nullptr.
    QWidget *ActiveControl() const;

    Q_INVOKABLE void InitSearch(const talv::RecordsetPtr &rsTemp, talv::AppManager *appManager, qint32 viewType,
                                talv::WinMan *winMan, talv::ViewCollection *views, const QString &extraInfo);
    // The optional arguments are overloads so that a modal window can pass one, two or three;
    // rsTemp is by reference so that the window hands its caller whatever the screen left in it.
    Q_INVOKABLE void InitModalSearch(talv::AppManager *appManager);
    Q_INVOKABLE void InitModalSearch(talv::AppManager *appManager, talv::RecordsetPtr &rsTemp);
    Q_INVOKABLE void InitModalSearch(talv::AppManager *appManager, talv::RecordsetPtr &rsTemp,
                                     const QString &extraInfo);
    Q_INVOKABLE bool CanClose();
    Q_INVOKABLE void Deactivate();
    Q_INVOKABLE void SelectedItems();
    Q_INVOKABLE void SetSingleSelect();
    Q_INVOKABLE void UseSelectedRecordset(bool useRecordset);
    Q_INVOKABLE void SetSelectedItems(const talv::search::SelectedIds &selectedItems);

signals:
    // Asks the host or the modal window to close the screen.
    void Quit();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    // --- frame (ELGroupSearchFrame.cpp)
    void buildFrame();
    QMenuBar *buildMenus();
    void connectButtons();
    // The window around the screen: a sub-window of the host, a modal window, or the screen itself.
    QWidget *parentWindow() const;
    // Sends Ctrl+X, Ctrl+C or Ctrl+V to the text box the user was in, if they were in one.
    void EditKeystroke(const QString &keys);
    void showHelp();
    void showAbout();
    void closeScreen();
    void readSession(talv::AppManager *appManager);
    void applySecurity();

    // --- criteria and query (ELGroupSearchCriteria.cpp)
    void LoadGroupTypes();
    void ClearCriteria();
    void NewSearch();
    // What New Search does, raising its failure to the caller.
    void resetSearch();
    bool CriteriaEntered() const;
    SearchCriteria criteria() const;
    // The statement, or the empty text after telling the user that the id is not a number.
    QString BuildSearchSQL();
    void FindNow();
    void ViewSQL();
    void bindResults();

    // --- results and working-list commands (ELGroupSearchResults.cpp)
    void updateOkButton();
    void onResultsDoubleClick();
    void SelectAll();
    void SelectNone();
    void AddToList();
    void ReplaceList();
    void OpenDetails();
    void NewGroup();
    void Confirm();
    void CancelSearch();
    void requireList() const;
    bool hasResults() const;
    // The group of the first selected row, or of the current row when none is selected.
    qint32 chosenGroupId() const;
    // Raises when the record screen cannot be started, so that the user is told.
    std::unique_ptr<talv::frmModalDetail> openModalDetails();
    qint32 groupsView() const;
    // Merges the saved new group into the results as the last, current row.
    void showNewGroup(qint32 newId);

    // --- search settings (ELGroupSearchSettings.cpp)
    QString BuildPropertiesXml() const;
    void ApplyPropertiesXml(const QString &xml);
    QString BuildStateXml() const;
    void ApplyStateXml(const QString &xml);
    void LoadDefaultProperties();
    void LoadDefaultCriteria();
    void SaveDefaultProperties();
    void SaveDefaultCriteria();
    void OpenUserSearch();
    void SaveUserSearch(bool saveAs);
    void DeleteUserSearch();
    // The name picked in the saved-search dialog (mode 1 save, 2 open, 3 delete), or the empty text.
    QString PickUserSearch(const QString &category, qint32 mode);
    // The user's options on the server the screen was started with.
    OptionOwner optionOwner() const;
    // Applies the stored option of a default category, if the user has one.
    void loadDefault(const QString &category, void (ELGroupSearch::*apply)(const QString &));
    // Stores a default document, replacing the user's stored one; raises talv::Error on failure.
    void saveDefault(const QString &category, const QString &document);

    // --- state
    RecordsetPtr mrsView;
    RecordsetPtr rsResults;
    qint32 lngServerType = 0;
    QString strServerName;
    QString strUserName;
    QString strSearchName;
    QString strExtraInfo;
    qint32 lngUserID = 0;
    qint32 lngViewType = 0;
    talv::WinMan *objWinMan = nullptr;
    talv::AppManager *objAppManager = nullptr;
    talv::ViewCollection *colViews = nullptr;
    SelectedIds colSelectedItems;
    bool blnUseRecordset = false;
    bool blnModal = false;

    // --- controls
    talv::CommandTable *m_commands = nullptr;
    talv::FocusedField *m_focusedField = nullptr;
    QTabWidget *tabElementGroup = nullptr;
    QLineEdit *txtGroupID = nullptr;
    QLineEdit *txtGroupName = nullptr;
    QComboBox *cboGroupNameComparison = nullptr;
    QComboBox *cboElementGroupType = nullptr;
    QPushButton *cmdFindNow = nullptr;
    QPushButton *cmdNew = nullptr;
    QPushButton *cmdDetails = nullptr;
    QPushButton *cmdAddToList = nullptr;
    QPushButton *cmdReplaceList = nullptr;
    QPushButton *cmdSelectAll = nullptr;
    QPushButton *cmdDeselectAll = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
    talv::FlexGrid *fgResults = nullptr;
    QLabel *lblRecordsReturned = nullptr;
    QToolBar *tbElgroupSearch = nullptr;
    QAction *mnuOptionsSaveDefault = nullptr;
};

} // namespace talv::search

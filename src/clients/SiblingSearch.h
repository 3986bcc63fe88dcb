#pragma once

#include "SiblingSearchSql.h"

#include "platform/Recordset.h"
#include "search/ELGroupSearch.h"

#include <QStringList>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace talv {
class AppManager;
class FlexGrid;
} // namespace talv

namespace talv::clients {

// A search screen of the record kinds beside element groups (elements, references), shown in a
// modal search window: the user types criteria, finds rows of the kind's working-list view and
// picks some; OK hands the picked rows back in the caller's set, in that view's layout. One
// class, configured per kind. Every operation reports its own errors.
class SiblingSearch : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QWidget *ActiveControl READ ActiveControl)

public:
    struct Config {
        QString objectName; // "ElementSearch"
        SearchStatement statement;
        QString kindCaption; // the label of the kind list; unused without kinds
        QStringList kinds;   // the kinds offered, as the kind column holds them
    };

    explicit SiblingSearch(Config config, QWidget *parent = nullptr);
    ~SiblingSearch() override;

    QWidget *ActiveControl() const;

    // `rsTemp` receives the picked rows on OK when UseSelectedRecordset(true) was called; the
    // extra text may name the kind to search ("Global, Plant"), which then cannot be changed.
    Q_INVOKABLE void InitModalSearch(talv::AppManager *appManager);
    Q_INVOKABLE void InitModalSearch(talv::AppManager *appManager, talv::RecordsetPtr &rsTemp);
    Q_INVOKABLE void InitModalSearch(talv::AppManager *appManager, talv::RecordsetPtr &rsTemp,
                                     const QString &extraInfo);
    Q_INVOKABLE bool CanClose();
    Q_INVOKABLE void Deactivate();
    Q_INVOKABLE void UseSelectedRecordset(bool useRecordset);
    // The ids of the picked rows, as text, in selection order, on OK.
    Q_INVOKABLE void SetSelectedItems(const talv::search::SelectedIds &selectedItems);
    Q_INVOKABLE void SetSingleSelect();
    Q_INVOKABLE void SetMutliSelect(bool multiSelect);
    Q_INVOKABLE bool GetMultiSelect() const;
    // Name type n is the n-th text criterion (0 first). With `enabled` false the user searches by
    // that one only; a keyword is typed into it.
    Q_INVOKABLE void SetNameType(qint16 nameType, bool enabled);
    Q_INVOKABLE void SetNameType(qint16 nameType, bool enabled, const QString &classLevelKeyword);
    Q_INVOKABLE void SetIdEnabled(bool enabled);

    FlexGrid *results() const { return fgResults; }

signals:
    void Quit();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildFrame();
    void FindNow();
    void Confirm();
    void CancelSearch();
    void SelectAll();
    void SelectNone();
    void updateOkButton();
    void SelectedItems();
    QString chosenKind() const;
    QList<QLineEdit *> nameFields() const;

    Config m_config;
    talv::AppManager *objAppManager = nullptr;
    RecordsetPtr mrsView;
    RecordsetPtr rsResults;
    search::SelectedIds colSelectedItems;
    bool blnUseRecordset = false;
    bool m_multiSelect = true;

    QList<QLineEdit *> m_criteria; // one per criterion, in order
    QComboBox *cboKind = nullptr;
    QPushButton *cmdFindNow = nullptr;
    QPushButton *cmdSelectAll = nullptr;
    QPushButton *cmdDeselectAll = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
    FlexGrid *fgResults = nullptr;
    QLabel *lblRecordsReturned = nullptr;
};

} // namespace talv::clients

#pragma once

#include "UserOptions.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace talv {
class AppManager;
} // namespace talv

namespace talv::search {

// The small modal dialog in which the user names a search to save, or picks a stored one to open
// or delete, among the user's options of one category. Init, show modally, then IsCanceled and
// GetSearchName.
class frmUserSearchSaveOpen : public QDialog
{
    Q_OBJECT

public:
    enum Mode : qint32 { SaveMode = 1, OpenMode = 2, DeleteMode = 3 };

    explicit frmUserSearchSaveOpen(QWidget *parent = nullptr);

    Q_INVOKABLE bool Init(const QString &strCategoryName, qint32 enMode, talv::AppManager *objAppManager);
    Q_INVOKABLE bool IsCanceled() const { return blnCanceled; }
    // As typed or picked: blanks at either end are part of a name.
    Q_INVOKABLE QString GetSearchName() const;

public slots:
    // Escape and the window's close box end here too: both count as giving no name.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // What the dialog does before it is first shown: captions by mode and the list of names.
    void load();
    void applyMode();
    void fillList();
    void onListClick();
    void onListDoubleClick();
    void onNameChanged();
    void onSave();
    bool picksFromList() const { return enMode == OpenMode || enMode == DeleteMode; }

    bool blnCanceled = false;
    bool m_loaded = false;
    qint32 enMode = 0;
    QString strCategoryName;
    OptionOwner m_owner;

    QLabel *Label1;
    QListWidget *lstUserSearches;
    QLabel *lblSearchName;
    QLineEdit *txtSearchName;
    QPushButton *cmdSave;
    QPushButton *cmdCancel;
};

} // namespace talv::search

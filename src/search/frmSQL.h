#pragma once

#include <QDialog>

class QAction;
class QPlainTextEdit;
class QPushButton;

namespace talv::search {

// "View SQL": shows a statement, locked, so the user can read and copy it.
class frmSQL : public QDialog
{
    Q_OBJECT

public:
    explicit frmSQL(QWidget *parent = nullptr);

    QPlainTextEdit *txtSQL() const { return m_txtSQL; }

private:
    QPlainTextEdit *m_txtSQL;
    QPushButton *m_cmdOK;
    QAction *m_mnuEditCopy;
};

} // namespace talv::search

#pragma once

#include "ModalHostWindow.h"

namespace talv {

// Shows a details control (such as ELGroupDetails) modally to show or create one record. The
// caller creates the window, calls InitDialog, then LoadData or NewData, and shows it modally; the
// control's "quit" hides the window and the caller releases it.
class frmModalDetail : public ModalHostWindow
{
    Q_OBJECT

public:
    static inline const QString ControlName = QStringLiteral("ModalDetail");
    static inline const QString DefaultCaption = QStringLiteral("Modal Details");

    explicit frmModalDetail(QWidget *parent = nullptr);

    // Creates the control of `className` and calls its InitModalDetails(appManager, extraInfo);
    // false when either fails (nothing is shown), keeping what was set up until then.
    bool InitDialog(const QString &className, AppManager *appManager, const QString &extraInfo);

    // The control's members of the same names; errors of the control pass to the caller.
    void LoadData(qint32 recordId);
    qint32 NewData(qint32 recordId);
};

} // namespace talv

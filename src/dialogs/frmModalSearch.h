#pragma once

#include "ModalHostWindow.h"

#include "platform/Recordset.h"

namespace talv {

// Shows a search control (ELGroupSearch or a sibling search screen) modally. The caller creates the
// window, calls InitDialog with its recordset, makes its setup calls, shows it modally and reads the
// recordset afterwards; the control's "quit" unloads the window.
class frmModalSearch : public ModalHostWindow
{
    Q_OBJECT

public:
    static inline const QString ControlName = QStringLiteral("ModalSearch");
    static inline const QString DefaultCaption = QStringLiteral("Search");

    explicit frmModalSearch(QWidget *parent = nullptr);

    // Creates the control of `className` and calls its InitModalSearch(appManager, recordset,
    // extraInfo); `recordset` then holds whatever the control left in it. A failure shows its
    // description and answers false, keeping what was set up until then.
    bool InitDialog(const QString &className, AppManager *appManager, RecordsetPtr &recordset,
                    const QString &extraInfo);

    // The control's members of the same names, arguments in the same order; errors of the control
    // pass to the caller, except for SetSingleSelect.
    void UseSelectedRecordset(bool useRecordset);
    // `selectedItems` holds the caller's collection (of whatever type the control takes) and
    // afterwards the collection as the control left it.
    void SetSelectedItems(QVariant &selectedItems);
    void SetSingleSelect();
    void SetMutliSelect(bool multiSelect);
    // The control's query member is spelled "GetMultiSelect".
    bool GetMutliSelect();
    // An empty keyword is left out: the control gets two arguments, not an empty third one.
    void SetNameType(qint16 nameType, bool enabled, const QString &classLevelKeyword = {});
    void SetIdEnabled(bool enabled);
};

} // namespace talv

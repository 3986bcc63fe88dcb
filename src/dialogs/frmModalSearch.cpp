#include "frmModalSearch.h"

#include "contracts/AppManager.h"
#include "platform/Error.h"
#include "platform/UiServices.h"

namespace talv {

frmModalSearch::frmModalSearch(QWidget *parent)
    : ModalHostWindow(Rules{ControlName, /*askOnlyWhenVisible=*/false, /*quitHides=*/false,
                            /*deactivatesOnUnload=*/false},
                      DefaultCaption, parent)
{}

bool frmModalSearch::InitDialog(const QString &className, AppManager *appManager, RecordsetPtr &recordset,
                                const QString &extraInfo)
{
    try {
        keepAppManager(appManager);
        addHostedControl(className);
        sizeToHostedControl();
        letEventsRun();
        QVariantList args{QVariant::fromValue(appManager), QVariant::fromValue(recordset), extraInfo};
        callHostedByRef(QStringLiteral("InitModalSearch"), args);
        recordset = args.at(1).value<RecordsetPtr>();
        setUpHelp();
        return true;
    } catch (const std::exception &e) {
        UiServices::current().messageBox(describe(e));
        return false;
    }
}

void frmModalSearch::UseSelectedRecordset(bool useRecordset)
{
    callHosted(QStringLiteral("UseSelectedRecordset"), {useRecordset});
}

void frmModalSearch::SetSelectedItems(QVariant &selectedItems)
{
    QVariantList args{selectedItems};
    callHostedByRef(QStringLiteral("SetSelectedItems"), args);
    selectedItems = args.at(0);
}

void frmModalSearch::SetSingleSelect()
{
    try {
        callHosted(QStringLiteral("SetSingleSelect"));
    } catch (const std::exception &) {
        // A search without single selection stays as it is; the caller has nothing to do about it.
    }
}

void frmModalSearch::SetMutliSelect(bool multiSelect)
{
    callHosted(QStringLiteral("SetMutliSelect"), {multiSelect});
}

bool frmModalSearch::GetMutliSelect()
{
    return callHosted(QStringLiteral("GetMultiSelect")).toBool();
}

void frmModalSearch::SetNameType(qint16 nameType, bool enabled, const QString &classLevelKeyword)
{
    QVariantList args{QVariant::fromValue(nameType), enabled};
    if (!classLevelKeyword.isEmpty())
        args.append(classLevelKeyword);
    callHosted(QStringLiteral("SetNameType"), args);
}

void frmModalSearch::SetIdEnabled(bool enabled)
{
    callHosted(QStringLiteral("SetIdEnabled"), {enabled});
}

} // namespace talv

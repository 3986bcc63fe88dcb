#include "frmModalSearch.h"

#include "contracts/AppManager.h"
#include "contracts/Names.h"
#include "platform/Error.h"
#include "platform/FailureReport.h"

namespace talv {

frmModalSearch::frmModalSearch(QWidget *parent)
    : ModalHostWindow(Rules{ControlName, /*askOnlyWhenVisible=*/false, /*quitHides=*/false,
                            /*deactivatesOnUnload=*/false},
                      DefaultCaption, parent)
{}

bool frmModalSearch::InitDialog(const QString &className, AppManager *appManager, RecordsetPtr &recordset,
                                const QString &extraInfo)
{
    // The description alone, in a plain box: the caller's screen words its own failure.
    return runReported(FailureText{.prefix = {}, .icon = MsgIcon::None}, [&] {
        keepAppManager(appManager);
        addHostedControl(className);
        sizeToHostedControl();
        letEventsRun();
        QVariantList args{QVariant::fromValue(appManager), QVariant::fromValue(recordset), extraInfo};
        callHostedByRef(names::member::InitModalSearch, args);
        recordset = args.at(1).value<RecordsetPtr>();
    });
}

void frmModalSearch::UseSelectedRecordset(bool useRecordset)
{
    callHosted(names::member::UseSelectedRecordset, {useRecordset});
}

void frmModalSearch::SetSelectedItems(QVariant &selectedItems)
{
    QVariantList args{selectedItems};
    callHostedByRef(names::member::SetSelectedItems, args);
    selectedItems = args.at(0);
}

void frmModalSearch::SetSingleSelect()
{
    try {
        callHosted(names::member::SetSingleSelect);
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

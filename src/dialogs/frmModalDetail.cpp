#include "frmModalDetail.h"

#include "contracts/AppManager.h"
#include "contracts/Names.h"
#include "platform/FailureReport.h"

namespace talv {

frmModalDetail::frmModalDetail(QWidget *parent)
    : ModalHostWindow(Rules{ControlName, /*askOnlyWhenVisible=*/true, /*quitHides=*/true,
                            /*deactivatesOnUnload=*/true},
                      DefaultCaption, parent)
{}

bool frmModalDetail::InitDialog(const QString &className, AppManager *appManager, const QString &extraInfo)
{
    // The caller tells the user; this window says nothing of its own.
    return runReported(
        [&] {
            keepAppManager(appManager);
            addHostedControl(className);
            letEventsRun();
            sizeToHostedControl();
            callHosted(names::member::InitModalDetails, {QVariant::fromValue(appManager), extraInfo});
        },
        [](const QString &) {});
}

void frmModalDetail::LoadData(qint32 recordId)
{
    callHosted(names::member::LoadData, {recordId});
}

qint32 frmModalDetail::NewData(qint32 recordId)
{
    return callHosted(names::member::NewData, {recordId}).toInt();
}

} // namespace talv

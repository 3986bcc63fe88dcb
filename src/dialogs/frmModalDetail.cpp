#include "frmModalDetail.h"

#include "contracts/AppManager.h"

namespace talv {

frmModalDetail::frmModalDetail(QWidget *parent)
    : ModalHostWindow(Rules{ControlName, /*askOnlyWhenVisible=*/true, /*quitHides=*/true,
                            /*deactivatesOnUnload=*/true},
                      DefaultCaption, parent)
{}

bool frmModalDetail::InitDialog(const QString &className, AppManager *appManager, const QString &extraInfo)
{
    try {
        keepAppManager(appManager);
        addHostedControl(className);
        letEventsRun();
        sizeToHostedControl();
        callHosted(QStringLiteral("InitModalDetails"), {QVariant::fromValue(appManager), extraInfo});
        setUpHelp();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

void frmModalDetail::LoadData(qint32 recordId)
{
    callHosted(QStringLiteral("LoadData"), {recordId});
}

qint32 frmModalDetail::NewData(qint32 recordId)
{
    return callHosted(QStringLiteral("NewData"), {recordId}).toInt();
}

} // namespace talv

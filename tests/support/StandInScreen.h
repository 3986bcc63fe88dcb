#pragma once

#include "contracts/AppManager.h"
#include "contracts/ViewCollection.h"
#include "contracts/WinMan.h"
#include "platform/Error.h"
#include "platform/Recordset.h"

#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>

namespace talv::test {

// Stands in for the group record screen, which is not part of this library: the members the hosts
// call it by, its events as signals. It logs what it was asked in a log that outlives the control,
// so that a closed screen can still be checked, and answers as the test sets it up.
class StandInScreen : public QWidget
{
    Q_OBJECT
public:
    explicit StandInScreen(QWidget *parent = nullptr) : QWidget(parent)
    {
        setObjectName(QStringLiteral("ELGroupDetails"));
        field->setObjectName(QStringLiteral("ctrGroupName"));
        last = this;
    }

    static void reset()
    {
        log.clear();
        last = nullptr;
        failInit = false;
        allowClose = true;
        saveNew = nullptr;
    }

    static inline QStringList log;
    static inline QPointer<StandInScreen> last;
    static inline bool failInit = false;
    static inline bool allowClose = true;
    static inline std::function<qint32()> saveNew; // the id NewData answers; 0 without it

    QLineEdit *field = new QLineEdit(this);
    RecordsetPtr list;
    AppManager *appManager = nullptr;
    qint32 view = 0;
    qint32 loaded = 0;
    qint32 workingListTypeAtInit = 0;
    QStringList notifications;

    Q_INVOKABLE void InitSearch(talv::RecordsetPtr &rsTemp, talv::AppManager *objAppManager, qint32 &, talv::WinMan *&,
                                talv::ViewCollection *&, QString &)
    {
        list = rsTemp;
        appManager = objAppManager;
    }
    Q_INVOKABLE void InitDetails(talv::RecordsetPtr rsView, talv::AppManager *objAppManager, qint32 viewId,
                                 talv::WinMan *winMan, talv::ViewCollection *colViews, const QString &)
    {
        log << QStringLiteral("InitDetails %1").arg(viewId);
        list = rsView;
        appManager = objAppManager;
        view = viewId;
        workingListTypeAtInit = winMan ? winMan->WorkingListType() : 0;
        if (!colViews || failInit)
            throw Error(Error::Generic, QStringLiteral("The details could not start"));
    }
    Q_INVOKABLE void InitModalDetails(talv::AppManager *, const QString &) {}
    Q_INVOKABLE void LoadData(qint32 lngRecordID)
    {
        log << QStringLiteral("LoadData %1").arg(lngRecordID);
        loaded = lngRecordID;
    }
    Q_INVOKABLE qint32 NewData(qint32 lngIDLocal)
    {
        log << QStringLiteral("NewData %1").arg(lngIDLocal);
        return saveNew ? saveNew() : 0;
    }
    Q_INVOKABLE bool CanClose()
    {
        log << QStringLiteral("CanClose");
        return allowClose;
    }
    Q_INVOKABLE void Deactivate() { log << QStringLiteral("Deactivate"); }
    Q_INVOKABLE void NotifyListChanges(const QString &strEvent) { notifications << strEvent; }

signals:
    void Quit();
    void UpdateList(qint32 lngID);
    void NewItem(qint32 lngID);
    void RemoveItem(qint32 lngID);
};

} // namespace talv::test

#pragma once

#include <QObject>
#include <QObjectList>
#include <QString>
#include <QVariant>

class QWidget;

namespace talv {

class AppManager;

// The record screen's field manager ("TALV_FieldManager.FieldManager"): attached to a screen's
// child controls, it keeps values of its own for each record (extra fields a site configures),
// loads and saves them by record id, and says whether anything it watches has changed. Created by
// class name, so a host supplies its own. Errors raise talv::Error unless a flag is answered.
class FieldManager : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Once, after creation.
    virtual void Init(qint32 userId, AppManager *appManager) = 0;
    // Once, after Init: `children` are the screen's controls; `reserved` is passed empty.
    virtual void Attach(QWidget *control, const QString &controlName, const QObjectList &children,
                        const QVariant &reserved) = 0;
    // After every record load and new record; the manager may change `recordId`.
    virtual void LoadRecord(QWidget *control, const QString &controlName, const QObjectList &children,
                            qint32 &recordId) = 0;
    // True when anything it watches changed since the last LoadRecord or AcceptChanges.
    virtual bool IsDirty() const = 0;
    // Writes its values for the record; answers true on success.
    virtual bool SaveRecord(QWidget *control, const QString &controlName, const QObjectList &children,
                            qint32 &recordId) = 0;
    // After a successful SaveRecord: what is shown becomes the unchanged state.
    virtual void AcceptChanges() = 0;
};

} // namespace talv

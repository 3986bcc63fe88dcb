#pragma once

#include "ServerDirectory.h"
#include "contracts/FieldManager.h"

#include <QMetaProperty>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <vector>

namespace talv::clients {

// "TALV_FieldManager.FieldManager", the reference field manager. A site lists the extra fields of
// a screen in screen_extra_field (the screen's name as the screen gives it to Attach, and the
// object name of one of its child controls); the manager shows each field's value for the record
// on screen in the control's user property (a line edit's text, a combo box's current text),
// watches it, and stores it per record id in screen_extra_value. With nothing listed for the
// screen it watches nothing: IsDirty answers false and SaveRecord writes nothing.
class ExtraFieldManager final : public FieldManager
{
    Q_OBJECT
public:
    explicit ExtraFieldManager(QObject *parent = nullptr);
    ~ExtraFieldManager() override;

    void Init(qint32 userId, AppManager *appManager) override;
    void Attach(QWidget *control, const QString &controlName, const QObjectList &children,
                const QVariant &reserved) override;
    void LoadRecord(QWidget *control, const QString &controlName, const QObjectList &children,
                    qint32 &recordId) override;
    bool IsDirty() const override;
    // Answers false, with the reason in LastError(), when the database refuses.
    bool SaveRecord(QWidget *control, const QString &controlName, const QObjectList &children,
                    qint32 &recordId) override;
    void AcceptChanges() override;

    QString LastError() const { return m_lastError; }
    // The controls watched, by object name.
    QStringList WatchedFields() const;

private:
    struct Field {
        QString controlName;
        QPointer<QObject> control;
        QMetaProperty property;
        QString loaded; // the value shown at the last load or accept
    };
    QString shown(const Field &field) const;
    ServerConnection server() const;

    QString m_serverName;
    QString m_formName;
    std::vector<Field> m_fields;
    QString m_lastError;
};

} // namespace talv::clients

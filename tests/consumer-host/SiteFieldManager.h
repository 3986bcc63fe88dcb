#pragma once

#include "contracts/FieldManager.h"

#include <QList>

namespace consumer {

// This host's own field manager, registered under the name the record screen creates
// ("TALV_FieldManager.FieldManager") in place of the reference one. The site keeps no extra
// fields; it notes the records it was asked to load, so the run can tell that the screen used it.
class SiteFieldManager final : public talv::FieldManager
{
    Q_OBJECT
public:
    using talv::FieldManager::FieldManager;

    // Every record id LoadRecord saw, by every instance: the screen owns the instances.
    static QList<qint32> loadedRecords;

    void Init(qint32, talv::AppManager *) override {}
    void Attach(QWidget *, const QString &, const QObjectList &, const QVariant &) override {}
    void LoadRecord(QWidget *, const QString &, const QObjectList &, qint32 &recordId) override
    {
        loadedRecords.append(recordId);
    }
    bool IsDirty() const override { return false; }
    bool SaveRecord(QWidget *, const QString &, const QObjectList &, qint32 &) override { return true; }
    void AcceptChanges() override {}
};

} // namespace consumer

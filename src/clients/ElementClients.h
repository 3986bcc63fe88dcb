#pragma once

#include "BusinessComponent.h"
#include "TableClass.h"
#include "contracts/RecordObject.h"

#include <memory>

namespace talv::clients {

// A record object that stands for one row of a table class and is only read: the element
// clients below. Open, LoadByID, ID and the properties by name; setProperty raises, since
// nothing here is saved.
class TableRecordClient final : public RecordObject
{
    Q_OBJECT
public:
    TableRecordClient(BusinessClassPtr recordClass, QObject *parent = nullptr);
    ~TableRecordClient() override;

    QVariant property(const QString &name) const override;
    void setProperty(const QString &name, const QVariant &value) override;
    bool IsNew() const override { return m_row->IsNew(); }
    bool IsChanged() const override { return false; }
    void Refresh() override;

    bool Open(const QString &serverName, qint32 serverType) override;
    bool LoadByID(qint32 id) override;
    qint32 ID() const override;
    void Close() override;

private:
    BusinessClassPtr m_class;
    std::unique_ptr<BusinessComponent> m_row;
};

// "TALV_ElementClient.CElementGlobal": a global element (element_global with its scientific name).
// Properties: ElementGlobalID (key), GNameID, ScientificName, CommonName, ElementCategory, GRank,
// RecCreateUser, RecCreateDate, RecLastModUser, RecLastModDate.
std::shared_ptr<const TableClass> elementGlobalClass();

// "TALV_ElementClient.CElementTracking": the global tracking of an element, keyed by the record id
// of the element lists ("ETK"); ElementGlobalID names the global element it tracks. This database
// tracks every global element under its own id.
std::shared_ptr<const TableClass> elementTrackingClass();

// Registers both element clients by class name.
void registerElementClients();
void unregisterElementClients();

} // namespace talv::clients

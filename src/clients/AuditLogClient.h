#pragma once

#include "TableClass.h"

namespace talv::clients {

// "TALV_AuditLogClient.cAuditLog": one column change of the audit trail, so that a user can note
// why it was made. Only the note is ever written: the trail itself is filed by the saves that
// change records (AuditTrail), and a change cannot be added or removed here.
//
// Properties (table audit_log_column): AuditLogColumnId (key), AuditLogId, ColumnName, OldValue,
// NewValue (read-only), Comments (the note, any text as typed).
// Criteria of LoadWhere: "AUDIT_LOG_ID" (the audit row's id): its column changes; "Empty" loads
// nothing. A single change is read by LoadByID with its AuditLogColumnId.
class AuditLogClass final : public TableClass
{
public:
    static const QString ClassName;
    enum Property { AuditLogColumnId, AuditLogId, ColumnName, OldValue, NewValue, Comments };

    AuditLogClass();

    QList<QVariantList> load(const ServerConnection &server, const LoadRequest &request) const override;
    void insert(SaveTransaction &tx, BusinessComponent &component) const override;
    void remove(SaveTransaction &tx, const BusinessComponent &component) const override;
};

} // namespace talv::clients

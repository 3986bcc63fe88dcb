#pragma once

#include "clients/AuditTrail.h"

#include <QSqlDatabase>
#include <QString>

namespace talv::host {

using AuditTrail = clients::AuditTrail;
using Author = clients::AuditTrail::Author;

// Deletes an element group with its memberships and citations in one transaction and files an
// audit row (action D, with the old values) for each removed row under the group's trail.
// Raises talv::Error when the group does not exist or the database refuses; the database is then
// exactly as before.
void deleteElementGroup(const QSqlDatabase &db, const AuditTrail &audit, qint32 groupId, const Author &author);

// The columns that a copy carries from one group to another: what describes the group's
// content. Name, type, owner, universal key and the record stamps stay the target's own.
QStringList copiedGroupColumns();

// Copies the source group's content into the target in one transaction: the columns of
// copiedGroupColumns() are replaced, and the source's members and references that the target
// lacks are appended after the target's own, in the source's order. Every written row is audited
// under the target's trail. Raises talv::Error when either group is missing, both are the same,
// or the database refuses; the database is then exactly as before.
void copyElementGroup(const QSqlDatabase &db, const AuditTrail &audit, qint32 sourceId, qint32 targetId,
                      const Author &author);

} // namespace talv::host

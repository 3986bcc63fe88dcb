#pragma once

#include "platform/Recordset.h"

#include <QString>

namespace talv {

// The host's window manager: opens record screens in the host's own windows.
class WinMan
{
public:
    virtual ~WinMan() = default;

    // View numbers are positions in the view collection (see FindViewIndex); `text` is a
    // caption, empty, or "SINGLE_RECORD_VIEW". `list` is the set of records to browse, if any.
    // Overrides should not repeat the default: it binds to the static type.
    virtual void OpenDetails(qint32 viewNumber, qint32 targetViewNumber, qint32 recordId, const QString &text,
                             const RecordsetPtr &list = {}) = 0;
    virtual void NewDetails(qint32 viewNumber, qint32 targetViewNumber, const QString &caption) = 0;
    // A position in the view collection: the view whose list the host's working list holds.
    virtual qint32 WorkingListType() = 0;
};

} // namespace talv

Q_DECLARE_METATYPE(talv::WinMan *)

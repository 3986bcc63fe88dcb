#include "ViewCollection.h"

namespace talv {

qint32 FindViewIndex(const ViewCollection &colViews, const QString &code)
{
    const qint32 count = colViews.Count();
    for (qint32 i = 1; i <= count; ++i) {
        if (colViews.Item(i).Item(QStringLiteral("WORKING_LIST_TYPE")).toString() == code)
            return i;
    }
    return -1;
}

} // namespace talv

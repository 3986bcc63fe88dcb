#include "SiteFieldManager.h"

namespace consumer {

QList<qint32> SiteFieldManager::loadedRecords;

} // namespace consumer

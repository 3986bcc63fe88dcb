// The search's stored settings: default properties and criteria, and the user's named searches.
// None of them is built yet; the frame already calls them where they belong, so that they start
// to act without touching the callers.
#include "ELGroupSearch.h"

namespace talv::search {

void ELGroupSearch::LoadDefaultProperties()
{
    // Not built yet: restores the Save Settings as Default check mark from the user's options.
}

void ELGroupSearch::LoadDefaultCriteria()
{
    // Not built yet: restores the user's default criteria.
}

void ELGroupSearch::SaveDefaultProperties()
{
    // Not built yet: stores the Save Settings as Default check mark.
}

void ELGroupSearch::SaveDefaultCriteria()
{
    // Not built yet: stores the criteria as the user's default.
}

void ELGroupSearch::OpenUserSearch()
{
    // Not built yet: picks a named search and applies its criteria.
}

void ELGroupSearch::SaveUserSearch(bool saveAs)
{
    // Not built yet: stores the criteria under the remembered name, or a new one with saveAs.
    Q_UNUSED(saveAs);
}

void ELGroupSearch::DeleteUserSearch()
{
    // Not built yet: picks a named search and deletes it.
}

} // namespace talv::search

#pragma once

#include "SiblingSearch.h"

namespace talv::clients {

// The element search: scientific name, common name and the kind of element.
SiblingSearch::Config elementSearchConfig();
// The reference search: code and words of the citation.
SiblingSearch::Config referenceSearchConfig();

// Registers both screens under their class names (names::ElementSearchClass,
// names::ReferenceSearchClass), and removes them again.
void registerSiblingSearches();
void unregisterSiblingSearches();

} // namespace talv::clients

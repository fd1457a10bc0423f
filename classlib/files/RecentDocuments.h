// The desktop's list of recently used documents (the freedesktop
// recently-used.xbel under $XDG_DATA_HOME).
#pragma once

#include <string>

namespace quorvantell {

// Adds an absolute path to the list once; false when the list could not be
// read or written. The list is rewritten through a temporary file, so a
// failure never damages it.
bool AddRecentDocument(const std::string& absolutePath);

// The list's location.
std::string RecentDocumentsPath();

}  // namespace quorvantell

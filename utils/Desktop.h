// The desktop's shared services for the ordinal table: the program's web
// pages in the user's browser, and the freedesktop MIME and application
// databases that file associations live in.
#pragma once

#include <cstdint>

namespace quorvantell::exports {

// Page 0 home, 2 community, 3 help and FAQ, 4 contact, 5 bug reports; other
// numbers open nothing.
void OpenWebPage(int32_t page);
// Rebuilds the MIME and desktop-entry caches under $XDG_DATA_HOME (default
// ~/.local/share) with update-mime-database and update-desktop-database,
// where those tools are installed; returns when they are done.
void NotifyAssocChanged();

}  // namespace quorvantell::exports

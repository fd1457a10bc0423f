// DesktopApplications: the applications installed for the user that open a
// MIME type, found as the freedesktop specifications say: desktop entries in
// the applications/ folders of XDG_DATA_HOME and then XDG_DATA_DIRS (the
// first file of a desktop file id wins, so a user's entry hides or deletes
// the system's), opening the types their MimeType= lines or their folder's
// mimeinfo.cache name.
#pragma once

#include "classlib/files/DesktopEntry.h"

#include <string>
#include <vector>

namespace quorvantell {

class DesktopApplications {
public:
    // The usable applications that open any of the types: those of the
    // first type first, by name, each application once.
    static std::vector<DesktopEntry> For(const std::vector<std::string>& mimeTypes);
};

}  // namespace quorvantell

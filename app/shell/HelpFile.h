// The help page: where the program finds it and how "View help..." opens it.
// The page lies in help/ beside the program in the build tree and in the
// share folder of an installed tree; both are found from the running
// executable's own path, so a moved tree still finds its page.
#pragma once

#include <string>

class QWidget;

namespace velloran {

// The help page's full path: beside the program when it is there, else in
// the installed location; the path beside the program when it is in
// neither, so the caller's missing-page message still names a place.
std::string HelpFilePath();

// Opens the page in the desktop's browser. A missing page is an error box
// "Help files could not be found!" captioned "Error opening help", owned by
// owner.
void OpenHelp(QWidget* owner, const std::string& helpFile);

}  // namespace velloran

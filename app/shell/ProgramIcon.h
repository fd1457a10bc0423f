// The program's icon, built into the program in several sizes, for its
// windows and the About box (the desktop menu takes the installed copies).
#pragma once

#include <QIcon>

namespace velloran {

QIcon ProgramIcon();

}  // namespace velloran

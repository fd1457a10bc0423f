// The hourglass of CWaitCursor on screen: the windows call InstallWaitPointer
// once the application object exists, and from then on the class library's
// wait cursor shows as the application's override cursor.
#pragma once

namespace velloran {

void InstallWaitPointer();

}  // namespace velloran

// Rectangle arithmetic behind window placement and snapping. Pure integer
// logic, independent of any window system.
#pragma once

#include "utils/QuorvantellUtils.h"

namespace quorvantell::exports {

// Puts the window beside the reference window (right, else left), centred
// on it vertically, kept inside the work area.
void PlaceBesideRect(WindowBox* window, const WindowBox* reference, const AreaRect* area);
// Moves the window onto the work area's edges it is closer than distance to.
void SnapRectToRect(WindowBox* window, const AreaRect* area, int32_t distance);
// Docks the window to the reference window's edges it is closer than
// distance to, then lines up the edges along the docked side.
void SnapRectToEdges(WindowBox* window, const WindowBox* reference, int32_t distance);

}  // namespace quorvantell::exports

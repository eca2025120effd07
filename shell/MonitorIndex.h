#pragma once

#include <cstdint>

#include "Desktop.h"

// Which monitor a point lies on, by its place in the system's monitor list.
namespace tarnwick {

// The 0-based index, in enumeration order, of the monitor that holds Point;
// -1 when it lies on none (in a gap or outside the virtual screen) or the
// system reports no monitor.
std::int32_t MonitorIndexFromPoint(const TPoint& Point);

// The number of monitors: the length of the monitor list, or the count the
// system reports on its own account while the list is empty.
int MonitorCount();

}  // namespace tarnwick

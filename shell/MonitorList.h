#pragma once

#include <cstdint>
#include <vector>

#include "shell/Desktop.h"

// Which monitor a point lies on, by its place in the system's monitor list.
namespace tarnwick {

// The system's monitor list, kept between lookups: the watcher asks once a
// second, and enumerating the monitors each time would allocate on every
// tick for a list that changes only with the display configuration.
class TMonitorList {
 public:
  // Lists the monitors afresh; call it at start and on a display change.
  void Refresh();

  // The number of monitors: the list's length, or the count the system
  // reports on its own account while the list is empty.
  int Count() const;

  // The 0-based index, in enumeration order, of the monitor that holds
  // Point; -1 when it lies on none (in a gap or outside the virtual screen)
  // or the system reports no monitor. A monitor the list does not hold yet
  // makes it list afresh, so one added since is seen at once.
  std::int32_t IndexFromPoint(TPoint Point);

 private:
  std::int32_t ListedIndex(MonitorHandle Monitor) const;

  std::vector<MonitorHandle> FHandles;
};

// The program's list of the system's monitors. Refresh it at start and on
// each display change.
TMonitorList& SystemMonitors();

// The 0-based index of the monitor that holds Point in the program's
// monitor list (SystemMonitors), as TMonitorList::IndexFromPoint gives it;
// -1 for a point on no monitor. Never raises.
std::int32_t MonitorIndexFromPoint(const TPoint& Point);

}  // namespace tarnwick

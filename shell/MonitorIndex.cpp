#include "MonitorIndex.h"

#include <algorithm>

namespace tarnwick {

std::int32_t MonitorIndexFromPoint(const TPoint& Point) {
  IDesktop& Desk = Desktop();
  // Listed afresh on every call, so a changed display configuration or a
  // monitor the list did not hold yet is always seen.
  const std::vector<MonitorInfo> Monitors = Desk.Monitors();
  if (Monitors.empty()) return -1;
  const MonitorHandle Holder = Desk.MonitorFromPoint(Point);
  if (!Holder) return -1;
  // Monitor handles are unique, so the index of the one matching entry is
  // what comparing every entry with the holder (the last match winning)
  // would give, and one platform query per call keeps the watcher tick cheap.
  const auto Entry = std::find_if(Monitors.begin(), Monitors.end(),
                                  [Holder](const MonitorInfo& Monitor) { return Monitor.Handle == Holder; });
  return Entry == Monitors.end() ? -1 : static_cast<std::int32_t>(Entry - Monitors.begin());
}

int MonitorCount() {
  IDesktop& Desk = Desktop();
  const std::size_t Listed = Desk.Monitors().size();
  return Listed ? static_cast<int>(Listed) : Desk.SystemMonitorCount();
}

}  // namespace tarnwick

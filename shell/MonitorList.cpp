#include "shell/MonitorList.h"

#include <algorithm>

namespace tarnwick {

void TMonitorList::Refresh() {
  FHandles.clear();
  for (const TMonitorInfo& Monitor : Desktop().Monitors()) FHandles.push_back(Monitor.Handle);
}

int TMonitorList::Count() const {
  return FHandles.empty() ? Desktop().SystemMonitorCount() : static_cast<int>(FHandles.size());
}

std::int32_t TMonitorList::IndexFromPoint(TPoint Point) {
  // One platform query per lookup; the list is only read.
  const MonitorHandle Holder = Desktop().MonitorFromPoint(Point);
  if (!Holder) return -1;
  const std::int32_t Index = ListedIndex(Holder);
  if (Index != -1) return Index;
  Refresh();
  return ListedIndex(Holder);
}

std::int32_t TMonitorList::ListedIndex(MonitorHandle Monitor) const {
  // Handles are unique, so the first match is the only one.
  const auto Entry = std::find(FHandles.begin(), FHandles.end(), Monitor);
  return Entry == FHandles.end() ? -1 : static_cast<std::int32_t>(Entry - FHandles.begin());
}

TMonitorList& SystemMonitors() {
  static TMonitorList Monitors;
  return Monitors;
}

std::int32_t MonitorIndexFromPoint(const TPoint& Point) { return SystemMonitors().IndexFromPoint(Point); }

}  // namespace tarnwick

#include "shell/MonitorList.h"

#include <algorithm>

namespace tarnwick {

void MonitorList::Refresh() {
  Handles_.clear();
  for (const MonitorInfo& Monitor : Desktop().Monitors()) Handles_.push_back(Monitor.Handle);
}

int MonitorList::Count() const {
  return Handles_.empty() ? Desktop().SystemMonitorCount() : static_cast<int>(Handles_.size());
}

std::int32_t MonitorList::IndexFromPoint(TPoint Point) {
  // One platform query per lookup; the list is only read.
  const MonitorHandle Holder = Desktop().MonitorFromPoint(Point);
  if (!Holder) return -1;
  const std::int32_t Index = ListedIndex(Holder);
  if (Index != -1) return Index;
  Refresh();
  return ListedIndex(Holder);
}

std::int32_t MonitorList::ListedIndex(MonitorHandle Monitor) const {
  // Handles are unique, so the first match is the only one.
  const auto Entry = std::find(Handles_.begin(), Handles_.end(), Monitor);
  return Entry == Handles_.end() ? -1 : static_cast<std::int32_t>(Entry - Handles_.begin());
}

MonitorList& SystemMonitors() {
  static MonitorList Monitors;
  return Monitors;
}

std::int32_t MonitorIndexFromPoint(const TPoint& Point) { return SystemMonitors().IndexFromPoint(Point); }

}  // namespace tarnwick

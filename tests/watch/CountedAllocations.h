#pragma once

#include <cstddef>

namespace tarnwick::testing {

// Counts the heap allocations made through operator new (every new, and
// every standard container and string) while it lives. The exe that links
// CountedAllocations.cpp has its global operator new replaced for this.
class CountedAllocations {
 public:
  CountedAllocations();
  ~CountedAllocations();
  CountedAllocations(const CountedAllocations&) = delete;
  CountedAllocations& operator=(const CountedAllocations&) = delete;

  std::size_t Count() const;
};

}  // namespace tarnwick::testing

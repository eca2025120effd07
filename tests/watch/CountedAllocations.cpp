#include "tests/watch/CountedAllocations.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> Counting{false};
std::atomic<std::size_t> Allocations{0};

}  // namespace

// The standard library's other forms (arrays, nothrow) go through these,
// so replacing them counts every allocation but the over-aligned ones,
// which nothing here makes.
void* operator new(std::size_t Size) {
  if (Counting) ++Allocations;
  if (void* Block = std::malloc(Size ? Size : 1)) return Block;
  throw std::bad_alloc();
}

void operator delete(void* Block) noexcept { std::free(Block); }

void operator delete(void* Block, std::size_t) noexcept { std::free(Block); }

namespace tarnwick::testing {

CountedAllocations::CountedAllocations() {
  Allocations = 0;
  Counting = true;
}

CountedAllocations::~CountedAllocations() { Counting = false; }

std::size_t CountedAllocations::Count() const { return Allocations; }

}  // namespace tarnwick::testing

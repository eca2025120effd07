#pragma once

#include <cstddef>
#include <functional>

// Peak memory of one piece of work, measured by the kernel (Linux only).
namespace tarnwick::bench {

// Runs Work in a forked child and returns how far the child's resident set
// rose above where it stood when Work began, at its highest, in bytes:
// everything Work touched, whether through malloc, operator new or a
// library's own allocator. Raises std::runtime_error when the child cannot
// be made or does not report.
std::size_t PeakMemoryGrowth(const std::function<void()>& Work);

}  // namespace tarnwick::bench

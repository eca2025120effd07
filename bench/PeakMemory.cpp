#include "bench/PeakMemory.h"

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>
#include <string>

namespace tarnwick::bench {
namespace {

// A "Name:   1234 kB" line of /proc/self/status, in bytes.
std::size_t StatusBytes(const std::string& Name) {
  std::ifstream Status("/proc/self/status");
  std::string Key;
  std::size_t Kilobytes = 0;
  while (Status >> Key) {
    if (Key == Name + ":" && Status >> Kilobytes) return Kilobytes * 1024;
    Status.ignore(4096, '\n');
  }
  throw std::runtime_error("no " + Name + " in /proc/self/status");
}

// The child's side. Free heap memory goes back to the system first, so that
// Work pays for every page it uses; then the high-water mark starts again
// from the current resident set, leaving out what the parent had touched.
[[noreturn]] void MeasureInChild(const std::function<void()>& Work, int Pipe) {
  std::size_t Growth = 0;
  try {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    const std::size_t Before = StatusBytes("VmRSS");
    Work();
    Growth = StatusBytes("VmHWM") - Before;
  } catch (...) {
    _exit(1);
  }
  const bool Written = write(Pipe, &Growth, sizeof Growth) == static_cast<ssize_t>(sizeof Growth);
  _exit(Written ? 0 : 1);
}

}  // namespace

std::size_t PeakMemoryGrowth(const std::function<void()>& Work) {
  int Pipe[2];
  if (pipe(Pipe) != 0) throw std::runtime_error("pipe failed");
  const pid_t Child = fork();
  if (Child == 0) {
    close(Pipe[0]);
    MeasureInChild(Work, Pipe[1]);
  }
  close(Pipe[1]);
  std::size_t Growth = 0;
  const bool Read = Child > 0 && read(Pipe[0], &Growth, sizeof Growth) == static_cast<ssize_t>(sizeof Growth);
  close(Pipe[0]);
  int Status = 0;
  if (Child > 0) waitpid(Child, &Status, 0);
  if (!Read || !WIFEXITED(Status) || WEXITSTATUS(Status) != 0)
    throw std::runtime_error("the measuring child did not report");
  return Growth;
}

}  // namespace tarnwick::bench

// Hands e2e_agent.dll (beside this exe) a job and loads it into the running
// program with a remote thread, for the end-to-end tests and the soak run.
// Prints the agent's answer; exit code 1 on a failure, 2 on a usage error.
//   e2e_inject drop PATH   drops PATH on the settings window, as the shell does
//   e2e_inject count       "handles N gdi N windows N heap BYTES" of the program
//   e2e_inject layout      the settings window's controls, texts, fonts and
//                          glyphs, a line each (see AgentLayout.h)
//   e2e_inject self-check  loads the agent here, around known new objects, and
//                          prints "ok ..." when its counts see exactly them
//                          and a load of it leaves the heap as it was
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "tests/e2e/helpers/E2eAgentOrder.h"

namespace {

struct HandleCloser {
  void operator()(HANDLE Handle) const { CloseHandle(Handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

struct WindowDestroyer {
  void operator()(HWND Window) const { DestroyWindow(Window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

struct ObjectDeleter {
  void operator()(HBRUSH Brush) const { DeleteObject(Brush); }
};
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, ObjectDeleter>;

struct ViewUnmapper {
  void operator()(void* View) const { UnmapViewOfFile(View); }
};

[[noreturn]] void Fail(const std::string& What) {
  throw std::runtime_error(What + " failed (error " + std::to_string(GetLastError()) + ")");
}

std::wstring AgentPath() {
  std::vector<wchar_t> Buffer(MAX_PATH * 4);
  const DWORD Length = GetModuleFileNameW(nullptr, Buffer.data(), static_cast<DWORD>(Buffer.size()));
  std::wstring Path(Buffer.data(), Length);
  return Path.substr(0, Path.find_last_of(L"\\/") + 1) + L"e2e_agent.dll";
}

// The order block the agent of process ProcessId opens; it lives as long as
// the returned handle.
class OrderBlock {
 public:
  OrderBlock(DWORD ProcessId, const std::wstring& Job, const std::wstring& Path)
      : FMapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(e2e::AgentOrder),
                                    e2e::AgentOrderName(ProcessId).Text)) {
    if (!FMapping) Fail("CreateFileMappingW");
    FView.reset(static_cast<e2e::AgentOrder*>(MapViewOfFile(FMapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0)));
    if (!FView) Fail("MapViewOfFile");
    if (Job.size() >= std::size(FView->Job) || Path.size() >= std::size(FView->Path))
      throw std::runtime_error("job or path too long");
    *FView = {};
    std::wmemcpy(FView->Job, Job.c_str(), Job.size());
    std::wmemcpy(FView->Path, Path.c_str(), Path.size());
  }
  std::string Answer() const { return FView->Answer; }

 private:
  UniqueHandle FMapping;
  std::unique_ptr<e2e::AgentOrder, ViewUnmapper> FView;
};

DWORD ProgramProcessId() {
  HWND Window = FindWindowW(L"TMainForm", L"Tarnwick");
  DWORD ProcessId = 0;
  if (Window) GetWindowThreadProcessId(Window, &ProcessId);
  if (!ProcessId) throw std::runtime_error("no settings window");
  return ProcessId;
}

// LoadLibraryW(agent) on a new thread of the process; kernel32 lies at the
// same address in every process of one architecture.
void LoadAgentInto(DWORD ProcessId) {
  UniqueHandle Process(OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                                       PROCESS_VM_WRITE | PROCESS_VM_READ,
                                   FALSE, ProcessId));
  if (!Process) Fail("OpenProcess");
  const std::wstring Path = AgentPath();
  const SIZE_T Bytes = (Path.size() + 1) * sizeof(wchar_t);
  void* Remote = VirtualAllocEx(Process.get(), nullptr, Bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!Remote) Fail("VirtualAllocEx");
  const auto Release = [&] { VirtualFreeEx(Process.get(), Remote, 0, MEM_RELEASE); };
  const auto Load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
  UniqueHandle Thread;
  if (WriteProcessMemory(Process.get(), Remote, Path.c_str(), Bytes, nullptr))
    Thread.reset(CreateRemoteThread(Process.get(), nullptr, 0, Load, Remote, 0, nullptr));
  if (!Thread) {
    Release();
    Fail("CreateRemoteThread");
  }
  const DWORD Waited = WaitForSingleObject(Thread.get(), 20000);
  // Freed only once the thread is done with the name.
  if (Waited == WAIT_OBJECT_0) Release();
  if (Waited != WAIT_OBJECT_0) throw std::runtime_error("the agent did not finish within 20 s");
}

std::string RunAgent(const std::wstring& Job, const std::wstring& Path) {
  const DWORD ProcessId = ProgramProcessId();
  OrderBlock Order(ProcessId, Job, Path);
  LoadAgentInto(ProcessId);
  const std::string Answer = Order.Answer();
  if (Answer.empty()) throw std::runtime_error("the agent did not answer");
  return Answer;
}

struct Counts {
  int Handles = 0, Gdi = 0, Windows = 0;
  long long Heap = 0;
};

Counts CountHere() {
  OrderBlock Order(GetCurrentProcessId(), L"count", L"");
  // DllMain refuses to stay, so this load runs the job and returns nothing.
  LoadLibraryW(AgentPath().c_str());
  Counts Result;
  if (std::sscanf(Order.Answer().c_str(), "handles %d gdi %d windows %d heap %lld", &Result.Handles, &Result.Gdi,
                  &Result.Windows, &Result.Heap) != 4)
    throw std::runtime_error("the agent did not count");
  return Result;
}

// The counts must rise by exactly the objects made between two loads, and a
// third load must find the heap as the second left it.
int SelfCheck() {
  constexpr int Made = 10;
  // The thread's first window brings its input method window along.
  UniqueWindow First(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  const Counts Before = CountHere();
  std::vector<UniqueHandle> Events;
  std::vector<UniqueBrush> Brushes;
  std::vector<UniqueWindow> Windows;
  for (int Index = 0; Index < Made; ++Index) {
    Events.emplace_back(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    Brushes.emplace_back(CreateSolidBrush(RGB(Index, 0, 0)));
    Windows.emplace_back(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  }
  const Counts After = CountHere();
  const Counts Again = CountHere();
  const bool Exact = After.Handles - Before.Handles == Made && After.Gdi - Before.Gdi == Made &&
                     After.Windows - Before.Windows == Made && Again.Heap == After.Heap;
  std::printf("%s: %d new of each; counted handles +%d gdi +%d windows +%d; a load of the agent left %lld heap bytes\n",
              Exact ? "ok" : "wrong", Made, After.Handles - Before.Handles, After.Gdi - Before.Gdi,
              After.Windows - Before.Windows, Again.Heap - After.Heap);
  return Exact ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring Command = argc > 1 ? argv[1] : L"";
  try {
    if (Command == L"drop" && argc > 2) return std::puts(RunAgent(L"drop", argv[2]).c_str()), 0;
    if (Command == L"count") return std::puts(RunAgent(L"count", L"").c_str()), 0;
    if (Command == L"layout") return std::fputs(RunAgent(L"layout", L"").c_str(), stdout), 0;
    if (Command == L"self-check") return SelfCheck();
  } catch (const std::exception& Error) {
    std::fprintf(stderr, "e2e_inject: %s\n", Error.what());
    return 1;
  }
  std::fputs("usage: e2e_inject drop PATH | count | layout | self-check\n", stderr);
  return 2;
}

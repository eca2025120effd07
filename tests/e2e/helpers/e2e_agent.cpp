// Loaded into the running program by e2e_inject, does one job from inside
// it and unloads again (DllMain answers FALSE). Only what is safe while the
// loader lock is held: a global block and a posted message for a drop,
// table probes and a heap walk for the counts. It uses no C++ runtime, which
// would leave memory behind at each load.
//   drop    posts Path to the settings window as the shell's WM_DROPFILES
//   count   "handles N gdi N windows N heap BYTES" of this process
//   layout  the settings window's controls, texts, fonts and glyphs
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cwchar>

#include "tests/e2e/helpers/AgentLayout.h"
#include "tests/e2e/helpers/E2eAgentOrder.h"

namespace {

HWND SettingsWindow() {
  HWND Window = FindWindowW(L"TMainForm", L"Tarnwick");
  DWORD ProcessId = 0;
  if (Window) GetWindowThreadProcessId(Window, &ProcessId);
  return ProcessId == GetCurrentProcessId() ? Window : nullptr;
}

// A drop's memory belongs to the receiving process, which frees it with
// DragFinish: a GHND block holding DROPFILES and the double-NUL-ended name.
bool PostDrop(const wchar_t* Path) {
  HWND Window = SettingsWindow();
  if (!Window) return false;
  const std::size_t Length = std::wcslen(Path);
  HGLOBAL Block = GlobalAlloc(GHND, sizeof(DROPFILES) + (Length + 2) * sizeof(wchar_t));
  if (!Block) return false;
  auto* Files = static_cast<DROPFILES*>(GlobalLock(Block));
  RECT Client{};
  GetClientRect(Window, &Client);
  Files->pFiles = sizeof(DROPFILES);
  Files->pt = {Client.right / 2, Client.bottom / 2};
  Files->fWide = TRUE;
  std::wmemcpy(reinterpret_cast<wchar_t*>(Files + 1), Path, Length);
  GlobalUnlock(Block);
  if (PostMessageW(Window, WM_DROPFILES, reinterpret_cast<WPARAM>(Block), 0)) return true;
  GlobalFree(Block);
  return false;
}

// Kernel handle values are multiples of 4; the table is probed well past
// anything this program opens.
int KernelHandleCount() {
  int Count = 0;
  for (ULONG_PTR Value = 4; Value < 0x10000; Value += 4) {
    DWORD Flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(Value), &Flags)) ++Count;
  }
  return Count;
}

// The GDI table has 64 Ki entries; a bare index is taken as the handle of
// the object that lives there.
int GdiObjectCount() {
  int Count = 0;
  for (ULONG_PTR Index = 1; Index < 0x10000; ++Index)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(Index))) ++Count;
  return Count;
}

BOOL CALLBACK CountWindow(HWND Window, LPARAM Param) {
  DWORD ProcessId = 0;
  GetWindowThreadProcessId(Window, &ProcessId);
  if (ProcessId != GetCurrentProcessId()) return TRUE;
  auto& Count = *reinterpret_cast<int*>(Param);
  ++Count;
  EnumChildWindows(Window, CountWindow, Param);
  return TRUE;
}

int WindowCount() {
  int Count = 0;
  EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&Count));
  return Count;
}

// Bytes in use in all the process's heaps, the C runtime's among them.
long long HeapBusyBytes() {
  HANDLE Heaps[256];
  const DWORD Count = GetProcessHeaps(256, Heaps);
  long long Busy = 0;
  for (DWORD Index = 0; Index < Count && Index < 256; ++Index) {
    if (!HeapLock(Heaps[Index])) continue;
    PROCESS_HEAP_ENTRY Entry{};
    while (HeapWalk(Heaps[Index], &Entry))
      if (Entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) Busy += Entry.cbData;
    HeapUnlock(Heaps[Index]);
  }
  return Busy;
}

void DoJob(e2e::AgentOrder& Order) {
  if (std::wcscmp(Order.Job, L"drop") == 0) {
    std::snprintf(Order.Answer, sizeof Order.Answer, "%s", PostDrop(Order.Path) ? "dropped" : "no-window");
  } else if (std::wcscmp(Order.Job, L"count") == 0) {
    std::snprintf(Order.Answer, sizeof Order.Answer, "handles %d gdi %d windows %d heap %lld", KernelHandleCount(),
                  GdiObjectCount(), WindowCount(), HeapBusyBytes());
  } else if (std::wcscmp(Order.Job, L"layout") == 0) {
    if (HWND Window = SettingsWindow()) e2e::DescribeLayout(Window, Order.Answer, sizeof Order.Answer);
    else std::snprintf(Order.Answer, sizeof Order.Answer, "no-window");
  } else {
    std::snprintf(Order.Answer, sizeof Order.Answer, "unknown-job");
  }
}

void Run() {
  HANDLE Mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, e2e::AgentOrderName(GetCurrentProcessId()).Text);
  if (!Mapping) return;
  if (void* View = MapViewOfFile(Mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(e2e::AgentOrder))) {
    DoJob(*static_cast<e2e::AgentOrder*>(View));
    UnmapViewOfFile(View);
  }
  CloseHandle(Mapping);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD Reason, LPVOID) {
  if (Reason != DLL_PROCESS_ATTACH) return TRUE;
  Run();
  // Nothing of the agent stays in the program.
  return FALSE;
}

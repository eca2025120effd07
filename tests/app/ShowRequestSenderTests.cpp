#include "app/ShowRequestSender.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "shell/ShowRequest.h"

namespace tarnwick {
namespace {

// What the settings window was handed.
struct Received {
  std::atomic<int> Requests{0};
  std::atomic<ULONG_PTR> Parameters{0};
  std::atomic<WPARAM> From{0};
};

LRESULT CALLBACK SettingsWindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg != WM_COPYDATA) return DefWindowProcW(Window, Msg, WParam, LParam);
  auto& Got = *reinterpret_cast<Received*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
  const auto* Data = reinterpret_cast<const COPYDATASTRUCT*>(LParam);
  if (IsShowRequest(Data->lpData, Data->cbData)) ++Got.Requests;
  Got.Parameters = Data->dwData;
  Got.From = WParam;
  return 1;
}

// A running instance as a later start sees it: the instance mutex and, on
// a thread of its own after WindowAfterMs (never for INFINITE), the
// settings window, answering messages unless Hung.
class RunningInstance {
 public:
  explicit RunningInstance(DWORD WindowAfterMs, bool Hung = false)
      : FMutex(CreateMutexW(nullptr, FALSE, L"Tarnwick/Fellmoor")),
        FThread([this, WindowAfterMs, Hung] { Run(WindowAfterMs, Hung); }) {}
  ~RunningInstance() {
    FStop = true;
    FThread.join();
    CloseHandle(FMutex);
  }
  void EndInstance() {
    CloseHandle(FMutex);
    FMutex = nullptr;
  }
  Received Got;

 private:
  void Run(DWORD WindowAfterMs, bool Hung) {
    const ULONGLONG WindowAt = GetTickCount64() + WindowAfterMs;
    while (GetTickCount64() < WindowAt || WindowAfterMs == INFINITE) {
      if (FStop) return;
      Sleep(10);
    }
    WNDCLASSW Class{};
    Class.lpfnWndProc = SettingsWindowProc;
    Class.lpszClassName = L"TMainForm";
    RegisterClassW(&Class);
    const HWND Window = CreateWindowW(L"TMainForm", L"Tarnwick", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                      nullptr);
    SetWindowLongPtrW(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&Got));
    if (Hung) Sleep(1500);
    for (MSG Message; !FStop;) {
      while (PeekMessageW(&Message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&Message);
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    DestroyWindow(Window);
    UnregisterClassW(L"TMainForm", nullptr);
  }

  HANDLE FMutex;
  std::atomic<bool> FStop{false};
  std::thread FThread;
};

// Milliseconds that Call took.
template <typename Call>
ULONGLONG Took(Call&& Run) {
  const ULONGLONG Start = GetTickCount64();
  Run();
  return GetTickCount64() - Start;
}

TEST(ShowRequestSender, WaitsForAWindowStillBeingMade) {
  RunningInstance Instance(400);
  const HWND From = reinterpret_cast<HWND>(0x1234);
  EXPECT_TRUE(SendShowRequest(From, 2, 5000, 2000));
  EXPECT_EQ(Instance.Got.Requests, 1);
  EXPECT_EQ(Instance.Got.Parameters, 2u);
  EXPECT_EQ(Instance.Got.From, reinterpret_cast<WPARAM>(From));
}

TEST(ShowRequestSender, GivesUpWithoutARunningInstance) {
  bool Sent = true;
  EXPECT_LT(Took([&] { Sent = SendShowRequest(nullptr, 0, 5000, 2000); }), 1000u);
  EXPECT_FALSE(Sent);
}

TEST(ShowRequestSender, WaitsForTheWindowOnlyAsLongAsAllowed) {
  RunningInstance Instance(INFINITE);
  bool Sent = true;
  const ULONGLONG Ms = Took([&] { Sent = SendShowRequest(nullptr, 0, 300, 2000); });
  EXPECT_FALSE(Sent);
  EXPECT_GE(Ms, 250u);
  EXPECT_LT(Ms, 2000u);
}

TEST(ShowRequestSender, StopsWaitingWhenTheInstanceEnds) {
  RunningInstance Instance(INFINITE);
  std::thread Ending([&] {
    Sleep(300);
    Instance.EndInstance();
  });
  bool Sent = true;
  EXPECT_LT(Took([&] { Sent = SendShowRequest(nullptr, 0, 5000, 2000); }), 2000u);
  Ending.join();
  EXPECT_FALSE(Sent);
}

TEST(ShowRequestSender, GivesUpOnAWindowThatDoesNotAnswer) {
  RunningInstance Instance(0, true);
  Sleep(200);  // the window exists, its thread sleeps
  bool Sent = true;
  EXPECT_LT(Took([&] { Sent = SendShowRequest(nullptr, 0, 5000, 300); }), 1200u);
  EXPECT_FALSE(Sent);
}

}  // namespace
}  // namespace tarnwick

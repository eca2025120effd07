#include <windows.h>

#include <gtest/gtest.h>
#include <mmsystem.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>

#include "shell/DataFolder.h"
#include "shell/Desktop.h"
#include "shell/ForceForegroundWindow.h"
#include "shell/MonitorList.h"
#include "shell/ReadyDrive.h"
#include "shell/SoundFile.h"
#include "shell/SoundLibrary.h"
#include "tests/settings/TempFolder.h"

// The Win32 desktop for real, under Wine on an Xvfb screen.
namespace tarnwick {
namespace {

void PutLittleEndian(std::string& Bytes, std::uint32_t Value, int Width) {
  for (int Byte = 0; Byte < Width; ++Byte) Bytes += static_cast<char>((Value >> (8 * Byte)) & 0xFF);
}

// A mono 16-bit PCM WAVE file of Frames silent frames at 8000 Hz.
std::string SilentWave(std::uint32_t Frames) {
  const std::uint32_t DataBytes = Frames * 2;
  std::string Bytes = "RIFF";
  PutLittleEndian(Bytes, 36 + DataBytes, 4);
  Bytes += "WAVEfmt ";
  PutLittleEndian(Bytes, 16, 4);     // format chunk size
  PutLittleEndian(Bytes, 1, 2);      // PCM
  PutLittleEndian(Bytes, 1, 2);      // channels
  PutLittleEndian(Bytes, 8000, 4);   // frames per second
  PutLittleEndian(Bytes, 16000, 4);  // bytes per second
  PutLittleEndian(Bytes, 2, 2);      // bytes per frame
  PutLittleEndian(Bytes, 16, 2);     // bits per sample
  Bytes += "data";
  PutLittleEndian(Bytes, DataBytes, 4);
  return Bytes + std::string(DataBytes, '\0');
}

TEST(Win32Desktop, IsTheDefaultDesktop) { EXPECT_NO_THROW(Desktop()); }

TEST(Win32Desktop, DataFolderLiesBelowRoamingApplicationData) {
  ResetDataFolders();
  const std::wstring Roaming = SpecialFolderPath(1);
  ASSERT_TRUE(Roaming.ends_with(L"\\AppData\\Roaming")) << std::filesystem::path(Roaming).string();
  EXPECT_TRUE(std::filesystem::is_directory(Roaming));

  const std::wstring AppName = L"TarnwickTest" + std::to_wstring(GetCurrentProcessId());
  EXPECT_TRUE(PrepareDataFolder(AppName, false));
  EXPECT_EQ(DataFolder(), Roaming + L"\\Fellmoor\\" + AppName + L"\\");
  EXPECT_TRUE(std::filesystem::is_directory(DataFolder()));
  EXPECT_TRUE(PrepareDataFolder(AppName, false));  // a later start

  std::filesystem::remove(DataFolder());
  ResetDataFolders();
}

TEST(Win32Desktop, FilesAreFoundOnTheSystemDrive) {
  const TempFolder Temp;
  const std::wstring File = Temp.File(L"a.wav");
  WriteBytes(File, "x");
  ASSERT_EQ(File.substr(1, 2), L":\\");

  std::wstring LowerDrive = File;
  LowerDrive[0] = static_cast<wchar_t>(towlower(LowerDrive[0]));
  EXPECT_TRUE(FileExistsOnReadyDrive(File));
  EXPECT_TRUE(FileExistsOnReadyDrive(LowerDrive));
  EXPECT_FALSE(FileExistsOnReadyDrive(Temp.Path().wstring()));
  EXPECT_FALSE(FileExistsOnReadyDrive(Temp.File(L"missing.wav")));
  EXPECT_TRUE(Desktop().FolderExists(Temp.Path().wstring() + L"\\"));
  EXPECT_FALSE(Desktop().FolderExists(File));
}

TEST(Win32Desktop, UnusedDriveIsNotReadyAndTheErrorModeIsKept) {
  const DWORD Used = GetLogicalDrives();
  wchar_t Unused = L'Z';
  while (Unused > L'C' && (Used & (1u << (Unused - L'A')))) --Unused;
  ASSERT_GT(Unused, L'C') << "every drive letter is in use";

  const UINT Before = SetErrorMode(SEM_NOGPFAULTERRORBOX);
  EXPECT_FALSE(DriveReady(Unused));
  EXPECT_TRUE(DriveReady(L'c'));
  EXPECT_EQ(GetErrorMode(), static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
  SetErrorMode(Before);
}

TEST(Win32Desktop, MonitorIndexOnTheOneScreen) {
  // Xvfb gives Wine a single monitor at the origin.
  TMonitorList Monitors;
  Monitors.Refresh();
  ASSERT_EQ(Monitors.Count(), 1);
  EXPECT_EQ(Monitors.IndexFromPoint({10, 10}), 0);
  EXPECT_EQ(Monitors.IndexFromPoint({-100000, -100000}), -1);
  EXPECT_EQ(Desktop().Monitors().front().Bounds.Left, 0);
}

TEST(Win32Desktop, CursorPosReadsWhereThePointerWasPut) {
  ASSERT_TRUE(SetCursorPos(123, 45));
  EXPECT_EQ(Desktop().CursorPos(), (TPoint{123, 45}));
}

TEST(Win32Desktop, SoundsPlayOrStaySilentWithoutBlocking) {
  const TempFolder Temp;
  const std::wstring Wave = Temp.File(L"tone.wav");
  const std::wstring NotWave = Temp.File(L"text.wav");
  WriteBytes(Wave, SilentWave(8000 * 3));
  WriteBytes(NotWave, "not a sound");

  const auto Start = std::chrono::steady_clock::now();
  PlaySoundFile(Wave);
  PlaySoundFile(Wave);  // stops the first
  PlaySoundFile(NotWave);
  Desktop().PlayWaveResource(L"page");  // this exe holds none
  EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(2));
  // The sound library came with the first sound; it lets go of the file
  // before the folder is removed.
  const auto Play = SoundLibraryFunction<decltype(sndPlaySoundW)>("sndPlaySoundW");
  ASSERT_NE(Play, nullptr);
  Play(nullptr, 0);
}

// A plain top-level window, shown without taking the foreground.
class TestWindow {
 public:
  TestWindow() {
    WNDCLASSW Class{};
    Class.lpfnWndProc = DefWindowProcW;
    Class.hInstance = GetModuleHandleW(nullptr);
    Class.lpszClassName = L"TarnwickShellTestWindow";
    RegisterClassW(&Class);
    FHandle = CreateWindowExW(0, Class.lpszClassName, L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                              Class.hInstance, nullptr);
    ShowWindow(FHandle, SW_SHOWNOACTIVATE);
  }
  ~TestWindow() { DestroyWindow(FHandle); }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  WindowHandle Handle() const { return reinterpret_cast<WindowHandle>(FHandle); }

 private:
  HWND FHandle = nullptr;
};

TEST(Win32Desktop, ForceForegroundWindowKeepsTheLockTimeout) {
  const auto Timeout = Desktop().ForegroundLockTimeout();
  const TestWindow Window;
  EXPECT_TRUE(ForceForegroundWindow(Window.Handle()));
  EXPECT_EQ(Desktop().ForegroundWindow(), Window.Handle());
  EXPECT_TRUE(ForceForegroundWindow(Window.Handle()));
  EXPECT_EQ(Desktop().ForegroundLockTimeout(), Timeout);
}

TEST(Win32Desktop, SystemVersionHasAForegroundLock) {
  EXPECT_TRUE(HasForegroundLock(Desktop().SystemVersion()));
}

// Waits for the message box captioned Caption, takes its text and presses OK.
std::wstring AnswerMessageBox(const wchar_t* Caption) {
  for (int Try = 0; Try < 250; ++Try) {
    if (const HWND Box = FindWindowW(L"#32770", Caption)) {
      wchar_t Text[256] = {};
      GetDlgItemTextW(Box, 0xFFFF, Text, 256);
      PostMessageW(Box, WM_COMMAND, IDOK, 0);
      return Text;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return L"(no message box)";
}

TEST(Win32Desktop, ErrorReportShowsTextAndCaption) {
  const wchar_t* Caption = L"Tarnwick error report test";
  std::wstring Shown;
  std::thread Answer([&] { Shown = AnswerMessageBox(Caption); });
  Desktop().ShowErrorReport(L"ファイルがありません.", Caption);
  Answer.join();
  EXPECT_EQ(Shown, L"ファイルがありません.");
}

}  // namespace
}  // namespace tarnwick

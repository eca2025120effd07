#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Desktop.h"

namespace tarnwick::testing {

// A desktop that answers every query with nothing and records the error
// reports shown, so a test sees what the user would have seen.
class RecordingDesktop : public IDesktop {
 public:
  struct Report {
    std::wstring Text;
    std::wstring Caption;
  };
  std::vector<Report> Reports;

  std::optional<TPoint> CursorPos() override { return std::nullopt; }
  std::vector<MonitorInfo> Monitors() override { return {}; }
  int SystemMonitorCount() override { return 1; }
  MonitorHandle MonitorFromPoint(TPoint) override { return 0; }
  bool FileExists(const std::wstring&) override { return false; }
  bool FolderExists(const std::wstring&) override { return false; }
  bool CreateFolder(const std::wstring&) override { return false; }
  std::optional<std::wstring> SpecialFolder(int) override { return std::nullopt; }
  unsigned SetErrorMode(unsigned) override { return 0; }
  std::optional<std::uint64_t> DriveTotalBytes(const std::wstring&) override { return std::nullopt; }
  void PlayWaveFile(const std::wstring&) override {}
  void PlayWaveResource(const std::wstring&) override {}
  void ShowErrorReport(const std::wstring& Text, const std::wstring& Caption) override {
    Reports.push_back({Text, Caption});
  }
};

// Handles window messages until Done holds or TimeoutMs have passed;
// returns whether Done holds.
bool PumpUntil(const std::function<bool()>& Done, int TimeoutMs = 2000);
// Handles window messages for about Ms milliseconds.
void PumpFor(int Ms);

}  // namespace tarnwick::testing

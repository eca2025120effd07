#include "shell/ReadyDrive.h"

#include "shell/Desktop.h"

namespace tarnwick {
namespace {

// Lets a drive without media fail the query instead of raising the system's
// critical-error dialog.
constexpr unsigned FailCriticalErrors = 0x0001;

// Holds the process's error mode at FailCriticalErrors while it lives.
class CriticalErrorsFail {
 public:
  explicit CriticalErrorsFail(IDesktop& Desk) : Desk_(Desk), Previous_(Desk.SetErrorMode(FailCriticalErrors)) {}
  ~CriticalErrorsFail() { Desk_.SetErrorMode(Previous_); }
  CriticalErrorsFail(const CriticalErrorsFail&) = delete;
  CriticalErrorsFail& operator=(const CriticalErrorsFail&) = delete;

 private:
  IDesktop& Desk_;
  unsigned Previous_;
};

bool DriveLetterReady(wchar_t UpperLetter) {
  IDesktop& Desk = Desktop();
  const CriticalErrorsFail Guard(Desk);
  return Desk.DriveTotalBytes(std::wstring{UpperLetter, L':', L'\\'}).has_value();
}

}  // namespace

bool DriveReady(wchar_t Letter) {
  // Only ASCII letters are folded: no other character names a drive.
  if (Letter >= L'a' && Letter <= L'z') Letter = static_cast<wchar_t>(Letter - (L'a' - L'A'));
  if (Letter >= L'A' && Letter <= L'Z') return DriveLetterReady(Letter);
  return Letter == L'\\';
}

bool PathDriveReady(const std::wstring& Path) { return !Path.empty() && DriveReady(Path.front()); }

bool FileExistsOnReadyDrive(const std::wstring& Path) { return PathDriveReady(Path) && Desktop().FileExists(Path); }

}  // namespace tarnwick

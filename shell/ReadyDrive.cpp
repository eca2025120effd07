#include "shell/ReadyDrive.h"

#include "shell/Desktop.h"
#include "base/ScopeGuards.h"

namespace tarnwick {
namespace {

bool DriveLetterReady(wchar_t UpperLetter) {
  IDesktop& Desk = Desktop();
  const TCriticalErrorsFail Guard(Desk);
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

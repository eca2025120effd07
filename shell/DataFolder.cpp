#include "shell/DataFolder.h"

#include <algorithm>
#include <iterator>

#include "shell/Desktop.h"

namespace tarnwick {
namespace {

// The platform's identifiers (CSIDL values) of the six folder kinds.
constexpr int FolderIdentifiers[] = {5, 26, 28, 35, 39, 46};
constexpr std::uint8_t UserApplicationData = 1;
constexpr std::uint8_t CommonApplicationData = 3;
constexpr std::size_t MaxPathUnits = 260;

std::wstring UserFolder;
std::wstring CommonFolder;

void MakeFolderIfMissing(IDesktop& Desk, const std::wstring& Path) {
  // A failed creation shows in the final existence test.
  if (!Desk.FolderExists(Path)) Desk.CreateFolder(Path);
}

}  // namespace

std::wstring SpecialFolderPath(std::uint8_t Kind) {
  if (Kind >= std::size(FolderIdentifiers)) return {};
  const std::wstring Path = Desktop().SpecialFolder(FolderIdentifiers[Kind]).value_or(L"");
  return Path.substr(0, std::min(Path.find(L'\0'), MaxPathUnits));
}

bool PrepareDataFolder(const std::wstring& AppName, bool Common) {
  std::wstring& Kept = Common ? CommonFolder : UserFolder;
  const std::wstring ApplicationData = SpecialFolderPath(Common ? CommonApplicationData : UserApplicationData);
  // Without it the levels would land at the root of the current drive.
  if (ApplicationData.empty()) {
    Kept.clear();
    return false;
  }
  IDesktop& Desk = Desktop();
  const std::wstring Maker = ApplicationData + L"\\Fellmoor";
  MakeFolderIfMissing(Desk, Maker);
  const std::wstring Folder = Maker + L"\\" + AppName;
  MakeFolderIfMissing(Desk, Folder);
  Kept = Folder + L"\\";
  return Desk.FolderExists(Kept);
}

const std::wstring& DataFolder() { return UserFolder; }

const std::wstring& CommonDataFolder() { return CommonFolder; }

void ResetDataFolders() {
  UserFolder.clear();
  CommonFolder.clear();
}

}  // namespace tarnwick

#include <windows.h>

#include "settings/FileStorage.h"
#include "settings/SettingsErrors.h"
#include "base/ScopeGuards.h"
#include "base/SystemErrorText.h"
#include "base/Utf.h"

namespace tarnwick {
namespace {

bool WriteAll(HANDLE File, std::string_view Bytes) {
  while (!Bytes.empty()) {
    const DWORD Chunk = Bytes.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(Bytes.size());
    DWORD Written = 0;
    if (!WriteFile(File, Bytes.data(), Chunk, &Written, nullptr)) return false;
    Bytes.remove_prefix(Written);
  }
  return true;
}

// The new files of saves that ended by force (the program killed) beside
// Name: nobody else writes them while this instance saves.
void RemoveLeftTemporaries(const std::wstring& Name) {
  const std::size_t Slash = Name.find_last_of(L"\\/");
  const std::wstring Folder = Name.substr(0, Slash + 1);
  const std::wstring Leaf = Name.substr(Slash + 1);
  WIN32_FIND_DATAW Found;
  const HANDLE Search = FindFirstFileW((Name + std::wstring(TemporaryMark) + L"*").c_str(), &Found);
  if (Search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(Found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsTemporaryFileOf(Leaf, Found.cFileName))
      DeleteFileW((Folder + Found.cFileName).c_str());
  } while (FindNextFileW(Search, &Found));
  FindClose(Search);
}

}  // namespace

bool IsExistingFile(const std::wstring& Name) {
  const DWORD Attributes = GetFileAttributesW(Name.c_str());
  return Attributes != INVALID_FILE_ATTRIBUTES && !(Attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadWholeFile(const std::wstring& Name) {
  TFileHandle File(CreateFileW(Name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (File.Get() == INVALID_HANDLE_VALUE)
    throw EXMLDocError(CannotReadMessage(Name, SystemErrorText(GetLastError())));
  LARGE_INTEGER Size{};
  if (!GetFileSizeEx(File.Get(), &Size))
    throw EXMLDocError(CannotReadMessage(Name, SystemErrorText(GetLastError())));
  if (static_cast<unsigned long long>(Size.QuadPart) > MaxSettingsFileBytes)
    throw EXMLDocError(TooLargeMessage(Name));
  std::string Bytes(static_cast<std::size_t>(Size.QuadPart), '\0');
  DWORD Got = 0;
  if (!Bytes.empty() && !ReadFile(File.Get(), Bytes.data(), static_cast<DWORD>(Bytes.size()), &Got, nullptr))
    throw EXMLDocError(CannotReadMessage(Name, SystemErrorText(GetLastError())));
  Bytes.resize(Got);
  return Bytes;
}

std::wstring TemporaryFileName(const std::wstring& Name) {
  return Name + std::wstring(TemporaryMark) + std::to_wstring(GetCurrentProcessId());
}

void ReplaceFileContents(const std::wstring& Name, std::string_view Bytes) {
  RemoveLeftTemporaries(Name);
  const std::wstring Temporary = TemporaryFileName(Name);
  TFileHandle File(CreateFileW(Temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (File.Get() == INVALID_HANDLE_VALUE)
    throw EXMLDocError(CannotWriteMessage(Name, SystemErrorText(GetLastError())));
  if (!WriteAll(File.Get(), Bytes) || !FlushFileBuffers(File.Get()) || !File.Close() ||
      !MoveFileExW(Temporary.c_str(), Name.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD Code = GetLastError();
    DeleteFileW(Temporary.c_str());
    throw EXMLDocError(CannotWriteMessage(Name, SystemErrorText(Code)));
  }
}

}  // namespace tarnwick

#include "base/SystemErrorText.h"

#include <windows.h>

#include "base/Utf.h"

namespace tarnwick {

std::string SystemErrorText(unsigned long Code) {
  wchar_t* Buffer = nullptr;
  const DWORD Length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, Code, 0, reinterpret_cast<wchar_t*>(&Buffer), 0, nullptr);
  std::wstring Text = Length ? std::wstring(Buffer, Length) : L"error " + std::to_wstring(Code);
  LocalFree(Buffer);
  while (!Text.empty() && (Text.back() == L'\n' || Text.back() == L'\r' || Text.back() == L' ')) Text.pop_back();
  return ToUtf8(Text);
}

}  // namespace tarnwick

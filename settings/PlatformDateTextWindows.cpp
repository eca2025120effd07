#include <windows.h>

#include <oleauto.h>

#include <type_traits>

#include "settings/PlatformDateText.h"

namespace tarnwick {
namespace {

// OLE Automation is loaded at the first date read rather than at start, and
// kept: a program that reads no date need not carry it. Only the system
// folder's copy, never one planted beside the program.
FARPROC OleAutomationProc(const char* Name) {
  static const HMODULE Library = LoadLibraryExW(L"oleaut32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return Library ? GetProcAddress(Library, Name) : nullptr;
}

// The function is found by name; its type, calling convention included,
// comes from the system's declaration (MinGW's takes the text without const).
using VarDateFromStrFunction = decltype(&VarDateFromStr);
static_assert(std::is_same_v<VarDateFromStrFunction, HRESULT(WINAPI*)(OLECHAR*, LCID, ULONG, DATE*)> ||
              std::is_same_v<VarDateFromStrFunction, HRESULT(WINAPI*)(const OLECHAR*, LCID, ULONG, DATE*)>);

}  // namespace

std::optional<TDateTime> ParsePlatformDateTime(const std::wstring& Text) {
  // Through the generic function type, which any function pointer may take.
  const auto Parse = reinterpret_cast<VarDateFromStrFunction>(
      reinterpret_cast<void (*)()>(OleAutomationProc("VarDateFromStr")));
  DATE Value = 0;
  if (!Parse || Parse(const_cast<OLECHAR*>(Text.c_str()), LOCALE_USER_DEFAULT, 0, &Value) != S_OK) return std::nullopt;
  return Value;
}

}  // namespace tarnwick

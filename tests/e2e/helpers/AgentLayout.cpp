#include "tests/e2e/helpers/AgentLayout.h"

#include <cstdio>
#include <cwchar>

namespace e2e {
namespace {

// No C++ runtime in the agent: fixed buffers, and messages that time out
// rather than wait on a thread that might be waiting itself.
constexpr UINT ReplyMs = 2000;
constexpr int MaxText = 512;

LRESULT Ask(HWND Window, UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0) {
  DWORD_PTR Result = 0;
  SendMessageTimeoutW(Window, Msg, WParam, LParam, SMTO_ABORTIFHUNG, ReplyMs, &Result);
  return static_cast<LRESULT>(Result);
}

class Lines {
 public:
  Lines(char* Text, std::size_t Size) : FText(Text), FSize(Size) { FText[0] = '\0'; }
  void Add(const wchar_t* Line) {
    const int Room = static_cast<int>(FSize - FUsed) - 2;
    if (Room <= 0) return;
    const int Bytes = WideCharToMultiByte(CP_UTF8, 0, Line, -1, FText + FUsed, Room, nullptr, nullptr);
    if (Bytes <= 0) return;
    FUsed += static_cast<std::size_t>(Bytes) - 1;
    FText[FUsed++] = '\n';
    FText[FUsed] = '\0';
  }

 private:
  char* FText;
  std::size_t FSize;
  std::size_t FUsed = 0;
};

struct Measure {
  SIZE Extent{};
  // From the first column with ink to the last, as drawn: the extent
  // without the room the glyphs leave at either end.
  int InkWidth = 0;
  int LineHeight = 0;
  int Missing = 0;
};

// Drawn here, unclipped, on white: the columns that get any ink.
int InkWidth(HDC DC, const wchar_t* Text, int Length, SIZE Extent) {
  if (Length == 0 || Extent.cx <= 0 || Extent.cy <= 0) return 0;
  const int Width = Extent.cx + 2 * Extent.cy;
  BITMAPINFO Info{};
  Info.bmiHeader = {sizeof(BITMAPINFOHEADER), Width, -Extent.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* Bits = nullptr;
  const HBITMAP Bitmap = CreateDIBSection(DC, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  if (!Bitmap) return Extent.cx;
  const HGDIOBJ Old = SelectObject(DC, Bitmap);
  RECT All{0, 0, Width, Extent.cy};
  FillRect(DC, &All, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, RGB(0, 0, 0));
  TextOutW(DC, Extent.cy, 0, Text, Length);
  GdiFlush();
  const auto* Pixels = static_cast<const DWORD*>(Bits);
  int First = Width, Last = -1;
  for (int Y = 0; Y < Extent.cy; ++Y)
    for (int X = 0; X < Width; ++X)
      if ((Pixels[Y * Width + X] & 0xFFFFFF) != 0xFFFFFF) {
        if (X < First) First = X;
        if (X > Last) Last = X;
      }
  SelectObject(DC, Old);
  DeleteObject(Bitmap);
  return Last < First ? 0 : Last - First + 1;
}

Measure MeasureIn(HFONT Font, const wchar_t* Text) {
  Measure Result;
  const HDC DC = CreateCompatibleDC(nullptr);
  const HGDIOBJ Old = SelectObject(DC, Font ? Font : GetStockObject(SYSTEM_FONT));
  const int Length = static_cast<int>(std::wcslen(Text));
  TEXTMETRICW Metrics{};
  GetTextMetricsW(DC, &Metrics);
  Result.LineHeight = Metrics.tmHeight;
  GetTextExtentPoint32W(DC, Text, Length, &Result.Extent);
  Result.InkWidth = InkWidth(DC, Text, Length, Result.Extent);
  WORD Glyphs[MaxText];
  if (Length > 0 && GetGlyphIndicesW(DC, Text, Length, Glyphs, GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR)
    for (int Index = 0; Index < Length; ++Index) Result.Missing += Glyphs[Index] == 0xFFFF;
  SelectObject(DC, Old);
  DeleteDC(DC);
  return Result;
}

void AddLine(Lines& Out, const wchar_t* Kind, const RECT& Rect, bool Enabled, HFONT Font, const wchar_t* Text) {
  const Measure FText = MeasureIn(Font, Text);
  wchar_t Line[MaxText + 160];
  std::swprintf(Line, sizeof Line / sizeof *Line, L"%ls %ld %ld %ld %ld %d %ld %d %d %d %ls", Kind, Rect.left,
                Rect.top, Rect.right, Rect.bottom, Enabled ? 1 : 0, FText.Extent.cx, FText.InkWidth,
                FText.LineHeight, FText.Missing, Text);
  Out.Add(Line);
}

struct Walk {
  HWND Settings;
  Lines* Out;
};

void AddListEntries(const Walk& State, HWND List, const RECT& Rect, bool Enabled, HFONT Font) {
  const LRESULT Count = Ask(List, CB_GETCOUNT);
  for (LRESULT Index = 0; Index < Count; ++Index) {
    wchar_t Entry[MaxText] = {};
    if (Ask(List, CB_GETLBTEXTLEN, static_cast<WPARAM>(Index)) >= MaxText) continue;
    Ask(List, CB_GETLBTEXT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(Entry));
    AddLine(*State.Out, L"entry", Rect, Enabled, Font, Entry);
  }
}

BOOL CALLBACK AddWindow(HWND Window, LPARAM Param) {
  const Walk& State = *reinterpret_cast<Walk*>(Param);
  if (!IsWindowVisible(Window)) return TRUE;
  wchar_t Kind[64] = {};
  GetClassNameW(Window, Kind, 64);
  RECT Rect;
  GetWindowRect(Window, &Rect);
  MapWindowPoints(HWND_DESKTOP, State.Settings, reinterpret_cast<POINT*>(&Rect), 2);
  wchar_t Text[MaxText] = {};
  Ask(Window, WM_GETTEXT, MaxText, reinterpret_cast<LPARAM>(Text));
  const auto Font = reinterpret_cast<HFONT>(Ask(Window, WM_GETFONT));
  const bool Enabled = IsWindowEnabled(Window);
  AddLine(*State.Out, Kind, Rect, Enabled, Font, Text);
  if (std::wcscmp(Kind, L"TComboBox") == 0) AddListEntries(State, Window, Rect, Enabled, Font);
  return TRUE;
}

}  // namespace

void DescribeLayout(HWND Settings, char* Answer, std::size_t Size) {
  Lines Out(Answer, Size);
  RECT Client;
  GetClientRect(Settings, &Client);
  MapWindowPoints(Settings, HWND_DESKTOP, reinterpret_cast<POINT*>(&Client), 2);
  AddLine(Out, L"client", Client, IsWindowEnabled(Settings), reinterpret_cast<HFONT>(Ask(Settings, WM_GETFONT)), L"");
  Walk State{Settings, &Out};
  EnumChildWindows(Settings, AddWindow, reinterpret_cast<LPARAM>(&State));
  const COLORREF Shadow = GetSysColor(COLOR_BTNSHADOW);
  wchar_t Line[64];
  std::swprintf(Line, 64, L"shadow %d %d %d", GetRValue(Shadow), GetGValue(Shadow), GetBValue(Shadow));
  Out.Add(Line);
}

}  // namespace e2e

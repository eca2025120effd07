#pragma once

#include <cstdint>
#include <optional>

#ifdef _WIN32
#include <windows.h>

#include <memory>
#include <type_traits>
#endif

// Each pairing of the program's (take it, give it back) as one scope: what
// is taken is given back however the scope ends, an exception included.
// None of them can be copied. The first few are plain C++ (the desktop
// interface stands for the system) and build everywhere; the rest are
// Win32 only.
namespace tarnwick {

// Holds Flag up for its scope and lowers it at the end.
class TFlagScope {
 public:
  explicit TFlagScope(bool& Flag) : FFlag(Flag) { FFlag = true; }
  ~TFlagScope() { FFlag = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& FFlag;
};

// Holds the process's error mode at "fail critical errors" through Desk (an
// IDesktop) while it lives: a drive without media fails a query instead of
// raising the system's critical-error dialog.
template <class TDesk>
class TCriticalErrorsFail {
 public:
  explicit TCriticalErrorsFail(TDesk& Desk) : FDesk(Desk), FPrevious(Desk.SetErrorMode(FailCriticalErrors)) {}
  ~TCriticalErrorsFail() { FDesk.SetErrorMode(FPrevious); }
  TCriticalErrorsFail(const TCriticalErrorsFail&) = delete;
  TCriticalErrorsFail& operator=(const TCriticalErrorsFail&) = delete;

 private:
  // SEM_FAILCRITICALERRORS, spelled out for the builds without windows.h.
  static constexpr unsigned FailCriticalErrors = 0x0001;

  TDesk& FDesk;
  unsigned FPrevious;
};

// Holds the foreground lock timeout at 0 through Desk (an IDesktop) while it
// lives, which lets any process take the foreground. A timeout that cannot
// be read is not touched: putting back a guess would change the user's
// setting for the session.
template <class TDesk>
class TForegroundLockLifted {
 public:
  explicit TForegroundLockLifted(TDesk& Desk) : FDesk(Desk), FSaved(Desk.ForegroundLockTimeout()) {
    if (FSaved) FDesk.SetForegroundLockTimeout(0);
  }
  ~TForegroundLockLifted() {
    if (FSaved) FDesk.SetForegroundLockTimeout(*FSaved);
  }
  TForegroundLockLifted(const TForegroundLockLifted&) = delete;
  TForegroundLockLifted& operator=(const TForegroundLockLifted&) = delete;

 private:
  TDesk& FDesk;
  std::optional<std::uint32_t> FSaved;
};

#ifdef _WIN32

struct TGdiDeleter {
  void operator()(void* Object) const { DeleteObject(static_cast<HGDIOBJ>(Object)); }
};

// Owns a GDI object (a brush, font or bitmap) and deletes it when it goes.
template <class Handle>
using TGdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, TGdiDeleter>;

// A kernel handle (a file) that is closed when this goes; Close closes it
// sooner, for its answer.
class TFileHandle {
 public:
  explicit TFileHandle(HANDLE Handle) : FHandle(Handle) {}
  ~TFileHandle() {
    if (FHandle != INVALID_HANDLE_VALUE) CloseHandle(FHandle);
  }
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;
  HANDLE Get() const { return FHandle; }
  bool Close() {
    const HANDLE Handle = FHandle;
    FHandle = INVALID_HANDLE_VALUE;
    return CloseHandle(Handle) != 0;
  }

 private:
  HANDLE FHandle;
};

// A global block locked for reading, unlocked when this goes.
class TLockedBlock {
 public:
  explicit TLockedBlock(HGLOBAL Block) : FBlock(Block), FData(static_cast<const char*>(GlobalLock(Block))) {}
  ~TLockedBlock() {
    if (FData) GlobalUnlock(FBlock);
  }
  TLockedBlock(const TLockedBlock&) = delete;
  TLockedBlock& operator=(const TLockedBlock&) = delete;
  const char* Data() const { return FData; }

 private:
  HGLOBAL FBlock;
  const char* FData;
};

// BeginPaint and EndPaint as one scope: the paint ends however the painting
// does, so a paint that fails half way holds no device context.
class TPaintScope {
 public:
  explicit TPaintScope(HWND Window) : FWindow(Window), FDC(BeginPaint(Window, &FInfo)) {}
  ~TPaintScope() { EndPaint(FWindow, &FInfo); }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;

  HDC DC() const { return FDC; }
  // The part of the window to paint.
  const RECT& Area() const { return FInfo.rcPaint; }

 private:
  HWND FWindow;
  PAINTSTRUCT FInfo{};
  HDC FDC;
};

// The screen's device context, released when this goes.
class TScreenDC {
 public:
  TScreenDC() : FDC(GetDC(nullptr)) {}
  ~TScreenDC() { ReleaseDC(nullptr, FDC); }
  TScreenDC(const TScreenDC&) = delete;
  TScreenDC& operator=(const TScreenDC&) = delete;
  HDC Get() const { return FDC; }

 private:
  HDC FDC;
};

// Object selected into DC for the scope, and what it replaced selected back
// at the end. A null Object selects nothing.
class TSelectScope {
 public:
  TSelectScope(HDC DC, HGDIOBJ Object) : FDC(DC), FPrevious(Object ? SelectObject(DC, Object) : nullptr) {}
  ~TSelectScope() {
    if (FPrevious) SelectObject(FDC, FPrevious);
  }
  TSelectScope(const TSelectScope&) = delete;
  TSelectScope& operator=(const TSelectScope&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FPrevious;
};

// DC's whole state (font, clipping, modes) saved for the scope and put back
// at the end.
class TSavedDC {
 public:
  explicit TSavedDC(HDC DC) : FDC(DC), FSaved(SaveDC(DC)) {}
  ~TSavedDC() { RestoreDC(FDC, FSaved); }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

 private:
  HDC FDC;
  int FSaved;
};

// DC's stretch mode at Mode for the scope.
class TStretchModeScope {
 public:
  TStretchModeScope(HDC DC, int Mode) : FDC(DC), FPrevious(SetStretchBltMode(DC, Mode)) {}
  ~TStretchModeScope() { SetStretchBltMode(FDC, FPrevious); }
  TStretchModeScope(const TStretchModeScope&) = delete;
  TStretchModeScope& operator=(const TStretchModeScope&) = delete;

 private:
  HDC FDC;
  int FPrevious;
};

// DC's brush origin at X, Y for the scope.
class TBrushOriginScope {
 public:
  TBrushOriginScope(HDC DC, int X, int Y) : FDC(DC) { SetBrushOrgEx(DC, X, Y, &FPrevious); }
  ~TBrushOriginScope() { SetBrushOrgEx(FDC, FPrevious.x, FPrevious.y, nullptr); }
  TBrushOriginScope(const TBrushOriginScope&) = delete;
  TBrushOriginScope& operator=(const TBrushOriginScope&) = delete;

 private:
  HDC FDC;
  POINT FPrevious{};
};

// A memory device context with a bitmap of one size selected into it; the
// bitmap and the context go with it.
class TBufferDC {
 public:
  TBufferDC(HDC Screen, int Width, int Height)
      : FDC(CreateCompatibleDC(Screen)), FBitmap(CreateCompatibleBitmap(Screen, Width, Height)),
        FPrevious(SelectObject(FDC, FBitmap.get())) {}
  ~TBufferDC() {
    SelectObject(FDC, FPrevious);
    DeleteDC(FDC);
  }
  TBufferDC(const TBufferDC&) = delete;
  TBufferDC& operator=(const TBufferDC&) = delete;
  HDC Get() const { return FDC; }

 private:
  HDC FDC;
  TGdiObject<HBITMAP> FBitmap;
  HGDIOBJ FPrevious;
};

#endif  // _WIN32

}  // namespace tarnwick

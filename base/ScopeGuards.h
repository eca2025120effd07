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
  explicit TFlagScope(bool& Flag) : Flag_(Flag) { Flag_ = true; }
  ~TFlagScope() { Flag_ = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& Flag_;
};

// Holds the process's error mode at "fail critical errors" through Desk (an
// IDesktop) while it lives: a drive without media fails a query instead of
// raising the system's critical-error dialog.
template <class TDesk>
class CriticalErrorsFail {
 public:
  explicit CriticalErrorsFail(TDesk& Desk) : Desk_(Desk), Previous_(Desk.SetErrorMode(FailCriticalErrors)) {}
  ~CriticalErrorsFail() { Desk_.SetErrorMode(Previous_); }
  CriticalErrorsFail(const CriticalErrorsFail&) = delete;
  CriticalErrorsFail& operator=(const CriticalErrorsFail&) = delete;

 private:
  // SEM_FAILCRITICALERRORS, spelled out for the builds without windows.h.
  static constexpr unsigned FailCriticalErrors = 0x0001;

  TDesk& Desk_;
  unsigned Previous_;
};

// Holds the foreground lock timeout at 0 through Desk (an IDesktop) while it
// lives, which lets any process take the foreground. A timeout that cannot
// be read is not touched: putting back a guess would change the user's
// setting for the session.
template <class TDesk>
class ForegroundLockLifted {
 public:
  explicit ForegroundLockLifted(TDesk& Desk) : Desk_(Desk), Saved_(Desk.ForegroundLockTimeout()) {
    if (Saved_) Desk_.SetForegroundLockTimeout(0);
  }
  ~ForegroundLockLifted() {
    if (Saved_) Desk_.SetForegroundLockTimeout(*Saved_);
  }
  ForegroundLockLifted(const ForegroundLockLifted&) = delete;
  ForegroundLockLifted& operator=(const ForegroundLockLifted&) = delete;

 private:
  TDesk& Desk_;
  std::optional<std::uint32_t> Saved_;
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
class FileHandle {
 public:
  explicit FileHandle(HANDLE Handle) : Handle_(Handle) {}
  ~FileHandle() {
    if (Handle_ != INVALID_HANDLE_VALUE) CloseHandle(Handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE Get() const { return Handle_; }
  bool Close() {
    const HANDLE Handle = Handle_;
    Handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(Handle) != 0;
  }

 private:
  HANDLE Handle_;
};

// A global block locked for reading, unlocked when this goes.
class LockedBlock {
 public:
  explicit LockedBlock(HGLOBAL Block) : Block_(Block), Data_(static_cast<const char*>(GlobalLock(Block))) {}
  ~LockedBlock() {
    if (Data_) GlobalUnlock(Block_);
  }
  LockedBlock(const LockedBlock&) = delete;
  LockedBlock& operator=(const LockedBlock&) = delete;
  const char* Data() const { return Data_; }

 private:
  HGLOBAL Block_;
  const char* Data_;
};

// BeginPaint and EndPaint as one scope: the paint ends however the painting
// does, so a paint that fails half way holds no device context.
class TPaintScope {
 public:
  explicit TPaintScope(HWND Window) : Window_(Window), DC_(BeginPaint(Window, &Info_)) {}
  ~TPaintScope() { EndPaint(Window_, &Info_); }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;

  HDC DC() const { return DC_; }

 private:
  HWND Window_;
  PAINTSTRUCT Info_{};
  HDC DC_;
};

// The screen's device context, released when this goes.
class TScreenDC {
 public:
  TScreenDC() : DC_(GetDC(nullptr)) {}
  ~TScreenDC() { ReleaseDC(nullptr, DC_); }
  TScreenDC(const TScreenDC&) = delete;
  TScreenDC& operator=(const TScreenDC&) = delete;
  HDC Get() const { return DC_; }

 private:
  HDC DC_;
};

// Object selected into DC for the scope, and what it replaced selected back
// at the end. A null Object selects nothing.
class TSelectScope {
 public:
  TSelectScope(HDC DC, HGDIOBJ Object) : DC_(DC), Previous_(Object ? SelectObject(DC, Object) : nullptr) {}
  ~TSelectScope() {
    if (Previous_) SelectObject(DC_, Previous_);
  }
  TSelectScope(const TSelectScope&) = delete;
  TSelectScope& operator=(const TSelectScope&) = delete;

 private:
  HDC DC_;
  HGDIOBJ Previous_;
};

// DC's whole state (font, clipping, modes) saved for the scope and put back
// at the end.
class TSavedDC {
 public:
  explicit TSavedDC(HDC DC) : DC_(DC), Saved_(SaveDC(DC)) {}
  ~TSavedDC() { RestoreDC(DC_, Saved_); }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

 private:
  HDC DC_;
  int Saved_;
};

// DC's stretch mode at Mode for the scope.
class TStretchModeScope {
 public:
  TStretchModeScope(HDC DC, int Mode) : DC_(DC), Previous_(SetStretchBltMode(DC, Mode)) {}
  ~TStretchModeScope() { SetStretchBltMode(DC_, Previous_); }
  TStretchModeScope(const TStretchModeScope&) = delete;
  TStretchModeScope& operator=(const TStretchModeScope&) = delete;

 private:
  HDC DC_;
  int Previous_;
};

// DC's brush origin at X, Y for the scope.
class TBrushOriginScope {
 public:
  TBrushOriginScope(HDC DC, int X, int Y) : DC_(DC) { SetBrushOrgEx(DC, X, Y, &Previous_); }
  ~TBrushOriginScope() { SetBrushOrgEx(DC_, Previous_.x, Previous_.y, nullptr); }
  TBrushOriginScope(const TBrushOriginScope&) = delete;
  TBrushOriginScope& operator=(const TBrushOriginScope&) = delete;

 private:
  HDC DC_;
  POINT Previous_{};
};

// A memory device context with a bitmap of one size selected into it; the
// bitmap and the context go with it.
class TBufferDC {
 public:
  TBufferDC(HDC Screen, int Width, int Height)
      : DC_(CreateCompatibleDC(Screen)), Bitmap_(CreateCompatibleBitmap(Screen, Width, Height)),
        Previous_(SelectObject(DC_, Bitmap_.get())) {}
  ~TBufferDC() {
    SelectObject(DC_, Previous_);
    DeleteDC(DC_);
  }
  TBufferDC(const TBufferDC&) = delete;
  TBufferDC& operator=(const TBufferDC&) = delete;
  HDC Get() const { return DC_; }

 private:
  HDC DC_;
  TGdiObject<HBITMAP> Bitmap_;
  HGDIOBJ Previous_;
};

#endif  // _WIN32

}  // namespace tarnwick

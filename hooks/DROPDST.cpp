#include "DROPDST.h"

#include <vector>

#include "Application.h"

namespace tarnwick {
namespace {

// Name number Index of the drop, whole whatever its length.
std::wstring DroppedFileName(HDROP Drop, UINT Index) {
  std::vector<wchar_t> Buffer(DragQueryFileW(Drop, Index, nullptr, 0) + 1, L'\0');
  DragQueryFileW(Drop, Index, Buffer.data(), static_cast<UINT>(Buffer.size()));
  return Buffer.data();
}

}  // namespace

TDropDst::TDropDst(TComponent* AOwner) : TControlHook(AOwner) {}

void TDropDst::SetAcceptDrop(bool Value) {
  if (Value == FAcceptDrop) return;
  FAcceptDrop = Value;
  UpdateAcceptDrop();
}

void TDropDst::Loaded() {
  TControlHook::Loaded();
  UpdateAcceptDrop();
}

void TDropDst::HandleChanged(std::uint8_t Code) {
  TControlHook::HandleChanged(Code);
  UpdateAcceptDrop();
}

void TDropDst::UpdateAcceptDrop() {
  // Covers no window, the pending handle and a stale one.
  if (FHWndHookTarget && IsWindow(FHWndHookTarget)) DragAcceptFiles(FHWndHookTarget, FAcceptDrop);
}

void TDropDst::WndProc(TMessage& Message) {
  if (Message.Msg != WM_DROPFILES) return TControlHook::WndProc(Message);
  const auto Drop = reinterpret_cast<HDROP>(Message.WParam);
  try {
    DoFileDrop(Drop);
  } catch (...) {
    Application().HandleException(this);
  }
  DragFinish(Drop);
}

void TDropDst::DoFileDrop(HDROP Drop) {
  if (!FOnFileDrop) return;
  TStrings Files;
  const UINT Count = DragQueryFileW(Drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT Index = 0; Index < Count; ++Index) Files.push_back(DroppedFileName(Drop, Index));
  POINT Point{};
  DragQueryPoint(Drop, &Point);
  FOnFileDrop(this, Files, Point.x, Point.y);
}

}  // namespace tarnwick

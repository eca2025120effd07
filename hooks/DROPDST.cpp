#include "hooks/DROPDST.h"

#include <shlobj.h>

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>

#include "framework/Application.h"
#include "base/ScopeGuards.h"

namespace tarnwick {
namespace {

// A fixed block is its own address. Any address into the heap can pass for
// one by its size; the heap's own check of the block cannot be fooled so.
bool IsHeapBlock(HGLOBAL Block) { return HeapValidate(GetProcessHeap(), 0, Block); }

bool IsReadableProtection(DWORD Protect) {
  constexpr DWORD Readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                             PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
  return (Protect & Readable) && !(Protect & PAGE_GUARD);
}

// Whether all Size bytes at Data are committed memory that may be read: a
// handle from elsewhere can make the heap report a block that is not there.
bool IsReadable(const char* Data, SIZE_T Size) {
  for (const char *At = Data, *End = Data + Size; At < End;) {
    MEMORY_BASIC_INFORMATION Region;
    if (!VirtualQuery(At, &Region, sizeof Region) || Region.State != MEM_COMMIT ||
        !IsReadableProtection(Region.Protect))
      return false;
    At = static_cast<const char*>(Region.BaseAddress) + Region.RegionSize;
  }
  return true;
}

// The names of a list of Unit-sized characters in Bytes: each ended by a
// NUL, the list by an empty name. None when the list runs past the bytes.
template <typename Unit, typename Widen>
std::optional<TStrings> NameList(const char* Bytes, std::size_t Size, Widen ToWide) {
  TStrings Names;
  std::basic_string<Unit> Name;
  for (std::size_t At = 0; At + sizeof(Unit) <= Size; At += sizeof(Unit)) {
    Unit Character;
    std::memcpy(&Character, Bytes + At, sizeof Character);  // not aligned for wide lists
    if (Character != 0) {
      Name.push_back(Character);
    } else if (Name.empty()) {
      return Names;
    } else {
      Names.push_back(ToWide(Name));
      Name.clear();
    }
  }
  return std::nullopt;
}

std::wstring FromAnsi(const std::string& Name) {
  const int Length = MultiByteToWideChar(CP_ACP, 0, Name.data(), static_cast<int>(Name.size()), nullptr, 0);
  std::wstring Wide(static_cast<std::size_t>(Length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, Name.data(), static_cast<int>(Name.size()), Wide.data(), Length);
  return Wide;
}

struct TDropContents {
  TStrings Files;
  POINT Point;
  // A movable block, as the shell makes them: this process's to free. Any
  // live block of the process heap can pass for a fixed one, so a fixed
  // block is only read; freeing it could pull memory from under its owner.
  bool Finish;
};

// The block's header as the shell lays it out in every build: the names'
// offset, the drop point, then two flags, 20 bytes.
static_assert(offsetof(DROPFILES, pFiles) == 0 && offsetof(DROPFILES, pt) == 4);
static_assert(offsetof(DROPFILES, fNC) == 12 && offsetof(DROPFILES, fWide) == 16 && sizeof(DROPFILES) == 20);

// What the drop block holds, or none when Block is not a well-formed drop
// block of this process: WM_DROPFILES can come from any program with any
// value, which is then nobody's block, or one this process uses otherwise.
//
// The block is read here rather than through DragQueryFile, which takes
// the handle on trust: it locks whatever value it is given and reads each
// name up to its NUL, however far past the block's end that lies, and it
// copies a name into a caller's buffer of fixed size, cutting a longer one
// (a path past MAX_PATH) short. Here every value is checked to be a
// readable heap block first, no name is read past the block's size, and a
// name of any length comes whole.
std::optional<TDropContents> ReadDropBlock(HGLOBAL Block) {
  const SIZE_T Size = GlobalSize(Block);
  if (Size < sizeof(DROPFILES)) return std::nullopt;
  const TLockedBlock Locked(Block);
  const char* Data = Locked.Data();
  if (!Data || (Data == Block && !IsHeapBlock(Block)) || !IsReadable(Data, Size)) return std::nullopt;
  DROPFILES Header;
  std::memcpy(&Header, Data, sizeof Header);
  if (Header.pFiles < sizeof(DROPFILES) || Header.pFiles >= Size) return std::nullopt;
  const char* List = Data + Header.pFiles;
  const std::size_t ListSize = Size - Header.pFiles;
  auto Files = Header.fWide ? NameList<wchar_t>(List, ListSize, [](const std::wstring& Name) { return Name; })
                            : NameList<char>(List, ListSize, FromAnsi);
  // A drop holds at least one name.
  if (!Files || Files->empty()) return std::nullopt;
  return TDropContents{std::move(*Files), Header.pt, Data != Block};
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
  const auto Block = reinterpret_cast<HGLOBAL>(Message.WParam);
  std::optional<TDropContents> Contents;
  try {
    Contents = ReadDropBlock(Block);
    if (Contents && FOnFileDrop) FOnFileDrop(this, Contents->Files, Contents->Point.x, Contents->Point.y);
  } catch (...) {
    Application().HandleException(this);
  }
  if (Contents && Contents->Finish) DragFinish(static_cast<HDROP>(Block));
}

}  // namespace tarnwick

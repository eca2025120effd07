#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "hooks/DROPDST.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "tests/framework/TestSupport.h"

using namespace tarnwick;
using tarnwick::testing::RecordingDesktop;
using tarnwick::testing::ShellDrop;

namespace {

bool Released(HGLOBAL Drop) { return GlobalFlags(Drop) == GMEM_INVALID_HANDLE; }

// A freed fixed block is no longer a block of the heap.
bool ReleasedFixed(HGLOBAL Drop) { return !HeapValidate(GetProcessHeap(), 0, Drop); }

// The bytes of a drop block: DROPFILES with List at pFiles (Gap bytes after
// the header), as any program may make one.
std::string DropBytes(const std::string& List, bool Wide = true, DWORD Gap = 0, POINT Point = {5, 6}) {
  DROPFILES Header{};
  Header.pFiles = sizeof(DROPFILES) + Gap;
  Header.pt = Point;
  Header.fWide = Wide;
  std::string Bytes(reinterpret_cast<const char*>(&Header), sizeof Header);
  return Bytes + std::string(Gap, '\x7f') + List;
}

// Names as a wide list's bytes, each ended by a NUL, and the final NUL.
std::string WideList(const std::vector<std::wstring>& Names, bool Ended = true) {
  std::wstring Units;
  for (const std::wstring& Name : Names) Units += Name + L'\0';
  if (Ended) Units += L'\0';
  return std::string(reinterpret_cast<const char*>(Units.data()), Units.size() * sizeof(wchar_t));
}

HGLOBAL GlobalBlock(const std::string& Bytes, UINT Flags = GHND) {
  const HGLOBAL Block = GlobalAlloc(Flags, Bytes.size());
  if (!Bytes.empty()) {
    std::memcpy(GlobalLock(Block), Bytes.data(), Bytes.size());
    GlobalUnlock(Block);
  }
  return Block;
}

bool AcceptsFiles(HWND Window) { return GetWindowLongPtrW(Window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES; }

void SetAcceptsFiles(HWND Window, bool Value) {
  const LONG_PTR Style = GetWindowLongPtrW(Window, GWL_EXSTYLE);
  SetWindowLongPtrW(Window, GWL_EXSTYLE, Value ? Style | WS_EX_ACCEPTFILES : Style & ~WS_EX_ACCEPTFILES);
}

// A window that carries a drop target on itself, as the settings window
// does, and counts the drops that reach its own handling.
class TDropForm : public TForm {
 public:
  TDropForm() : TForm(nullptr) {
    SetBorderStyle(bsNone);
    SetBounds(0, 0, 200, 150);
    DropDst = new TDropDst(this);
    DropDst->SetTarget(htForm);
    CompleteLoading();
  }
  TDropDst* DropDst;
  int DropsReachingForm = 0;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_DROPFILES) ++DropsReachingForm;
    TForm::WndProc(Message);
  }
};

struct TDrop {
  TObject* Sender = nullptr;
  TStrings Files;
  int X = 0;
  int Y = 0;
};

class DropTargetTest : public ::testing::Test {
 protected:
  void Listen() {
    Form.DropDst->SetOnFileDrop([this](TObject* Sender, const TStrings& Files, int X, int Y) {
      Drops.push_back({Sender, Files, X, Y});
    });
  }
  HDROP DropOnForm(const std::vector<std::wstring>& Files, POINT Point = {}) {
    const HDROP Drop = ShellDrop(Files, Point);
    SendMessageW(Form.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(Drop), 0);
    return Drop;
  }
  void Send(const void* Handle) {
    SendMessageW(Form.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(Handle), 0);
  }
  // Sends a block that must be ignored: no event and the block left alone.
  void ExpectIgnored(const std::string& Bytes) {
    const HGLOBAL Block = GlobalBlock(Bytes);
    Drops.clear();
    Send(Block);
    EXPECT_TRUE(Drops.empty());
    EXPECT_FALSE(Released(Block));
    GlobalFree(Block);
  }
  // Sends a well-formed block: one event with exactly Files; a movable
  // block is finished, a fixed one (which any heap block could pass for)
  // only read.
  void ExpectDrop(const std::string& Bytes, const TStrings& Files, UINT Flags = GHND) {
    const HGLOBAL Block = GlobalBlock(Bytes, Flags);
    Drops.clear();
    Send(Block);
    ASSERT_EQ(Drops.size(), 1u);
    EXPECT_EQ(Drops[0].Files, Files);
    if (Flags & GMEM_MOVEABLE) {
      EXPECT_TRUE(Released(Block));
    } else {
      EXPECT_FALSE(ReleasedFixed(Block));
      GlobalFree(Block);
    }
  }

  RecordingDesktop Desktop;
  TDesktopOverride Override{Desktop};
  TDropForm Form;
  std::vector<TDrop> Drops;
};

TEST_F(DropTargetTest, ReportsEachDropOnceWithAllNamesInOrderAndTheClientPoint) {
  Listen();
  const std::wstring Long = L"C:\\" + std::wstring(330, L'x') + L"\\y.png";  // 338 characters
  const HDROP Drop = DropOnForm({L"C:\\pics\\Cat.JPG", Long, L"C:\\Chime.WAV"}, {12, 34});
  ASSERT_EQ(Drops.size(), 1u);
  EXPECT_EQ(Drops[0].Sender, Form.DropDst);
  EXPECT_EQ(Drops[0].Files, (TStrings{L"C:\\pics\\Cat.JPG", Long, L"C:\\Chime.WAV"}));
  EXPECT_EQ(Drops[0].X, 12);
  EXPECT_EQ(Drops[0].Y, 34);
  EXPECT_TRUE(Released(Drop));
  EXPECT_EQ(Form.DropsReachingForm, 0);
}

TEST_F(DropTargetTest, WithoutAHandlerTheDropIsOnlyFinished) {
  const HDROP Drop = ShellDrop({L"C:\\a.gif"}, {});
  ASSERT_FALSE(Released(Drop));
  SendMessageW(Form.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(Drop), 0);
  EXPECT_TRUE(Drops.empty());
  EXPECT_TRUE(Released(Drop));
}

TEST_F(DropTargetTest, AnErrorInTheHandlerIsReportedAndTheDropStillFinished) {
  Form.DropDst->SetOnFileDrop([](TObject*, const TStrings&, int, int) { throw Exception("壊れた画像"); });
  const HDROP Drop = DropOnForm({L"C:\\a.gif"});
  ASSERT_EQ(Desktop.ErrorReports.size(), 1u);
  EXPECT_EQ(Desktop.ErrorReports[0].Text, L"壊れた画像.");
  EXPECT_TRUE(Released(Drop));
  EXPECT_EQ(Form.DropsReachingForm, 0);
}

TEST_F(DropTargetTest, AcceptDropRegistersTheWindowOnlyWhenItChanges) {
  const HWND Window = Form.Handle();
  EXPECT_TRUE(Form.DropDst->AcceptDrop());
  EXPECT_TRUE(AcceptsFiles(Window));

  // The same value makes no call: a registration withdrawn behind its
  // back stays withdrawn.
  SetAcceptsFiles(Window, false);
  Form.DropDst->SetAcceptDrop(true);
  EXPECT_FALSE(AcceptsFiles(Window));
  SetAcceptsFiles(Window, true);
  Form.DropDst->SetAcceptDrop(false);
  EXPECT_FALSE(AcceptsFiles(Window));

  // Drops still arrive and are handled while not accepted.
  Listen();
  DropOnForm({L"C:\\a.bmp"});
  EXPECT_EQ(Drops.size(), 1u);
}

TEST_F(DropTargetTest, ANewWindowIsRegisteredWithTheCurrentSetting) {
  Form.RecreateWnd();
  EXPECT_TRUE(AcceptsFiles(Form.Handle()));
  Form.DropDst->SetAcceptDrop(false);
  Form.RecreateWnd();
  EXPECT_FALSE(AcceptsFiles(Form.Handle()));

  Listen();
  DropOnForm({L"C:\\a.png"});
  EXPECT_EQ(Drops.size(), 1u);
}

TEST_F(DropTargetTest, ReadsEveryWellFormedBlock) {
  Listen();
  const struct {
    const char* Case;
    std::string Bytes;
    UINT Flags;
    TStrings Files;
  } Cases[] = {
      {"ANSI names", DropBytes(std::string("C:\\a.gif\0C:\\b.png\0\0", 19), false), GHND,
       {L"C:\\a.gif", L"C:\\b.png"}},
      {"list after a gap, not aligned", DropBytes(WideList({L"C:\\猫.jpg"}), true, 3), GHND, {L"C:\\猫.jpg"}},
      {"fixed block, read and kept", DropBytes(WideList({L"C:\\a.bmp"})), GPTR, {L"C:\\a.bmp"}},
      {"trailing bytes after the list", DropBytes(WideList({L"C:\\a"}) + "junk"), GHND, {L"C:\\a"}},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Case);
    ExpectDrop(Case.Bytes, Case.Files, Case.Flags);
  }
  // The last drop's point, from the block.
  ASSERT_EQ(Drops.size(), 1u);
  EXPECT_EQ(Drops[0].X, 5);
  EXPECT_EQ(Drops[0].Y, 6);
}

TEST_F(DropTargetTest, ReportsThousandsOfNames) {
  Listen();
  std::vector<std::wstring> Names;
  for (int Index = 0; Index < 5000; ++Index) Names.push_back(L"C:\\" + std::to_wstring(Index) + L".png");
  ExpectDrop(DropBytes(WideList(Names)), Names);
}

TEST_F(DropTargetTest, IgnoresAndKeepsMalformedBlocks) {
  Listen();
  const std::string Named = WideList({L"C:\\a.png", L"C:\\b.png"});
  const auto WithFiles = [](std::string Bytes, DWORD Files) {
    std::memcpy(Bytes.data(), &Files, sizeof Files);
    return Bytes;
  };
  const struct {
    const char* Case;
    std::string Bytes;
  } Cases[] = {
      {"no bytes", ""},
      {"shorter than the header", DropBytes("").substr(0, 12)},
      {"header only", DropBytes("")},
      {"list past the end", WithFiles(DropBytes(Named), 4096)},
      {"list inside the header", WithFiles(DropBytes(Named), 8)},
      {"no final NUL", DropBytes(WideList({L"C:\\a.png"}, false))},
      {"no NUL at all", DropBytes(WideList({}, false) + "C\0:\0")},
      {"half a character at the end", DropBytes(Named.substr(0, Named.size() - 1))},
      {"ANSI list without its end", DropBytes(std::string("C:\\a.gif\0", 9), false)},
      {"no names", DropBytes(WideList({}))},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Case);
    ExpectIgnored(Case.Bytes);
  }
}

TEST_F(DropTargetTest, IgnoresValuesThatAreNoBlockOfThisProcess) {
  Listen();
  // A well-formed drop that is not a global block: on the stack, and
  // inside a global block.
  const std::string Bytes = DropBytes(WideList({L"C:\\a.png"}));
  alignas(16) char OnStack[64] = {};
  std::memcpy(OnStack, Bytes.data(), Bytes.size());
  const HGLOBAL Around = GlobalBlock(std::string(32, '\0') + Bytes, GPTR);
  const HGLOBAL Freed = GlobalBlock(Bytes);
  GlobalFree(Freed);
  const void* Values[] = {nullptr,
                          reinterpret_cast<void*>(1),
                          reinterpret_cast<void*>(0x10008),
                          reinterpret_cast<void*>(UINT_PTR(0xDEADBEEF0)),
                          reinterpret_cast<void*>(~UINT_PTR(0)),
                          OnStack,
                          static_cast<const char*>(Around) + 32,
                          Freed};
  for (const void* Value : Values) Send(Value);
  EXPECT_TRUE(Drops.empty());
  EXPECT_EQ(Desktop.ErrorReports.size(), 0u);
  EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, Around)) << "the block around a drop was freed";
  GlobalFree(Around);
}

// Blocks built at random, each either well-formed or broken in a way that
// must make it ignored.
TEST_F(DropTargetTest, SurvivesARandomBatchOfBlocks) {
  Listen();
  constexpr unsigned Seed = 20261210;
  SCOPED_TRACE(::testing::Message() << "seed " << Seed);
  std::mt19937 Random(Seed);
  const auto Below = [&](unsigned Limit) { return std::uniform_int_distribution<unsigned>(0, Limit - 1)(Random); };
  for (int Round = 0; Round < 400; ++Round) {
    std::vector<std::wstring> Names(1 + Below(5));
    for (std::wstring& Name : Names) {
      Name.resize(1 + Below(300));
      for (wchar_t& Unit : Name) Unit = static_cast<wchar_t>(1 + Below(0xFFFF));
    }
    const std::string Whole = DropBytes(WideList(Names), true, Below(8));
    switch (Below(3)) {
      case 0:
        ExpectDrop(Whole, Names);
        break;
      case 1:  // cut before the final NUL is whole
        ExpectIgnored(Whole.substr(0, Whole.size() - 1 - Below(static_cast<unsigned>(Whole.size()))));
        break;
      default: {  // the list placed anywhere outside the block
        std::string Bytes = Whole;
        const DWORD Files = Below(2) ? Below(sizeof(DROPFILES)) : static_cast<DWORD>(Whole.size()) + Below(1 << 20);
        std::memcpy(Bytes.data(), &Files, sizeof Files);
        ExpectIgnored(Bytes);
      }
    }
  }
}

}  // namespace

#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <string>
#include <vector>

#include "DROPDST.h"
#include "Exception.h"
#include "Form.h"
#include "TestSupport.h"

using namespace tarnwick;
using tarnwick::testing::RecordingDesktop;
using tarnwick::testing::ShellDrop;

namespace {

bool Released(HDROP Drop) { return GlobalFlags(Drop) == GMEM_INVALID_HANDLE; }

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

  RecordingDesktop Desktop;
  DesktopOverride Override{Desktop};
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

}  // namespace

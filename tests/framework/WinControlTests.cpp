#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "framework/Edit.h"
#include "framework/Form.h"

using namespace tarnwick;

namespace {

// Puts itself in a control's WindowProc, writes down every message and
// hands it on to the procedure it replaced.
class TMessageLog {
 public:
  explicit TMessageLog(TWinControl& Control) : FControl(Control), FSaved(Control.WindowProc()) {
    Control.SetWindowProc(Method());
  }
  ~TMessageLog() { FControl.SetWindowProc(FSaved); }

  TWndMethod Method() { return TWndMethod::Bind<&TMessageLog::Record>(this); }
  void Record(TMessage& Message) {
    Messages.push_back(Message.Msg);
    FSaved(Message);
  }
  // Whether the messages came in this order (others may come between).
  bool Saw(std::initializer_list<UINT> Order) const {
    auto At = Messages.begin();
    for (UINT Msg : Order) {
      At = std::find(At, Messages.end(), Msg);
      if (At == Messages.end()) return false;
      ++At;
    }
    return true;
  }
  std::vector<UINT> Messages;

 private:
  TWinControl& FControl;
  TWndMethod FSaved;
};

TEST(WinControl, WindowProcSeesTheWindowMadeDestroyedAndMadeAgain) {
  TForm Form(nullptr);
  const TWndMethod Own = Form.WindowProc();
  {
    TMessageLog Log(Form);
    const HWND First = Form.Handle();
    EXPECT_TRUE(Log.Saw({WM_NCCREATE, WM_CREATE}));

    Log.Messages.clear();
    Form.RecreateWnd();
    EXPECT_TRUE(Log.Saw({WM_DESTROY, WM_NCDESTROY, WM_NCCREATE, WM_CREATE}));
    EXPECT_FALSE(IsWindow(First));
    EXPECT_TRUE(IsWindow(Form.Handle()));
    EXPECT_EQ(Form.WindowProc(), Log.Method());
  }
  EXPECT_EQ(Form.WindowProc(), Own);
}

TEST(WinControl, WindowProcOfASystemControlSeesItsWindowMade) {
  TForm Form(nullptr);
  auto* Edit = new TEdit(&Form);
  Edit->SetParent(&Form);
  TMessageLog Log(*Edit);
  Edit->Handle();
  EXPECT_TRUE(Log.Saw({WM_NCCREATE, WM_CREATE}));
  SetWindowTextW(Edit->Handle(), L"typed");
  EXPECT_EQ(Edit->Text(), L"typed");  // the system class still does its work
}

TEST(WinControl, ParentHandsAChildsNotificationBackToTheChild) {
  TForm Form(nullptr);
  auto* Child = new TWinControl(&Form);
  Child->SetParent(&Form);
  TMessageLog Log(*Child);
  SendMessageW(Form.Handle(), WM_COMMAND, MAKEWPARAM(0, 1), reinterpret_cast<LPARAM>(Child->Handle()));
  EXPECT_TRUE(Log.Saw({CN_COMMAND}));
}

TEST(WinControl, AlignedControlsShareTheClientAreaInSideOrder) {
  TForm Form(nullptr);
  Form.SetBorderStyle(bsNone);
  Form.SetBounds(0, 0, 368, 304);
  auto Place = [&](TWinControl* Parent, TAlign Align, int Width, int Height) {
    auto* Control = new TWinControl(&Form);
    Control->SetParent(Parent);
    Control->SetBounds(0, 0, Width, Height);
    Control->SetAlign(Align);
    return Control;
  };
  // Put in out of side order: the client control first.
  TWinControl* Middle = Place(&Form, alClient, 10, 10);
  TWinControl* Top = Place(&Form, alTop, 10, 63);
  TWinControl* Bottom = Place(&Form, alBottom, 10, 100);
  TWinControl* Hidden = Place(&Form, alBottom, 10, 40);
  Hidden->SetVisible(false);
  TWinControl* Left = Place(Top, alLeft, 181, 10);
  TWinControl* Right = Place(Top, alRight, 181, 10);

  const auto BoundsOf = [](TControl* Control) {
    return std::vector<int>{Control->Left(), Control->Top(), Control->Width(), Control->Height()};
  };
  EXPECT_EQ(BoundsOf(Top), (std::vector<int>{0, 0, 368, 63}));
  EXPECT_EQ(BoundsOf(Bottom), (std::vector<int>{0, 204, 368, 100}));
  EXPECT_EQ(BoundsOf(Middle), (std::vector<int>{0, 63, 368, 141}));
  EXPECT_EQ(BoundsOf(Left), (std::vector<int>{0, 0, 181, 63}));
  EXPECT_EQ(BoundsOf(Right), (std::vector<int>{187, 0, 181, 63}));

  // A new size lines them up again, windows included.
  Form.SetBounds(0, 0, 300, 250);
  EXPECT_EQ(BoundsOf(Middle), (std::vector<int>{0, 63, 300, 87}));
  RECT Window;
  GetWindowRect(Middle->Handle(), &Window);
  MapWindowPoints(HWND_DESKTOP, Form.Handle(), reinterpret_cast<POINT*>(&Window), 2);
  EXPECT_EQ(Window.top, 63);
  EXPECT_EQ(Window.bottom - Window.top, 87);
}

}  // namespace

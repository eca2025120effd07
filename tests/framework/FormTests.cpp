#include <gtest/gtest.h>

#include <string>

#include "framework/Application.h"
#include "framework/ApplicationEvents.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "tests/framework/TestSupport.h"

using namespace tarnwick;
using tarnwick::testing::RecordingDesktop;
using tarnwick::testing::ProcessMessages;

namespace {

class FormTest : public ::testing::Test {
 protected:
  RecordingDesktop Desktop;
  TDesktopOverride Override{Desktop};
};

LONG_PTR StyleOf(HWND Window) { return GetWindowLongPtrW(Window, GWL_STYLE); }

TEST_F(FormTest, BorderStylesGiveTheirFrames) {
  TForm Form(nullptr);
  Form.SetBorderStyle(bsNone);
  EXPECT_EQ(StyleOf(Form.Handle()) & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME), WS_POPUP);

  // Changing the frame of an existing window makes the window again.
  Form.SetBorderIcons(biSystemMenu | biMinimize);
  Form.SetBorderStyle(bsSingle);
  const LONG_PTR Style = StyleOf(Form.Handle());
  EXPECT_EQ(Style & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(Style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), WS_SYSMENU | WS_MINIMIZEBOX);
  // Owned by the application window, so it has no taskbar entry of its own.
  EXPECT_EQ(GetWindow(Form.Handle(), GW_OWNER), Application().Handle());
}

TEST_F(FormTest, StayOnTopMakesATopmostWindow) {
  TForm Form(nullptr);
  Form.SetFormStyle(fsStayOnTop);
  EXPECT_TRUE(GetWindowLongPtrW(Form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  Form.SetFormStyle(fsNormal);
  EXPECT_FALSE(GetWindowLongPtrW(Form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(FormTest, KeyPreviewLetsTheFormSeeAControlsKeysFirst) {
  TForm Form(nullptr);
  auto* Child = new TWinControl(&Form);
  Child->SetParent(&Form);
  std::wstring Log;
  Form.OnKeyPress = [&](TObject*, wchar_t& Key) {
    Log += L"form ";
    Key = Key == L'x' ? L'\0' : L'B';
  };
  Child->OnKeyPress = [&](TObject*, wchar_t& Key) { Log += Key; };

  SendMessageW(Child->Handle(), WM_CHAR, L'a', 0);
  EXPECT_EQ(Log, L"a");
  Form.SetKeyPreview(true);
  Log.clear();
  SendMessageW(Child->Handle(), WM_CHAR, L'a', 0);
  EXPECT_EQ(Log, L"form B");
  Log.clear();
  SendMessageW(Child->Handle(), WM_CHAR, L'x', 0);
  EXPECT_EQ(Log, L"form ");
}

TEST_F(FormTest, ShowRaisesOnShowFirstAndCentresAndCloseAsksFirst) {
  TForm Form(nullptr);
  Form.SetBorderStyle(bsNone);
  Form.SetBounds(50, 60, 120, 80);
  bool VisibleInOnShow = true;
  int Hidden = 0;
  bool MayClose = false;
  Form.OnShow = [&](TObject*) { VisibleInOnShow = IsWindowVisible(Form.Handle()); };
  Form.OnHide = [&](TObject*) { ++Hidden; };
  Form.OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = MayClose; };

  Form.SetPosition(poWorkAreaCenter);
  Form.Show();
  EXPECT_FALSE(VisibleInOnShow);
  EXPECT_TRUE(IsWindowVisible(Form.Handle()));
  RECT Work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &Work, 0);
  EXPECT_EQ(Form.Left(), Work.left + (Work.right - Work.left - 120) / 2);
  EXPECT_EQ(Form.Top(), Work.top + (Work.bottom - Work.top - 80) / 2);
  Form.Close();
  EXPECT_TRUE(IsWindowVisible(Form.Handle()));
  MayClose = true;
  SendMessageW(Form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(Form.Handle()));
  EXPECT_FALSE(Form.Visible());
  EXPECT_EQ(Hidden, 1);
  EXPECT_TRUE(IsWindow(Form.Handle()));
}

TEST_F(FormTest, TheSystemsEndOfSessionQueryAsksOnCloseQuery) {
  TForm Form(nullptr);
  Form.OnCloseQuery = [](TObject*, bool&) { throw Exception("cannot save"); };
  EXPECT_EQ(SendMessageW(Form.Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);
  EXPECT_EQ(Desktop.ErrorReports.size(), 1u);
  Form.OnCloseQuery = nullptr;
  EXPECT_EQ(SendMessageW(Form.Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
}

// Tells when the component it watches is freed.
class TFreeWatch : public TComponent {
 public:
  explicit TFreeWatch(TComponent* Watched) : TComponent(nullptr) { Watched->FreeNotification(this); }
  bool Freed = false;

 protected:
  void Notification(TComponent*, TOperation Operation) override { Freed = Freed || Operation == opRemove; }
};

TEST_F(FormTest, ReleaseFreesTheFormAfterTheHandlerReturns) {
  auto* Form = new TForm(&Application());
  TFreeWatch Watch(Form);
  bool AliveAfterRelease = false;
  Form->OnKeyPress = [&](TObject*, wchar_t&) {
    Form->Release();
    Form->SetCaption(L"still here");
    AliveAfterRelease = !Watch.Freed;
  };
  const HWND Window = Form->Handle();
  SendMessageW(Window, WM_CHAR, L'a', 0);
  EXPECT_TRUE(AliveAfterRelease);
  EXPECT_FALSE(Watch.Freed);
  ProcessMessages();
  EXPECT_TRUE(Watch.Freed);
  EXPECT_FALSE(IsWindow(Window));
}

TEST_F(FormTest, AnErrorInOnCreateIsReportedAndTheFormIsMade) {
  class TFailingCreate : public TForm {
   public:
    TFailingCreate() : TForm(nullptr) {
      OnCreate = [](TObject*) { throw Exception("settings unreadable"); };
      CompleteLoading();
    }
  } Form;
  ASSERT_EQ(Desktop.ErrorReports.size(), 1u);
  EXPECT_EQ(Desktop.ErrorReports[0].Text, L"settings unreadable.");
}

// The main form, made the way the program makes it, freed at the end.
class MainFormTest : public FormTest {
 protected:
  void TearDown() override { delete Application().MainForm(); }
  TForm* MainForm = Application().CreateForm<TForm>();
};

TEST_F(MainFormTest, TheApplicationWindowCarriesTheTaskbarEntryWhileTheMainFormShows) {
  const HWND AppWindow = Application().Handle();
  MainForm->SetBorderStyle(bsNone);
  EXPECT_FALSE(IsWindowVisible(AppWindow));
  MainForm->Show();
  EXPECT_TRUE(IsWindowVisible(AppWindow));
  ShowWindow(AppWindow, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(AppWindow));
  ShowWindow(AppWindow, SW_RESTORE);
  EXPECT_TRUE(IsWindowVisible(AppWindow));
  MainForm->Hide();
  EXPECT_FALSE(IsWindowVisible(AppWindow));
}

TEST_F(MainFormTest, MinimisingTheMainFormTellsTheApplicationEvents) {
  auto* Events = new TApplicationEvents(MainForm);
  int Minimised = 0;
  Events->OnMinimize = [&](TObject* Sender) {
    EXPECT_EQ(Sender, Events);
    ++Minimised;
  };
  SendMessageW(MainForm->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  SendMessageW(Application().Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_EQ(Minimised, 2);
  EXPECT_FALSE(IsIconic(MainForm->Handle()));
}

}  // namespace

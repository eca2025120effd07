#include <gtest/gtest.h>

#include <vector>

#include "framework/Application.h"
#include "framework/ComboBox.h"
#include "framework/Edit.h"
#include "framework/Form.h"
#include "tests/framework/TestSupport.h"
#include "framework/GroupBox.h"
#include "framework/Label.h"
#include "framework/RadioGroup.h"

using namespace tarnwick;
using tarnwick::testing::ProcessMessages;

namespace {

// A form holding one group box, the container the settings window uses.
class StandardControlTest : public ::testing::Test {
 protected:
  StandardControlTest() {
    Form.SetBorderStyle(bsNone);
    Form.SetBounds(0, 0, 400, 300);
    Group->SetParent(&Form);
    Group->SetAlign(alClient);
    Group->SetCaption(L"画像");
  }
  template <class T>
  T* Make(TAlign Align, int Height) {
    auto* Control = new T(&Form);
    Control->SetParent(Group);
    Control->SetHeight(Height);
    Control->SetAlign(Align);
    return Control;
  }

  TForm Form{nullptr};
  TGroupBox* Group = new TGroupBox(&Form);
};

TEST_F(StandardControlTest, GroupBoxPlacesItsControlsBelowTheCaption) {
  auto* Inside = Make<TLabel>(alClient, 10);
  EXPECT_GT(Inside->Top(), 2);
  EXPECT_EQ(Inside->Left(), 2);
  EXPECT_EQ(Inside->Width(), Group->Width() - 4);
  EXPECT_EQ(Inside->Top() + Inside->Height(), Group->Height() - 2);
  Group->HandleNeeded();
  Group->SetCaption(L"");
  EXPECT_EQ(Inside->Top(), 2) << "a band without caption gives its controls the whole inside";
}

TEST_F(StandardControlTest, AGroupBoxMakesRoomForItsCaptionInTheFontItIsGiven) {
  auto* Inside = Make<TLabel>(alClient, 10);
  Group->HandleNeeded();
  const int Before = Inside->Top();
  Form.Font().SetHeight(Form.Font().Height() * 2);
  EXPECT_GT(Inside->Top(), Before + 5);
}

TEST_F(StandardControlTest, TheControlsOfADisabledGroupAreDisabledUntilItIsEnabledAgain) {
  auto* Edit = Make<TEdit>(alTop, 25);
  auto* Radio = Make<TRadioGroup>(alTop, 40);
  Radio->SetItems({L"なし", L"内蔵音声"});
  Group->HandleNeeded();
  const HWND Button = FindWindowExW(Radio->Handle(), nullptr, L"Button", L"なし");
  Group->SetEnabled(false);
  for (const HWND Window : {Edit->Handle(), Radio->Handle(), Button}) EXPECT_FALSE(IsWindowEnabled(Window));
  // They keep their own state, and a window made now is made disabled.
  EXPECT_TRUE(Edit->Enabled());
  Edit->RecreateWnd();
  EXPECT_FALSE(IsWindowEnabled(Edit->Handle()));
  Group->SetEnabled(true);
  for (const HWND Window : {Edit->Handle(), Radio->Handle(), Button}) EXPECT_TRUE(IsWindowEnabled(Window));
  // One disabled by itself stays so.
  Edit->SetEnabled(false);
  Group->SetEnabled(false);
  Group->SetEnabled(true);
  EXPECT_FALSE(IsWindowEnabled(Edit->Handle()));
}

TEST_F(StandardControlTest, DropDownListTakesOnlyIndexesOfItsItemsAndReportsOnlyTheUsersPicks) {
  auto* Combo = Make<TComboBox>(alTop, 25);
  int Changes = 0;
  Combo->OnChange = [&](TObject*) { ++Changes; };
  Combo->SetItems({L"10秒", L"20秒", L"30秒"});
  for (const auto& [Given, Taken] : std::vector<std::pair<int, int>>{{1, 1}, {3, -1}, {-2, -1}, {2, 2}}) {
    Combo->SetItemIndex(Given);
    EXPECT_EQ(Combo->ItemIndex(), Taken) << Given;
  }
  const HWND Window = Combo->Handle();
  EXPECT_EQ(SendMessageW(Window, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(Window, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(GetWindowLongPtrW(Window, GWL_STYLE) & CBS_DROPDOWNLIST, CBS_DROPDOWNLIST);
  // The control keeps the height it was given, whatever the closed window's.
  EXPECT_EQ(Combo->Height(), 25);

  // A pick by the user comes through the group box.
  SendMessageW(Window, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(Combo->ItemIndex(), 1);
  EXPECT_EQ(Changes, 1);

  Combo->RecreateWnd();
  EXPECT_EQ(SendMessageW(Combo->Handle(), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(Combo->Handle(), CB_GETCURSEL, 0, 0), 1);
}

HWND ButtonOf(TRadioGroup& Group, const wchar_t* Caption) {
  return FindWindowExW(Group.Handle(), nullptr, L"Button", Caption);
}

TEST_F(StandardControlTest, RadioGroupClampsItsIndexAndClicksOnEveryChange) {
  auto* Radio = Make<TRadioGroup>(alTop, 40);
  Radio->SetItems({L"なし", L"内蔵音声", L"指定"});
  std::vector<int> Clicks;
  Radio->OnClick = [&](TObject*) { Clicks.push_back(Radio->ItemIndex()); };
  for (const auto& [Given, Taken] : std::vector<std::pair<int, int>>{{0, 0}, {7, 2}, {-5, -1}, {-1, -1}, {1, 1}}) {
    Radio->SetItemIndex(Given);
    EXPECT_EQ(Radio->ItemIndex(), Taken) << Given;
  }
  EXPECT_EQ(Clicks, (std::vector<int>{0, 2, -1, 1}));
  EXPECT_EQ(SendMessageW(ButtonOf(*Radio, L"内蔵音声"), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(ButtonOf(*Radio, L"なし"), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  // The user's clicks: another button changes the index, the same one does not.
  Clicks.clear();
  SendMessageW(ButtonOf(*Radio, L"指定"), BM_CLICK, 0, 0);
  SendMessageW(ButtonOf(*Radio, L"指定"), BM_CLICK, 0, 0);
  EXPECT_EQ(Clicks, (std::vector<int>{2}));
  EXPECT_EQ(SendMessageW(ButtonOf(*Radio, L"指定"), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(StandardControlTest, RadioGroupLaysItsButtonsOutInColumns) {
  auto* Radio = Make<TRadioGroup>(alTop, 90);
  Radio->SetItems({L"大", L"中", L"小"});
  const auto TopOf = [&](const wchar_t* Caption) {
    RECT Bounds;
    GetWindowRect(ButtonOf(*Radio, Caption), &Bounds);
    return Bounds.top;
  };
  EXPECT_LT(TopOf(L"大"), TopOf(L"中"));
  EXPECT_LT(TopOf(L"中"), TopOf(L"小"));
  Radio->SetColumns(3);
  EXPECT_EQ(TopOf(L"大"), TopOf(L"小"));
}

TEST_F(StandardControlTest, TextsSurviveANewWindow) {
  auto* Edit = Make<TEdit>(alTop, 25);
  auto* Label = Make<TLabel>(alBottom, 17);
  Edit->SetText(L"C:\\sounds\\chime.wav");
  Label->SetCaption(L"C:\\pics\\cat & dog.png");
  EXPECT_EQ(Edit->Text(), L"C:\\sounds\\chime.wav");
  SetWindowTextW(Edit->Handle(), L"typed");
  Form.RecreateWnd();
  EXPECT_EQ(Edit->Text(), L"typed");
  EXPECT_EQ(Label->Caption(), L"C:\\pics\\cat & dog.png");
  EXPECT_EQ(Group->Caption(), L"画像");
}

}  // namespace

namespace {

TEST_F(StandardControlTest, TabMovesTheFocusInTabOrderRoundTheForm) {
  auto* Edit = Make<TEdit>(alTop, 25);
  auto* Radio = Make<TRadioGroup>(alTop, 40);
  Radio->SetItems({L"なし", L"内蔵音声"});
  Radio->SetItemIndex(1);
  auto* Combo = Make<TComboBox>(alTop, 25);
  Combo->SetTabOrder(0);
  EXPECT_EQ(Edit->TabOrder(), 1);
  Make<TLabel>(alBottom, 17);  // no tab stop

  const auto Tab = [](bool Shift) {
    BYTE Keys[256] = {};
    GetKeyboardState(Keys);
    Keys[VK_SHIFT] = Shift ? 0x80 : 0;
    SetKeyboardState(Keys);
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    ProcessMessages();
    Keys[VK_SHIFT] = 0;
    SetKeyboardState(Keys);
  };
  Combo->SetFocus();
  ASSERT_EQ(GetFocus(), Combo->Handle());
  Tab(false);
  EXPECT_EQ(GetFocus(), Edit->Handle());
  Tab(false);
  EXPECT_EQ(GetFocus(), FindWindowExW(Radio->Handle(), nullptr, L"Button", L"内蔵音声"));
  Tab(false);
  EXPECT_EQ(GetFocus(), Combo->Handle());
  Tab(true);
  EXPECT_EQ(GetFocus(), FindWindowExW(Radio->Handle(), nullptr, L"Button", L"内蔵音声"));
}

}  // namespace

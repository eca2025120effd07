#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "hooks/CTLHOOK.h"
#include "framework/Exception.h"
#include "framework/Form.h"

using namespace tarnwick;

namespace {

using TLog = std::vector<std::string>;

// A hook that writes down its handle reports and what it held when.
class TProbeHook : public TControlHook {
 public:
  TProbeHook(TComponent* AOwner, TLog& Log) : TControlHook(AOwner), FLog(Log) {}
  using TComponent::SetDesigning;
  using TControlHook::PendingHandle;
  using TControlHook::SetTarget;
  using TControlHook::Target;
  HWND SeenHandle() const { return FHWndHookTarget; }
  TWinControl* Hooked() const { return FHookTarget; }

 protected:
  void HandleChanged(std::uint8_t Code) override {
    TControlHook::HandleChanged(Code);
    FLog.push_back("changed " + std::to_string(Code));
  }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_APP) FLog.push_back("hook saw app");
    TControlHook::WndProc(Message);
  }

 private:
  TLog& FLog;
};

// A form that writes down when its own handling sees its window come and go.
class TLoggingForm : public TForm {
 public:
  TLoggingForm(TComponent* AOwner, TLog& Log) : TForm(AOwner), FLog(Log) {}
  // What the hook held when this form saw WM_CREATE.
  std::function<void()> OnWindowCreate;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_CREATE) {
      FLog.push_back("form create");
      if (OnWindowCreate) OnWindowCreate();
    }
    if (Message.Msg == WM_DESTROY) FLog.push_back("form destroy");
    if (Message.Msg == WM_APP) FLog.push_back("form saw app");
    TForm::WndProc(Message);
  }

 private:
  TLog& FLog;
};

TWinControl* ChildOf(TWinControl& Parent) {
  auto* Child = new TWinControl(&Parent);
  Child->SetParent(&Parent);
  return Child;
}

TEST(ControlHook, HooksAControlOnceAssignedAndPutsBackItsProcedure) {
  TLog Log;
  TLoggingForm Form(nullptr, Log);
  const TWndMethod Own = Form.WindowProc();
  auto Hook = std::make_unique<TProbeHook>(nullptr, Log);
  EXPECT_EQ(Hook->Hooked(), nullptr);  // nothing to hook, and no error

  Hook->SetControl(&Form);
  Log.clear();
  EXPECT_TRUE(Form.HandleAllocated());
  EXPECT_EQ(Hook->SeenHandle(), Form.Handle());
  const TWndMethod Spliced = Form.WindowProc();
  EXPECT_NE(Spliced, Own);
  SendMessageW(Form.Handle(), WM_APP, 0, 0);
  EXPECT_EQ(Log, (TLog{"hook saw app", "form saw app"}));

  Hook->SetControl(&Form);  // the same value: off and on again
  EXPECT_EQ(Form.WindowProc(), Spliced);
  Hook.reset();
  EXPECT_EQ(Form.WindowProc(), Own);
}

TEST(ControlHook, FormTargetIsFoundFromControlOrOwner) {
  TLog Log;
  TForm Outer(nullptr);
  auto* Inner = new TForm(&Outer);
  Inner->SetParent(&Outer);
  TWinControl* InInner = ChildOf(*Inner);

  TProbeHook OwnedByForm(Inner, Log);
  OwnedByForm.SetTarget(htForm);
  EXPECT_EQ(OwnedByForm.Hooked(), Inner);

  TProbeHook OnControl(nullptr, Log);
  OnControl.SetControl(InInner);
  EXPECT_EQ(OnControl.Hooked(), InInner);
  OnControl.SetTarget(htForm);
  EXPECT_EQ(OnControl.Hooked(), &Outer);
  OnControl.SetControl(Inner);
  EXPECT_EQ(OnControl.Hooked(), Inner);
}

TEST(ControlHook, FormTargetWithoutAFormRaises) {
  TLog Log;
  TProbeHook Hook(nullptr, Log);
  try {
    Hook.SetTarget(htForm);
    FAIL() << "no error";
  } catch (const Exception& Error) {
    EXPECT_STREQ(Error.what(), "フック先を特定できません。");
  }
  EXPECT_EQ(Hook.Target(), htForm);
  EXPECT_EQ(Hook.Hooked(), nullptr);

  // A control whose outermost parent is no form.
  TWinControl Loose(nullptr);
  EXPECT_THROW(Hook.SetControl(&Loose), Exception);
  EXPECT_EQ(Hook.Control(), &Loose);
  EXPECT_EQ(Hook.Hooked(), nullptr);
}

TEST(ControlHook, FollowsTheTargetsWindowThroughRecreation) {
  TLog Log;
  TLoggingForm Form(nullptr, Log);
  TProbeHook Hook(&Form, Log);
  Hook.SetTarget(htForm);
  Log.clear();
  const HWND First = Form.Handle();
  HWND SeenAtCreate = nullptr;
  Form.OnWindowCreate = [&] { SeenAtCreate = Hook.SeenHandle(); };

  Form.RecreateWnd();
  EXPECT_EQ(SeenAtCreate, TProbeHook::PendingHandle);
  EXPECT_EQ(Log, (TLog{"changed 1", "form destroy", "form create", "changed 2"}));
  EXPECT_NE(Hook.SeenHandle(), First);
  EXPECT_EQ(Hook.SeenHandle(), Form.Handle());

  Log.clear();
  SendMessageW(Form.Handle(), WM_APP, 0, 0);
  EXPECT_EQ(Log, (TLog{"hook saw app", "form saw app"}));
}

TEST(ControlHook, LetsGoOfATargetThatIsFreedFirst) {
  TLog Log;
  auto Hook = std::make_unique<TProbeHook>(nullptr, Log);
  auto* Form = new TLoggingForm(nullptr, Log);
  Hook->SetControl(Form);
  delete Form;
  EXPECT_EQ(Log.back(), "changed 1");
  EXPECT_EQ(Hook->Hooked(), nullptr);
  EXPECT_EQ(Hook->SeenHandle(), nullptr);
  Hook.reset();  // touches no control
}

TEST(ControlHook, StackedHooksComeOffInReverseOrder) {
  TLog Log;
  TForm Form(nullptr);
  const TWndMethod Own = Form.WindowProc();
  auto First = std::make_unique<TProbeHook>(nullptr, Log);
  First->SetControl(&Form);
  const TWndMethod AfterFirst = Form.WindowProc();
  auto Second = std::make_unique<TProbeHook>(nullptr, Log);
  Second->SetControl(&Form);

  Second.reset();
  EXPECT_EQ(Form.WindowProc(), AfterFirst);
  First.reset();
  EXPECT_EQ(Form.WindowProc(), Own);
}

TEST(ControlHook, InDesignModeAssignmentsOnlyStoreTheirValues) {
  TLog Log;
  TForm Form(nullptr);
  TWinControl* Child = ChildOf(Form);
  TProbeHook Hook(nullptr, Log);
  Hook.SetDesigning(true);
  Hook.SetControl(Child);
  Hook.SetTarget(htForm);
  EXPECT_EQ(Hook.Control(), Child);
  EXPECT_EQ(Hook.Target(), htForm);
  EXPECT_EQ(Hook.Hooked(), nullptr);
  EXPECT_FALSE(Form.HandleAllocated());
}

// A layout that sets the hook's target while it is built, as a loaded
// window description does.
class THookedForm : public TForm {
 public:
  explicit THookedForm(TLog& Log) : TForm(nullptr) {
    Hook = new TProbeHook(this, Log);
    Hook->SetTarget(htForm);
    Log.push_back("layout done");
    CompleteLoading();
  }
  TProbeHook* Hook;
};

TEST(ControlHook, AfterLoadingStepInstallsTheHookAgain) {
  TLog Log;
  THookedForm Form(Log);
  EXPECT_EQ(Form.Hook->Hooked(), &Form);
  EXPECT_EQ(Form.Hook->SeenHandle(), Form.Handle());
  Log.clear();
  SendMessageW(Form.Handle(), WM_APP, 0, 0);
  EXPECT_EQ(Log, (TLog{"hook saw app"}));
}

}  // namespace

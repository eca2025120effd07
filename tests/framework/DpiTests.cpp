#include <gtest/gtest.h>

#include "framework/Dpi.h"
#include "framework/Form.h"
#include "tests/framework/TestSupport.h"

using namespace tarnwick;
using tarnwick::testing::CurrentDpi;

namespace {

TEST(Dpi, ScalesDesignSizesToTheScreen) {
  const struct {
    int Value;
    int Dpi;
    int Scaled;
  } Cases[] = {
      {368, 96, 294}, {368, 120, 368}, {368, 144, 442}, {368, 192, 589},
      {63, 96, 50},   {17, 96, 14},    {-14, 96, -11},  {-14, 144, -17},
  };
  for (const auto& Case : Cases)
    EXPECT_EQ(ScaleFromDesign(Case.Value, Case.Dpi), Case.Scaled) << Case.Value << " at " << Case.Dpi;
}

// A layout given at the design scale: a label-sized control placed freely
// and a band along the top.
class TScaledForm : public TForm {
 public:
  TScaledForm() : TForm(nullptr) {
    SetBorderStyle(bsNone);
    SetClientSize(368, 304);
    Free = new TWinControl(this);
    Free->SetParent(this);
    Free->SetBounds(10, 20, 100, 17);
    Band = new TWinControl(this);
    Band->SetParent(this);
    Band->SetHeight(63);
    Band->SetAlign(alTop);
    CompleteLoading();
  }
  TWinControl* Free;
  TWinControl* Band;
};

TEST(Dpi, LoadingScalesTheLayoutToTheScreen) {
  TScaledForm Form;
  const int Dpi = SystemDpi().Dpi;
  EXPECT_EQ(CurrentDpi(Form), Dpi);
  EXPECT_EQ(Form.ClientWidth(), ScaleFromDesign(368, Dpi));
  EXPECT_EQ(Form.ClientHeight(), ScaleFromDesign(304, Dpi));
  EXPECT_EQ(Form.Free->Width(), ScaleFromDesign(100, Dpi));
  EXPECT_EQ(Form.Band->Height(), ScaleFromDesign(63, Dpi));
  EXPECT_EQ(Form.Band->Width(), Form.ClientWidth());
  EXPECT_EQ(Form.Font().Height(), ScaleFromDesign(-14, Dpi));
}

TEST(Dpi, MovingToAnotherResolutionTakesTheSuggestedRectAndRescales) {
  TScaledForm Form;
  const int Before = CurrentDpi(Form);
  const int FreeLeft = Form.Free->Left();
  const int FreeHeight = Form.Free->Height();
  const int BandHeight = Form.Band->Height();
  const int FontHeight = Form.Font().Height();

  RECT Suggested{200, 100, 200 + 736, 100 + 608};
  SendMessageW(Form.Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&Suggested));

  RECT Window;
  GetWindowRect(Form.Handle(), &Window);
  EXPECT_TRUE(EqualRect(&Window, &Suggested));
  EXPECT_EQ(CurrentDpi(Form), 192);
  EXPECT_EQ(Form.Free->Left(), MulDiv(FreeLeft, 192, Before));
  EXPECT_EQ(Form.Free->Height(), MulDiv(FreeHeight, 192, Before));
  EXPECT_EQ(Form.Band->Height(), MulDiv(BandHeight, 192, Before));
  EXPECT_EQ(Form.Band->Width(), 736);
  EXPECT_EQ(Form.Font().Height(), MulDiv(FontHeight, 192, Before));
  // The child window itself went along.
  RECT Child;
  GetWindowRect(Form.Free->Handle(), &Child);
  EXPECT_EQ(Child.bottom - Child.top, Form.Free->Height());
}

}  // namespace

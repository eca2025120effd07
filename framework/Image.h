#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "pictures/Picture.h"
#include "framework/FrameSheet.h"
#include "framework/Timer.h"
#include "framework/WinControl.h"

namespace tarnwick {

enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

// Keys and buttons held during a mouse event.
enum TShiftStateFlag : unsigned {
  ssShift = 1u << 0,
  ssAlt = 1u << 1,
  ssCtrl = 1u << 2,
  ssLeft = 1u << 3,
  ssRight = 1u << 4,
  ssMiddle = 1u << 5,
};

// A mouse button was pressed or released at X, Y of the control's client area.
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, unsigned Shift, int X, int Y)>;

// Shows a picture, scaled as Stretch, Proportional and Center say (see
// PictureDestRect), on the colour of its container; an animated picture
// plays while Animate is on. Frames are laid over the colour and scaled as
// they are first shown at a size, and kept while they fit (see TFrameSheet);
// showing a kept frame again is a plain copy.
class TImage : public TWinControl {
 public:
  explicit TImage(TComponent* AOwner);

  const TPicture& GetPicture() const { return *FPicture; }
  // The picture itself, for another image to show without a copy (an
  // animation holds its file's bytes).
  const std::shared_ptr<const TPicture>& SharedPicture() const { return FPicture; }
  // Shows Value from its first frame; empty by default, and for null.
  void SetPicture(std::shared_ptr<const TPicture> Value);
  void SetPicture(TPicture Value) { SetPicture(std::make_shared<const TPicture>(std::move(Value))); }

  // All off by default.
  void SetStretch(bool Value);
  void SetProportional(bool Value);
  void SetCenter(bool Value);

  // Plays an animated picture: each frame stands for its delay (under 20 ms
  // counts as 100 ms, as browsers do), through LoopCount rounds (0: for
  // ever), then the last frame stays, the only one kept. Off by default.
  // While the image is not visible the animation waits, keeping no frame,
  // and starts again from its first frame when the image shows again.
  bool Animate() const { return FAnimate; }
  void SetAnimate(bool Value);
  // The animation's tick: shows the next frame. Runs from the animation's timer.
  void AdvanceFrame();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseUp;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;

 private:
  // Where the picture is drawn now, and over what.
  struct TPlace {
    RECT Client{};
    RECT Dest{};
    COLORREF Background = 0;
  };
  friend struct TFrameworkProbe;

  void Changed();
  void FrameChanged();
  void StartFrame();
  void AnimationTick();
  void ReleaseFrames();
  void PaintWindow();
  TPlace CurrentPlace();
  // The sheet, when it draws at the current place.
  TFrameSheet* SheetInPlace();
  RECT DrawFrame(HDC DC, const TPlace& Place);
  void MouseUp(TMouseButton Button, const TMessage& Message);

  std::shared_ptr<const TPicture> FPicture = std::make_shared<const TPicture>();
  bool FStretch = false;
  bool FProportional = false;
  bool FCenter = false;
  bool FAnimate = false;
  // The frame shown, counting from 0.
  int FFrameIndex = 0;
  int FRound = 0;
  // The animation waits for the image to be shown.
  bool FPaused = false;
  bool FClicked = false;
  std::unique_ptr<TTimer> FTimer;
  // The frames as shown, until the picture, its place or the colour changes.
  std::unique_ptr<TFrameSheet> FSheet;
  // How many times a frame was laid out for showing since the image was made.
  int FFramesPrepared = 0;
};

// How long a frame that asks for DelayMs stands in an animation, in milliseconds.
int FrameDelay(int DelayMs);

}  // namespace tarnwick

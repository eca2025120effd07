#include <optional>

#include "watch/Main.h"
#include "shell/MonitorList.h"
#include "watch/SettingsModel.h"
#include "shell/SoundFile.h"

// The monitor-crossing sound.
namespace tarnwick {

void TMainForm::CheckMonitorChange() {
  if (!GroupBoxWav->Enabled() || SoundModeOf(RadioGroupWav->ItemIndex()) == TSoundMode::smNone) return;
  const std::optional<TPoint> Pointer = Desktop().CursorPos();
  // An unknown position is no crossing; the monitor stays as last seen.
  if (!Pointer) return;
  const std::int32_t Monitor = MonitorIndexFromPoint(*Pointer);
  // The first sighting only records where the pointer is.
  if (MMonNo == -1) {
    MMonNo = Monitor;
    return;
  }
  if (Monitor == MMonNo) return;
  MMonNo = Monitor;
  PlayModeSound();
}

void TMainForm::RadioGroupWavClick(TObject*) {
  // Silent until a tick has seen the pointer, so loading the mode plays nothing.
  if (MMonNo != -1) PlayModeSound();
}

void TMainForm::PlayModeSound() {
  switch (SoundModeOf(RadioGroupWav->ItemIndex())) {
    case TSoundMode::smBuiltIn:
      Desktop().PlayWaveResource(L"page");
      break;
    case TSoundMode::smFile:
      // Silent for an empty name, a missing file or a drive that is not ready.
      PlaySoundFile(EditWav->Text());
      break;
    default:
      break;
  }
}

}  // namespace tarnwick

#include "shell/SoundFile.h"

#include "shell/Desktop.h"
#include "shell/ReadyDrive.h"

namespace tarnwick {

void PlaySoundFile(const std::wstring& Path) {
  if (FileExistsOnReadyDrive(Path)) Desktop().PlayWaveFile(Path);
}

}  // namespace tarnwick

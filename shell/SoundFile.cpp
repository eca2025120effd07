#include "SoundFile.h"

#include "Desktop.h"
#include "ReadyDrive.h"

namespace tarnwick {

void PlaySoundFile(const std::wstring& Path) {
  if (FileExistsOnReadyDrive(Path)) Desktop().PlayWaveFile(Path);
}

}  // namespace tarnwick

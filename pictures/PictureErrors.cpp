#include "pictures/PictureErrors.h"

#include "base/Utf.h"

namespace tarnwick {

std::string CannotReadPictureMessage(const std::wstring& FileName, std::string_view Reason) {
  return "画像ファイル \"" + ToUtf8(FileName) + "\" を読み込めません: " + std::string(Reason);
}

std::string TooLargeReason(long long Width, long long Height) {
  return "画像が大きすぎます (" + std::to_string(Width) + " × " + std::to_string(Height) + " ピクセル)";
}

std::string DamagedReason(std::string_view Detail) {
  return "ファイルが壊れています (" + std::string(Detail) + ")";
}

}  // namespace tarnwick

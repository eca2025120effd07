#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// The error the picture decoders raise. Every message is UTF-8 text meant for
// the user's eyes, in the program's language.
namespace tarnwick {

// A picture could not be decoded: damaged, truncated, of another type than
// its extension says, an unsupported variant, or too large to hold.
class EPictureError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The message for a picture file that could not be read, naming the file.
std::string CannotReadPictureMessage(const std::wstring& FileName, std::string_view Reason);

// Reasons shared by several decoders.
std::string TooLargeReason(long long Width, long long Height);
std::string DamagedReason(std::string_view Detail);

}  // namespace tarnwick

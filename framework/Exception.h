#pragma once

#include <stdexcept>
#include <string>

namespace tarnwick {

// The framework's base error. The message is UTF-8 text meant for the
// user's eyes, shown as it is by the standard error report.
class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An Exception with the system's text for the calling thread's last error.
Exception LastOSError();

}  // namespace tarnwick

#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tarnwick {

// The root of every framework object that can be an event's sender.
class TObject {
 public:
  virtual ~TObject() = default;
};

// An event with nothing but its sender.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// A list of strings in the order they were added, repeats kept.
using TStrings = std::vector<std::wstring>;

}  // namespace tarnwick

#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tarnwick {

// Why and where a settings file's text is refused: a reason for the user and
// the byte offset in the text where it was found.
struct TParseFailure {
  const char* Reason;
  std::size_t Offset;
};

// The verdict of a strict XML parser (expat) on Text, read as UTF-8 whatever
// its declaration says. Nothing when Text is a well-formed document that the
// lenient DOM parser reads with the same meaning; otherwise the first fault.
// Also refused: entity declarations and references to entities left
// unexpanded, since the DOM would keep such references as literal text and
// change their meaning on saving.
std::optional<TParseFailure> WellFormednessFailure(std::string_view Text);

}  // namespace tarnwick

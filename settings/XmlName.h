#pragma once

#include <string_view>

namespace tarnwick {

// True when Name is an XML 1.0 name: not empty, starting with a letter, "_" or
// ":" (or a name-start character beyond ASCII), going on with name characters.
bool IsValidXmlName(std::wstring_view Name);

}  // namespace tarnwick

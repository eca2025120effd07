#pragma once

#include <optional>
#include <string>
#include <string_view>

// What an XML text says, as expat reads it (as UTF-8): its elements with
// their attributes, its texts, comments and processing instructions, in
// document order, spelled as one string to compare. Texts of white space
// only are left out, as the settings store drops them on loading. Nothing
// when expat refuses the text.
std::optional<std::string> DocumentMeaning(std::string_view Text);

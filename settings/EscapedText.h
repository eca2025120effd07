#pragma once

#include <string>
#include <string_view>

// The entity names that string values carry in their keys' text, on top of
// the escaping the XML writer does itself.
namespace tarnwick {

// "&", ">", "<" and the double quote replaced by "&amp;", "&gt;", "&lt;", "&quot;".
std::wstring EscapeEntities(std::wstring_view Text);

// "&gt;", "&lt;", "&quot;" and last "&amp;" replaced back, letters in any
// case, so that every escaped text comes back unchanged.
std::wstring UnescapeEntities(std::wstring_view Text);

}  // namespace tarnwick

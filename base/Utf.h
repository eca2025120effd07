#pragma once

#include <string>
#include <string_view>

// Conversions between the program's wide strings (UTF-16 on Windows, UTF-32
// elsewhere) and the UTF-8 that the XML layer keeps. Malformed input never
// fails: each broken sequence becomes U+FFFD.
namespace tarnwick {

std::string ToUtf8(std::wstring_view Text);
std::wstring FromUtf8(std::string_view Text);
// The code point at Text[Pos] (a surrogate pair joined), advancing Pos past it.
char32_t NextCodePoint(std::wstring_view Text, std::size_t& Pos);

// UTF-16 code units (as read from a file with a UTF-16 byte-order mark) to UTF-8.
std::string Utf16ToUtf8(std::u16string_view Text);

// The text of an XML file's bytes as UTF-8: a UTF-8 byte-order mark is
// dropped, UTF-16 with a byte-order mark is converted, anything else is
// taken as it is.
std::string XmlFileText(std::string_view Bytes);

// Whether a well-formed UTF-8 sequence of one code point starts at Text[Pos].
bool IsUtf8SequenceAt(std::string_view Text, std::size_t Pos);

}  // namespace tarnwick

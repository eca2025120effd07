#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// The errors the settings store raises to its caller. Every message is UTF-8
// text meant for the user's eyes, in the program's language.
namespace tarnwick {

// A value's text could not be converted to the type that was asked for.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A date, time or type mark could not be converted from its text.
class EVariantTypeCastError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The document could not be read, written or changed as asked.
class EXMLDocError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A child index outside the node's list.
class EListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The messages, with the offending text (or name, or index) put in place.
std::string NotAnIntegerMessage(std::wstring_view Text);
std::string NotAFloatMessage(std::wstring_view Text);
std::string NotABooleanMessage(std::wstring_view Text);
std::string CannotCastMessage(std::string_view FromType, std::string_view ToType);
std::string NodeNotFoundMessage(std::wstring_view Name);
std::string NoSingleTextNodeMessage(std::wstring_view ElementName);
std::string InvalidNameMessage(std::wstring_view Name);
std::string CannotHoldElementsMessage(std::wstring_view NodeName);
std::string DateTimeOutOfRangeMessage(double Value);
std::string ListIndexMessage(long long Index);

}  // namespace tarnwick

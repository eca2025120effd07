#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Whole-file reads and crash-safe replacement of the settings file.
namespace tarnwick {

// Files larger than this are refused on reading: a settings file is a few
// hundred bytes, and a huge one is damaged or not ours.
inline constexpr std::size_t MaxSettingsFileBytes = 64u << 20;

// True when Name is an existing file (not a folder). False on any failure.
bool IsExistingFile(const std::wstring& Name);

// The file's bytes. Raises EXMLDocError, naming the file and the reason, when
// it cannot be read or is larger than MaxSettingsFileBytes.
std::string ReadWholeFile(const std::wstring& Name);

// Writes Bytes to a new file beside Name, flushes it to disk, then moves it
// over Name in one step, so Name holds either the old or the new contents,
// never a part. First removes the new files that saves ended by force left
// beside Name (one program saves it at a time). Raises EXMLDocError and
// removes the new file on failure.
void ReplaceFileContents(const std::wstring& Name, std::string_view Bytes);

// What a save's new file adds to the name it replaces, before the saving
// process's id: the mark that ReplaceFileContents also clears up by.
inline constexpr std::wstring_view TemporaryMark = L".~";

// The name of the new file that ReplaceFileContents writes beside Name.
std::wstring TemporaryFileName(const std::wstring& Name);

// Whether Candidate, a name in the folder of the file named Leaf, is a new
// file of a save of that file by any process: Leaf, TemporaryMark and a
// number.
bool IsTemporaryFileOf(std::wstring_view Leaf, std::wstring_view Candidate);

// Messages shared by the platform implementations.
std::string CannotReadMessage(const std::wstring& Name, std::string_view Reason);
std::string CannotWriteMessage(const std::wstring& Name, std::string_view Reason);
std::string TooLargeMessage(const std::wstring& Name);

}  // namespace tarnwick

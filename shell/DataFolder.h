#pragma once

#include <cstdint>
#include <string>

// The program's per-user data folder, two levels below the application-data
// folder: the maker's, then the program's own.
namespace tarnwick {

// The special folder of Kind (0 documents, 1 roaming application data, 2 local
// application data, 3 application data of all users, 4 pictures, 5 documents
// of all users) as the platform gives it, without a trailing backslash.
// Empty when Kind is above 5 or the lookup fails. Never longer than 260 code
// units, never holding a NUL.
std::wstring SpecialFolderPath(std::uint8_t Kind);

// Makes each missing level of <application data>\Fellmoor\AppName by itself
// and keeps that path with one trailing backslash as DataFolder (Common
// false: the user's roaming folder) or CommonDataFolder (Common true: the
// folder of all users). True when the folder exists afterwards; a failed
// creation shows only in a false result, the path being kept all the same.
// When the application-data folder cannot be looked up, nothing is made, the
// kept path is emptied and the result is false.
bool PrepareDataFolder(const std::wstring& AppName, bool Common);

// The kept paths; empty until PrepareDataFolder has run in that mode.
const std::wstring& DataFolder();
const std::wstring& CommonDataFolder();

// Empties both kept paths, as at start (for tests).
void ResetDataFolders();

}  // namespace tarnwick

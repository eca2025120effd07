#pragma once

#include <string>

// Existence tests that never make the system ask the user to insert a medium.
namespace tarnwick {

// True when Letter's drive (a to z count as A to Z) is in use and ready, or
// when Letter is a backslash: a network path or a path from the root of the
// current drive is taken as being on a ready drive. Any other code unit gives
// false. The process's error mode differs from its previous value only while
// the one drive query runs.
bool DriveReady(wchar_t Letter);

// DriveReady of the path's first code unit; false for an empty path.
bool PathDriveReady(const std::wstring& Path);

// True when the path's drive is ready and the path names an existing file,
// not a folder. The file is not looked for on a drive that is not ready.
bool FileExistsOnReadyDrive(const std::wstring& Path);

}  // namespace tarnwick

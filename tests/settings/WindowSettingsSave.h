#pragma once

#include <string>

#include "settings/XMLIniFiles.h"

// What the settings window does on closing, with its first-run values: a new
// store on File, the seven keys written in /Config, the file saved.
inline void SaveWindowSettings(const std::wstring& File) {
  tarnwick::TXMLIniFile Ini(File, tarnwick::TRegionalFormats{});
  Ini.OpenNode(L"/Config", true);
  Ini.WriteInteger(L"Cursor", 5);
  Ini.WriteInteger(L"Splash", 2);
  Ini.WriteString(L"Picture", L"");
  Ini.WriteInteger(L"Size", 1);
  Ini.WriteBool(L"First", false);
  Ini.WriteString(L"WavFile", L"");
  Ini.WriteInteger(L"Wav", 0);
  Ini.CloseNode();
  Ini.UpdateFile();
}

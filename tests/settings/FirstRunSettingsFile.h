#pragma once

#include <string>

// The settings file as the settings window first saves it: the seven keys
// with their first-run values, "First" false, written into a new file.
inline const std::string FirstRunSettingsFile =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<root>\n"
    "\t<Config>\n"
    "\t\t<Cursor Type=\"9\">5</Cursor>\n"
    "\t\t<Splash Type=\"9\">2</Splash>\n"
    "\t\t<Picture Type=\"10\"></Picture>\n"
    "\t\t<Size Type=\"9\">1</Size>\n"
    "\t\t<First Type=\"2\">0</First>\n"
    "\t\t<WavFile Type=\"10\"></WavFile>\n"
    "\t\t<Wav Type=\"9\">0</Wav>\n"
    "\t</Config>\n"
    "</root>\n";

#pragma once

#include <windows.h>

#include <cstddef>

// The settings window as a user sees it, read inside the program (a window's
// font is a handle of the process that made it). Written into Answer as UTF-8
// lines: one for the window's client area, one for each visible window inside
// it, and one for each entry of a drop-down list,
//   KIND LEFT TOP RIGHT BOTTOM ENABLED TEXTWIDTH INKWIDTH TEXTHEIGHT MISSING TEXT
// KIND is the window's class ("client" for the settings window itself,
// "entry" for a list entry, placed where its list is), the rectangle is in
// the settings window's client coordinates (the client area's own in screen
// coordinates), ENABLED is 1 when the window itself is enabled, so drawn as
// taking input, TEXTWIDTH x TEXTHEIGHT is the text's
// extent and the font's line height in the window's own font, INKWIDTH the
// width from the first character's ink to the last one's, MISSING the
// number of the text's characters that font has no glyph for. A last line
// "shadow R G B" gives the colour frames are drawn with.
namespace e2e {

void DescribeLayout(HWND Settings, char* Answer, std::size_t Size);

}  // namespace e2e

#pragma once

#include "shell/gdi.hpp"

#include <windows.h>

namespace shell {

// A picture stored in the program's resources (GIF, JPEG or bitmap), decoded by the
// Windows Imaging Component into a 32-bit bitmap with premultiplied alpha, so that a
// transparent pixel shows what lies beneath when it is drawn. Needs COM on the thread.
// Returns an empty object if the resource cannot be decoded.
[[nodiscard]] GdiObject<HBITMAP> load_picture(HINSTANCE instance, int resource);

// Draws the picture unscaled with its top-left corner at the point.
void draw_picture(HDC target, HBITMAP picture, POINT at);

}  // namespace shell

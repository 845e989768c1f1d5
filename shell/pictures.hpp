#pragma once

#include "shell/gdi.hpp"

#include <windows.h>

namespace shell {

// A picture stored in the program's resources (GIF, JPEG or bitmap), decoded by the
// Windows Imaging Component into a 32-bit bitmap with premultiplied alpha, so that a
// transparent pixel shows what lies beneath when it is drawn. The pictures are drawn for
// 96 dots per inch; on a denser display the bitmap is scaled smoothly to keep its size on
// the screen. Needs COM on the thread. Returns an empty object if the resource cannot be
// decoded.
[[nodiscard]] GdiObject<HBITMAP> load_picture(HINSTANCE instance, int resource, int dots_per_inch);

// Draws the bitmap at its own size with its top-left corner at the point.
void draw_picture(HDC target, HBITMAP picture, POINT at);

}  // namespace shell

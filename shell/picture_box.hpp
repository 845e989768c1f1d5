#pragma once

#include <windows.h>

namespace shell {

// Notification codes that a picture box sends to its parent in WM_COMMAND.
enum PictureBoxEvent : WORD { kPictureMouseDown = 1, kPictureMouseUp, kPictureClick };

// A borderless child control that fills itself with its background colour and draws its
// bitmap unscaled at its top-left corner. A press of any mouse button captures the mouse
// until the release, so the release is reported even if the box was hidden meanwhile.
void register_picture_box_class(HINSTANCE instance);

HWND create_picture_box(HWND parent, int id, const RECT& place, HBITMAP picture,
                        COLORREF background);

}  // namespace shell

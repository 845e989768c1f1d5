#pragma once

#include "shell/accessibility.hpp"

#include <windows.h>

namespace shell {

// Notification codes that a picture box sends to its parent in WM_COMMAND.
enum PictureBoxEvent : WORD {
    kPictureMouseDown = 1,
    kPictureMouseUp,
    kPictureClick,
    kPicturePressCancelled,  // the system took the mouse away before the release
};

// A borderless child control that fills itself with its background colour and copies its
// bitmap at the bitmap's own size to its top-left corner, clipped; a picture with
// transparent pixels comes already composed over that colour. A press of any mouse button
// gives it the focus and captures the mouse until the release, so the release is reported
// even if the box was hidden meanwhile; a release is reported only when it ends a press on
// the box. It shows no focus mark and ignores keys. A screen reader's default action does
// what a press and release of the left button inside it does.
void register_picture_box_class(HINSTANCE instance);

// Made without a place, a size or a picture; the owner gives it those for the display.
HWND create_picture_box(HWND parent, int id, COLORREF background);
// The bitmap stays the caller's and must outlive the box or be replaced first.
void set_picture(HWND box, HBITMAP picture);
// What screen readers are told about the box; the look must last for the whole run.
void set_accessible_look(HWND box, const AccessibleLook& look);

}  // namespace shell

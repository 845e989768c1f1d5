#pragma once

#include "shell/accessibility.hpp"

#include <windows.h>

namespace shell {

// Notification codes that a picture box sends to its parent in WM_COMMAND.
enum PictureBoxEvent : WORD {
    kPictureMouseDown = 1,
    kPictureMouseUp,
    kPictureClick,
    kPicturePressCancelled,  // the mouse or the focus was taken away before the release
};

// A borderless child control that fills itself with its background colour and copies its
// bitmap at the bitmap's own size to its top-left corner, clipped; a picture with
// transparent pixels comes already composed over that colour. A press of any mouse button
// gives it the focus and captures the mouse until the release, so the release is reported
// even if the box was hidden meanwhile; a release is reported only when it ends a press on
// the box. Space on the box with the focus presses it as the left button does; the key's
// release on any box ends that press (a box that hides itself when pressed passes the focus
// on), and a box losing the focus after the press calls it off. Enter and a screen reader's
// default action do what a press and release of the left button inside the box does, at
// once. The box with the focus draws the system's focus rectangle while focus marks show.
void register_picture_box_class(HINSTANCE instance);

// Made without a place, a size or a picture; the owner gives it those for the display.
HWND create_picture_box(HWND parent, int id, COLORREF background);
// The bitmap stays the caller's and must outlive the box or be replaced first.
void set_picture(HWND box, HBITMAP picture);
// What screen readers are told about the box; the look must last for the whole run.
void set_accessible_look(HWND box, const AccessibleLook& look);

}  // namespace shell

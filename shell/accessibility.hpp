#pragma once

#include <windows.h>

#include <string_view>

// What a screen reader announces for a control that its looks do not tell: a picture that
// acts has no text of its own, and the field's label is drawn, not a window, so the
// system's own accessible objects would leave both unnamed.
namespace shell {

struct AccessibleLook {
    std::wstring_view name;
    long role;  // a ROLE_SYSTEM_ value, or 0 to keep the role the system gives the control
};

// The control answers screen readers with the look's name and role, and otherwise as the
// system's accessible object for it does. Nothing it shows or does changes. A screen
// reader may hold the answer after the control is gone, so the look must last for the
// whole run.
void describe_for_screen_readers(HWND control, const AccessibleLook& look);

}  // namespace shell

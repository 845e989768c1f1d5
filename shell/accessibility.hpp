#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

// What a screen reader announces for a control that its looks do not tell, and what its
// default action does: a picture that acts has no text of its own, and the field's label
// is drawn, not a window, so the system's own accessible objects would leave both unnamed.
namespace shell {

struct AccessibleLook {
    std::wstring_view name;
    long role;                 // a ROLE_SYSTEM_ value, or 0 to keep the system's
    std::wstring_view action;  // the default action's name, or empty to keep the system's
};

// Posted to a control whose look names an action when a screen reader asks for it; the
// control then does what a click does. The request arrives inside a call from another
// process, so the action runs later from the message loop, where a message box or the
// end of the program does not cut the caller's call short.
inline constexpr UINT kDoDefaultAction = WM_APP;

// The answer to WM_GETOBJECT for a control with the look: the system's accessible object
// for it with the look's name, role and default action. Nothing for other objects, or
// where the system cannot make its own (then the control answers as it would otherwise).
// A screen reader may hold the answer after the control is gone, so the look must last
// for the whole run.
[[nodiscard]] std::optional<LRESULT> answer_screen_reader(HWND control, WPARAM flags, LPARAM object,
                                                          const AccessibleLook& look);

// The same for a control of a system class, whose own procedure cannot answer so.
void describe_for_screen_readers(HWND control, const AccessibleLook& look);

}  // namespace shell

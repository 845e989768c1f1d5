#pragma once

#include <windows.h>

// The keyboard focus among the main window's controls, in the design's tab order. The
// window handles Tab itself rather than through the dialog manager, which would take the
// order from the stacking of the controls, and the design gives the two different orders.
namespace shell {

// Tab and Shift+Tab on the window or any of its controls move the focus to the next or
// previous control that can take it. True if the message was such a key and has been
// handled, so it must not be dispatched.
[[nodiscard]] bool move_focus_by_tab(HWND form, const MSG& message);

// The form itself got the focus, because it was activated or because the control that
// had it was hidden: the focus goes on to that control, else to the one after it in the
// tab order, else to the control that had it when the form was last left, else to the
// first control of the order.
void pass_focus_on(HWND form, HWND lost_by, HWND focus_when_left);

// A control shown again over the one that held the focus in its place (Go over its pressed
// look) takes the focus back, so that the focus stays where it can be seen.
void keep_focus_in_sight(HWND form);

// Whether the control with the focus shows a focus mark: as in a dialog, once the keyboard
// has moved the focus (from the start where the user asks to see keyboard cues always), and
// while the system's UI state does not hide it. The window keeps the first part itself, as
// it moves the focus itself and not every system keeps a UI state.
[[nodiscard]] bool shows_focus(HWND control);

}  // namespace shell

#pragma once

#include <windows.h>

// The main window as the program's entry sees it: made, shown, and its keyboard
// navigation, which the message loop must offer each message first.
namespace shell {

// Creates the window and its controls with their design values, hidden.
void create_form1();
// Shows the window with the focus on Go.
void show_form1();

// Tab and Shift+Tab move the focus through the controls in the design's tab order. True if
// the message was such a key and has been handled, so it must not be dispatched.
[[nodiscard]] bool move_focus_by_keyboard(const MSG& message);

}  // namespace shell

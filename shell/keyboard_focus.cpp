#include "shell/keyboard_focus.hpp"

#include "shell/design.hpp"

#include <algorithm>
#include <array>

namespace shell {
namespace {

// The label passes the focus on in its place in the order; it never holds it itself.
constexpr bool takes_focus(const ControlDesign& control) {
    return control.tab_index >= 0 && control.kind != Kind::Label;
}

constexpr auto kTabOrder = [] {
    std::array<Control, std::ranges::count_if(kControls, takes_focus)> order{};
    std::size_t next = 0;
    for (int tab_index = 0; next < order.size(); ++tab_index) {
        for (const ControlDesign& control : kControls) {
            if (control.tab_index == tab_index && takes_focus(control)) {
                order[next++] = control.name;
            }
        }
    }
    return order;
}();

// The visible control that lies over the given one in the very same place, if any: Go over
// its pressed look, which shows only while Go is held.
HWND covering(HWND form, HWND control) {
    const auto design = std::ranges::find_if(
        kControls, [&](const ControlDesign& each) { return each.id == GetDlgCtrlID(control); });
    if (design == kControls.end()) {
        return nullptr;
    }
    for (auto front = kControls.begin(); front < design; ++front) {
        const HWND window = GetDlgItem(form, front->id);
        if (front->place == design->place && window && IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

// A control that cannot be seen does not take the focus, where no focus mark would show.
bool can_take_focus(HWND form, HWND control) {
    return control && IsWindowVisible(control) && IsWindowEnabled(control) &&
           !covering(form, control);
}

// The next control in the tab order after the given one (or the first, for none) that
// can take the focus now: Go is hidden while held, and its pressed look shows only then.
HWND next_in_tab_order(HWND form, HWND from, bool backwards) {
    const auto position = std::ranges::find_if(
        kTabOrder, [&](Control control) { return design_of(control).id == GetDlgCtrlID(from); });
    std::size_t index = position == kTabOrder.end()
                            ? (backwards ? 0 : kTabOrder.size() - 1)
                            : static_cast<std::size_t>(position - kTabOrder.begin());
    for (std::size_t step = 0; step < kTabOrder.size(); ++step) {
        index = (index + (backwards ? kTabOrder.size() - 1 : 1)) % kTabOrder.size();
        const HWND candidate = GetDlgItem(form, design_of(kTabOrder[index]).id);
        if (can_take_focus(form, candidate)) {
            return candidate;
        }
    }
    return nullptr;
}

void focus_by_keyboard(HWND form, HWND control) {
    SetFocus(control);
    // As in a dialog: a field reached by the keyboard has its text selected.
    if (control == GetDlgItem(form, design_of(Control::TextBox1).id)) {
        SendMessageW(control, EM_SETSEL, 0, -1);
    }
}

bool is_key_down(int virtual_key) {
    return GetKeyState(virtual_key) < 0;
}

// Set once the keyboard has moved the focus.
bool& keyboard_moved_the_focus() {
    static bool moved = false;
    return moved;
}

}  // namespace

bool move_focus_by_tab(HWND form, const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB ||
        (message.hwnd != form && !IsChild(form, message.hwnd)) || is_key_down(VK_MENU) ||
        is_key_down(VK_CONTROL)) {
        return false;
    }
    // As the dialog manager does: once the keyboard moves the focus, show where it is,
    // even where the system hides focus marks until the keyboard is used.
    keyboard_moved_the_focus() = true;
    SendMessageW(form, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    const HWND focus = GetFocus();
    if (const HWND next = next_in_tab_order(form, IsChild(form, focus) ? focus : nullptr,
                                            is_key_down(VK_SHIFT))) {
        focus_by_keyboard(form, next);
    }
    return true;
}

void pass_focus_on(HWND form, HWND lost_by, HWND focus_when_left) {
    HWND previous = IsChild(form, lost_by) ? lost_by : focus_when_left;
    if (!IsChild(form, previous)) {
        previous = nullptr;
    }
    const HWND target =
        can_take_focus(form, previous) ? previous : next_in_tab_order(form, previous, false);
    if (target) {
        SetFocus(target);
    }
}

void keep_focus_in_sight(HWND form) {
    const HWND focus = GetFocus();
    if (const HWND front = IsChild(form, focus) ? covering(form, focus) : nullptr) {
        SetFocus(front);
    }
}

bool shows_focus(HWND control) {
    BOOL always = FALSE;
    SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &always, 0);
    return (keyboard_moved_the_focus() || always) &&
           (SendMessageW(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
}

}  // namespace shell

#include "shell/picture_box.hpp"

#include "shell/accessibility.hpp"
#include "shell/gdi.hpp"
#include "shell/keyboard_focus.hpp"
#include "shell/pictures.hpp"

#include <utility>

namespace shell {
namespace {

constexpr wchar_t kClassName[] = L"TorvanePictureBox";

// Kept in the window's extra bytes, so a box needs no allocation of its own.
constexpr int kPictureSlot = 0;
constexpr int kBackgroundSlot = sizeof(LONG_PTR);
constexpr int kPressedSlot = 2 * sizeof(LONG_PTR);  // a press began on the box, not yet ended
constexpr int kLookSlot = 3 * sizeof(LONG_PTR);     // what screen readers are told, if anything
constexpr int kSlots = 4;

// Posted to the box that a held Space pressed, once the focus has left: its press is called off.
constexpr UINT kCallOffKeyPress = WM_USER;

struct PictureBox {
    HBITMAP picture;  // owned by the main window, which outlives its children
    COLORREF background;
};

PictureBox state_of(HWND box) {
    return {reinterpret_cast<HBITMAP>(GetWindowLongPtrW(box, kPictureSlot)),
            static_cast<COLORREF>(GetWindowLongPtrW(box, kBackgroundSlot))};
}

void notify_parent(HWND box, PictureBoxEvent event) {
    SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), event),
                 reinterpret_cast<LPARAM>(box));
}

void paint(HWND box, const PictureBox& state) {
    const PaintScope paint(box);
    RECT client{};
    GetClientRect(box, &client);
    SetBkColor(paint.context(), state.background);
    ExtTextOutW(paint.context(), 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
    draw_picture(paint.context(), state.picture, {0, 0});
    // In whole pixels of the display over the drawn picture, so it stays crisp at any density.
    if (GetFocus() == box && shows_focus(box)) {
        DrawFocusRect(paint.context(), &client);
    }
}

// Ends the box's press; false if there was none.
bool end_press(HWND box) {
    return SetWindowLongPtrW(box, kPressedSlot, FALSE) != FALSE;
}

bool pointer_inside(HWND box, LPARAM lparam) {
    RECT client{};
    GetClientRect(box, &client);
    const POINT pointer{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    return PtInRect(&client, pointer) != FALSE;
}

// The box that a held Space pressed, if any. Its release ends that press wherever the focus
// is then: Go hides itself when pressed and passes the focus to its pressed look beneath.
HWND& box_held_by_space() {
    static HWND box = nullptr;
    return box;
}

// A release ends the press; a left button's inside the box, or a key's, is also a click.
void release(HWND box, bool clicked) {
    notify_parent(box, kPictureMouseUp);
    if (clicked) {
        notify_parent(box, kPictureClick);
    }
}

// What a left button's press and release inside the box does, at once.
void press_and_release(HWND box) {
    notify_parent(box, kPictureMouseDown);
    release(box, true);
}

// The first Space or Enter only: a held key repeats its key-down message.
bool is_first_press(WPARAM key, LPARAM flags, WPARAM wanted) {
    return key == wanted && (HIWORD(flags) & KF_REPEAT) == 0;
}

std::optional<LRESULT> described_answer(HWND box, WPARAM flags, LPARAM object) {
    const auto* look = reinterpret_cast<const AccessibleLook*>(GetWindowLongPtrW(box, kLookSlot));
    return look ? answer_screen_reader(box, flags, object, *look) : std::nullopt;
}

LRESULT CALLBACK picture_box_procedure(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_NCCREATE: {
            const auto& state = *static_cast<const PictureBox*>(
                reinterpret_cast<const CREATESTRUCTW*>(lparam)->lpCreateParams);
            SetWindowLongPtrW(box, kPictureSlot, reinterpret_cast<LONG_PTR>(state.picture));
            SetWindowLongPtrW(box, kBackgroundSlot, static_cast<LONG_PTR>(state.background));
            break;
        }
        case WM_PAINT:
            paint(box, state_of(box));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            // A box takes the focus when clicked, as it does by Tab.
            SetFocus(box);
            if (!SetWindowLongPtrW(box, kPressedSlot, TRUE)) {
                SetCapture(box);
            }
            notify_parent(box, kPictureMouseDown);
            return 0;
        case WM_KEYDOWN:
            // Space as a push button takes it: pressed while held, acting on its release.
            // Enter as the dialog manager takes it on a push button: acting on the key-down,
            // with no pressed look.
            if (is_first_press(wparam, lparam, VK_SPACE) && !box_held_by_space()) {
                notify_parent(box, kPictureMouseDown);
                // Held only now: a box that hides itself when pressed has lost the focus.
                box_held_by_space() = box;
            } else if (is_first_press(wparam, lparam, VK_RETURN)) {
                press_and_release(box);
            }
            return 0;
        case WM_KEYUP:
            if (const HWND held = box_held_by_space(); wparam == VK_SPACE && held) {
                box_held_by_space() = nullptr;
                release(held, true);
            }
            return 0;
        case WM_KILLFOCUS:
            // As on a push button, the focus leaving calls a held Space's press off; later,
            // as the handlers that this runs may show windows, which this message forbids.
            if (const HWND held = std::exchange(box_held_by_space(), nullptr)) {
                PostMessageW(held, kCallOffKeyPress, 0, 0);
            }
            InvalidateRect(box, nullptr, FALSE);
            return 0;
        case WM_SETFOCUS:
            InvalidateRect(box, nullptr, FALSE);
            return 0;
        case WM_UPDATEUISTATE:
            InvalidateRect(box, nullptr, FALSE);
            break;
        case kCallOffKeyPress:
            notify_parent(box, kPicturePressCancelled);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            // Only the release that ends a press on this box counts: a press that began
            // elsewhere and was dragged here is none of its business.
            if (end_press(box)) {
                ReleaseCapture();
                release(box, message == WM_LBUTTONUP && pointer_inside(box, lparam));
            }
            return 0;
        case WM_CAPTURECHANGED:
            // The system took the mouse away (a menu, a dialog, another program), so no
            // release will end the press: it is called off.
            if (end_press(box)) {
                notify_parent(box, kPicturePressCancelled);
            }
            return 0;
        case kDoDefaultAction:
            press_and_release(box);
            return 0;
        case WM_GETOBJECT:
            if (const auto answer = described_answer(box, wparam, lparam)) {
                return *answer;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(box, message, wparam, lparam);
}

}  // namespace

void register_picture_box_class(HINSTANCE instance) {
    WNDCLASSEXW picture_box{};
    picture_box.cbSize = sizeof(picture_box);
    picture_box.lpfnWndProc = picture_box_procedure;
    picture_box.cbWndExtra = kSlots * sizeof(LONG_PTR);
    picture_box.hInstance = instance;
    picture_box.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    picture_box.lpszClassName = kClassName;
    RegisterClassExW(&picture_box);
}

void set_accessible_look(HWND box, const AccessibleLook& look) {
    SetWindowLongPtrW(box, kLookSlot, reinterpret_cast<LONG_PTR>(&look));
}

void set_picture(HWND box, HBITMAP picture) {
    SetWindowLongPtrW(box, kPictureSlot, reinterpret_cast<LONG_PTR>(picture));
    InvalidateRect(box, nullptr, FALSE);
}

HWND create_picture_box(HWND parent, int id, COLORREF background) {
    PictureBox state{nullptr, background};
    return CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)),
                           &state);
}

}  // namespace shell

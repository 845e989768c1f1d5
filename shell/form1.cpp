#include "shell/form1.hpp"
#include "shell/form1_window.hpp"

#include "generate/go_button.hpp"
#include "links/link_pictures.hpp"
#include "platform/failure.hpp"
#include "resources/resource_ids.h"
#include "shell/accessibility.hpp"
#include "shell/dpi.hpp"
#include "shell/failure_report.hpp"
#include "shell/gdi.hpp"
#include "shell/keyboard_focus.hpp"
#include "shell/picture_box.hpp"
#include "shell/pictures.hpp"
#include "source_path/folder_browser.hpp"
#include "source_path/source_field.hpp"

#include <oleacc.h>
#include <windows.h>

#include <array>
#include <utility>
#include <vector>

namespace shell {
namespace {

constexpr wchar_t kFormClass[] = L"TorvaneForm1";
constexpr wchar_t kCannotCreate[] = L"Could not create the main window";
// A fixed tool window: a small title bar with only the close box, no taskbar button.
constexpr DWORD kFormStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFormExtendedStyle = WS_EX_TOOLWINDOW;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kLabelColour = RGB(0, 0, 128);
constexpr int kFontPoints = 8;
constexpr int kPointsPerInch = 72;
// WM_GETDPISCALEDSIZE, which the headers declare only for Windows 10 (1703) and later.
constexpr UINT kGetDpiScaledSize = 0x02E4;

struct EventRoute {
    Control control;
    WORD notification;
    void (*handler)();
};

void Form_Load() {
    // The window needs nothing beyond its design values at load time.
}

// Which event of which control reaches which handler; every other event does nothing.
constexpr EventRoute kEventRoutes[] = {
    {Control::GO0, kPictureMouseDown, generate::GO0_MouseDown},
    {Control::GO0, kPictureMouseUp, generate::GO0_MouseUp},
    {Control::GO0, kPicturePressCancelled, generate::GO0_PressCancelled},
    // Go's pressed look is Go too: it holds the focus while Go is held, and screen readers
    // may press it.
    {Control::GO1, kPictureMouseDown, generate::GO0_MouseDown},
    {Control::GO1, kPictureMouseUp, generate::GO0_MouseUp},
    {Control::GO1, kPicturePressCancelled, generate::GO0_PressCancelled},
    {Control::TextBox1, EN_CHANGE, source_path::TextBox1_Change},
    {Control::Command2, BN_CLICKED, source_path::Command2_Click},
    {Control::Picture1, kPictureClick, links::Picture1_Click},
    {Control::Picture2, kPictureClick, links::Picture2_Click},
    {Control::Picture3, kPictureClick, links::Picture3_Click},
};

constexpr AccessibleLook kGoLook{L"Go", ROLE_SYSTEM_PUSHBUTTON, L"Press"};

// What screen readers announce for the controls whose looks tell it without words, and
// the default action of those that act.
constexpr std::pair<Control, AccessibleLook> kAccessibleLooks[] = {
    {Control::GO0, kGoLook},
    {Control::GO1, kGoLook},
    {Control::Command2, {L"Browse", 0, {}}},
    {Control::Picture1, {L"Donate", ROLE_SYSTEM_LINK, L"Jump"}},
    {Control::Picture2, {L"Web site", ROLE_SYSTEM_LINK, L"Jump"}},
    {Control::Picture3, {L"Mail", ROLE_SYSTEM_LINK, L"Jump"}},
    {Control::TextBox1, {design_of(Control::Label2).text, 0, {}}},
};

using Pictures = std::array<GdiObject<HBITMAP>, kControls.size()>;  // indexed by Control

// The window and what it owns for the whole run.
struct FormWindow {
    HWND window = nullptr;
    int dots_per_inch = kStandardDotsPerInch;
    GdiObject<HFONT> font;
    Pictures pictures;
    HWND focus_when_inactive = nullptr;
};

FormWindow& the_form() {
    static FormWindow form;
    return form;
}

RECT pixel_rect(const TwipsRect& place, int dots_per_inch) {
    const int left = scale_twips(place.left, dots_per_inch);
    const int top = scale_twips(place.top, dots_per_inch);
    return {left, top, left + scale_twips(place.width, dots_per_inch),
            top + scale_twips(place.height, dots_per_inch)};
}

HWND control_window(Control control) {
    const HWND window = GetDlgItem(the_form().window, design_of(control).id);
    if (!window) {
        platform::fail_with_last_error(L"Could not reach a control of the main window", L"");
    }
    return window;
}

void route_event(int id, WORD notification) {
    for (const EventRoute& route : kEventRoutes) {
        if (design_of(route.control).id == id && route.notification == notification) {
            route.handler();
        }
    }
}

HBITMAP picture_of(Control control) {
    return the_form().pictures[static_cast<std::size_t>(control)].get();
}

// A transparent control shows the window's white surface.
COLORREF background_of(const ControlDesign& control) {
    return control.background == Background::SystemWindow ? GetSysColor(COLOR_WINDOW) : kWhite;
}

Pictures load_pictures(int dots_per_inch) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const PictureLoader loader(dots_per_inch);
    Pictures pictures;
    for (const ControlDesign& control : kControls) {
        if (control.picture != 0) {
            pictures[static_cast<std::size_t>(control.name)] =
                loader.load(instance, control.picture, background_of(control));
        }
    }
    return pictures;
}

GdiObject<HFONT> create_font(int dots_per_inch) {
    // MS Sans Serif is a bitmap font drawn for 96 dots per inch; on a denser display its
    // nearest size would leave the text out of proportion with the window. There the
    // logical face "MS Shell Dlg" gives the outline font the system maps it to (Microsoft
    // Sans Serif, the outline successor of MS Sans Serif, on Windows 2000 and later).
    const wchar_t* const face =
        dots_per_inch == kStandardDotsPerInch ? L"MS Sans Serif" : L"MS Shell Dlg";
    return GdiObject<HFONT>(CreateFontW(-MulDiv(kFontPoints, dots_per_inch, kPointsPerInch), 0, 0,
                                        0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                        DEFAULT_PITCH | FF_DONTCARE, face));
}

RECT design_frame(int dots_per_inch) {
    return frame_around(pixel_rect(kFormClientArea, dots_per_inch), kFormStyle, kFormExtendedStyle,
                        dots_per_inch);
}

POINT design_frame_origin(int dots_per_inch) {
    const RECT frame = design_frame(dots_per_inch);
    return {frame.left, frame.top};
}

// The frame's place is the caller's; its size and everything inside follow from the dots
// per inch of the display, so the window looks the same on every display.
void fit_to(int dots_per_inch, POINT frame_origin) {
    FormWindow& form = the_form();
    form.dots_per_inch = dots_per_inch;
    GdiObject<HFONT> font = create_font(dots_per_inch);
    Pictures pictures = load_pictures(dots_per_inch);
    for (const ControlDesign& control : kControls) {
        const HWND child = GetDlgItem(form.window, control.id);
        if (!child) {
            continue;
        }
        const RECT place = pixel_rect(control.place, dots_per_inch);
        SetWindowPos(child, nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        if (control.kind == Kind::PictureBox) {
            set_picture(child, pictures[static_cast<std::size_t>(control.name)].get());
        }
    }
    // The controls use the new font and pictures now, so the old ones may go.
    form.font = std::move(font);
    form.pictures = std::move(pictures);

    const RECT frame = design_frame(dots_per_inch);
    SetWindowPos(form.window, nullptr, frame_origin.x, frame_origin.y, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(form.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void paint_surface(HWND window) {
    const PaintScope paint(window);
    const int dots_per_inch = the_form().dots_per_inch;
    const ControlDesign& label = design_of(Control::Label2);
    RECT place = pixel_rect(label.place, dots_per_inch);
    const HGDIOBJ previous_font = SelectObject(paint.context(), the_form().font.get());
    SetBkMode(paint.context(), TRANSPARENT);
    SetTextColor(paint.context(), kLabelColour);
    const RECT watermark = pixel_rect(design_of(Control::Image1).place, dots_per_inch);
    draw_picture(paint.context(), picture_of(Control::Image1), {watermark.left, watermark.top});
    // Drawn after the watermark, which would hide it otherwise; the letters alone show.
    DrawTextW(paint.context(), label.text.data(), static_cast<int>(label.text.size()), &place,
              DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(paint.context(), previous_font);
}

LRESULT CALLBACK form_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_NCCREATE:
            scale_frame_with_density(window);
            return DefWindowProcW(window, message, wparam, lparam);
        case WM_COMMAND:
            if (lparam != 0) {
                run_guarded(window, [&] { route_event(LOWORD(wparam), HIWORD(wparam)); });
            }
            return 0;
        case WM_PAINT:
            paint_surface(window);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wparam) == WA_INACTIVE) {
                the_form().focus_when_inactive = GetFocus();
            }
            return DefWindowProcW(window, message, wparam, lparam);
        case WM_SETFOCUS:
            pass_focus_on(window, reinterpret_cast<HWND>(wparam), the_form().focus_when_inactive);
            return 0;
        case kGetDpiScaledSize: {
            // The exact size at the new density, so the place Windows suggests with
            // WM_DPICHANGED fits it and the window does not jump between displays.
            const RECT frame = design_frame(LOWORD(wparam));
            *reinterpret_cast<SIZE*>(lparam) = {frame.right - frame.left, frame.bottom - frame.top};
            return TRUE;
        }
        case WM_DPICHANGED: {
            const auto& suggested = *reinterpret_cast<const RECT*>(lparam);
            run_guarded(window, [&] { fit_to(LOWORD(wparam), {suggested.left, suggested.top}); });
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wparam, lparam);
    }
}

// Created without a place or size: fit_to gives them theirs for the display.
HWND create_child(HINSTANCE instance, const ControlDesign& control) {
    const HWND parent = the_form().window;
    const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id));
    const std::wstring text(control.text);
    switch (control.kind) {
        case Kind::PictureBox:
            return create_picture_box(parent, control.id, background_of(control));
        case Kind::TextField:
            return CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", text.c_str(),
                                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, 0,
                                   0, 0, 0, parent, id, instance, nullptr);
        case Kind::PushButton:
            return CreateWindowExW(0, L"BUTTON", text.c_str(),
                                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0,
                                   parent, id, instance, nullptr);
        case Kind::Image:
        case Kind::Label:
            break;
    }
    return nullptr;
}

// The image and the label are drawn on the window's own surface, not child windows.
bool is_child_window(Kind kind) {
    return kind != Kind::Image && kind != Kind::Label;
}

void create_controls(HINSTANCE instance) {
    for (const ControlDesign& control : kControls) {
        if (is_child_window(control.kind) && !create_child(instance, control)) {
            platform::fail_with_last_error(kCannotCreate, L"");
        }
    }
    // The field takes text of any length, not the edit control's default of 32767.
    SendMessageW(control_window(Control::TextBox1), EM_SETLIMITTEXT, 0, 0);
    for (const auto& [control, look] : kAccessibleLooks) {
        // The picture boxes answer screen readers themselves; the field is the system's.
        if (design_of(control).kind == Kind::PictureBox) {
            set_accessible_look(control_window(control), look);
        } else {
            describe_for_screen_readers(control_window(control), look);
        }
    }
}

}  // namespace

std::wstring Form1::text(Control control) const {
    const HWND window = control_window(control);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1);
    const int length = GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::wstring(buffer.data(), static_cast<std::size_t>(length));
}

void Form1::set_text(Control control, std::wstring_view text) const {
    const std::wstring terminated(text);
    SetWindowTextW(control_window(control), terminated.c_str());
}

void Form1::select_text(Control control) const {
    SendMessageW(control_window(control), EM_SETSEL, 0, -1);
}

void Form1::set_visible(Control control, bool visible) const {
    const HWND window = control_window(control);
    ShowWindow(window, visible ? SW_SHOW : SW_HIDE);
    keep_focus_in_sight(the_form().window);
    // Painted now, not when the handler is over: the handler may work for a while.
    UpdateWindow(window);
}

platform::NativeWindow Form1::handle() const {
    const HWND window = the_form().window;
    if (!IsWindow(window)) {
        platform::fail_with_last_error(L"Could not reach the main window", L"");
    }
    return window;
}

void Form1::tell(std::wstring_view message) const {
    const std::wstring text(message);
    const std::wstring title(kFormTitle);
    MessageBoxW(handle(), text.c_str(), title.c_str(), MB_OK | MB_ICONWARNING);
}

const Form1& form1() {
    static const Form1 form;
    return form;
}

void create_form1() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW form_class{};
    form_class.cbSize = sizeof(form_class);
    form_class.lpfnWndProc = form_procedure;
    form_class.hInstance = instance;
    form_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_BRELIX));
    form_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    form_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    form_class.lpszClassName = kFormClass;
    RegisterClassExW(&form_class);
    register_picture_box_class(instance);

    // Created where the design puts it on a display of the system's density; once the
    // window knows the display it is really on, it fits itself to that one.
    FormWindow& form = the_form();
    const POINT origin = design_frame_origin(system_dots_per_inch());
    const std::wstring title(kFormTitle);
    form.window = CreateWindowExW(kFormExtendedStyle, kFormClass, title.c_str(), kFormStyle,
                                  origin.x, origin.y, 0, 0, nullptr, nullptr, instance, nullptr);
    if (!form.window) {
        platform::fail_with_last_error(kCannotCreate, L"");
    }
    // As for a dialog: focus marks hidden if the window was opened with the mouse.
    SendMessageW(form.window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEFOCUS), 0);
    create_controls(instance);
    const int dots_per_inch = dots_per_inch_of(form.window);
    fit_to(dots_per_inch, design_frame_origin(dots_per_inch));
    Form_Load();
}

bool move_focus_by_keyboard(const MSG& message) {
    return move_focus_by_tab(the_form().window, message);
}

void show_form1() {
    ShowWindow(the_form().window, SW_SHOWNORMAL);
    UpdateWindow(the_form().window);
}

}  // namespace shell

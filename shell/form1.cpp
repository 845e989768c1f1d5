#include "shell/form1.hpp"

#include "generate/go_button.hpp"
#include "links/link_pictures.hpp"
#include "platform/failure.hpp"
#include "resources/resource_ids.h"
#include "shell/failure_report.hpp"
#include "shell/gdi.hpp"
#include "shell/picture_box.hpp"
#include "shell/pictures.hpp"
#include "source_path/folder_browser.hpp"
#include "source_path/source_field.hpp"

#include <windows.h>

#include <array>
#include <vector>

namespace shell {
namespace {

constexpr wchar_t kFormClass[] = L"TorvaneForm1";
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kLabelColour = RGB(0, 0, 128);
constexpr int kFontPoints = 8;

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
    {Control::TextBox1, EN_CHANGE, source_path::TextBox1_Change},
    {Control::Command2, BN_CLICKED, source_path::Command2_Click},
    {Control::Picture1, kPictureClick, links::Picture1_Click},
    {Control::Picture2, kPictureClick, links::Picture2_Click},
    {Control::Picture3, kPictureClick, links::Picture3_Click},
};

// The window and what it owns for the whole run.
struct FormWindow {
    HWND window = nullptr;
    int dots_per_inch = 96;
    GdiObject<HFONT> font;
    std::array<GdiObject<HBITMAP>, kControls.size()> pictures;  // indexed by Control
};

FormWindow& the_form() {
    static FormWindow form;
    return form;
}

int scaled(int twips) {
    return scale_twips(twips, the_form().dots_per_inch);
}

RECT pixel_rect(const TwipsRect& place) {
    const int left = scaled(place.left);
    const int top = scaled(place.top);
    return {left, top, left + scaled(place.width), top + scaled(place.height)};
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

void load_pictures(HINSTANCE instance) {
    for (const ControlDesign& control : kControls) {
        if (control.picture != 0) {
            the_form().pictures[static_cast<std::size_t>(control.name)] =
                load_picture(instance, control.picture);
        }
    }
}

void paint_surface(HWND window) {
    const PaintScope paint(window);
    const ControlDesign& label = design_of(Control::Label2);
    RECT place = pixel_rect(label.place);
    const HGDIOBJ previous_font = SelectObject(paint.context(), the_form().font.get());
    SetBkMode(paint.context(), TRANSPARENT);
    SetTextColor(paint.context(), kLabelColour);
    const RECT watermark = pixel_rect(design_of(Control::Image1).place);
    draw_picture(paint.context(), picture_of(Control::Image1), {watermark.left, watermark.top});
    // Drawn after the watermark, which would hide it otherwise; the letters alone show.
    DrawTextW(paint.context(), label.text.data(), static_cast<int>(label.text.size()), &place,
              DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(paint.context(), previous_font);
}

LRESULT CALLBACK form_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
            if (lparam != 0) {
                run_guarded(window, [&] { route_event(LOWORD(wparam), HIWORD(wparam)); });
            }
            return 0;
        case WM_PAINT:
            paint_surface(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wparam, lparam);
    }
}

COLORREF background_of(const ControlDesign& control) {
    return control.background == Background::White ? kWhite : GetSysColor(COLOR_WINDOW);
}

HWND create_child(HINSTANCE instance, const ControlDesign& control) {
    const HWND parent = the_form().window;
    const RECT place = pixel_rect(control.place);
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id));
    const std::wstring text(control.text);
    switch (control.kind) {
        case Kind::PictureBox:
            return create_picture_box(parent, control.id, place, picture_of(control.name),
                                      background_of(control));
        case Kind::TextField:
            return CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", text.c_str(),
                                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL,
                                   place.left, place.top, width, height, parent, id, instance,
                                   nullptr);
        case Kind::PushButton:
            return CreateWindowExW(0, L"BUTTON", text.c_str(),
                                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, place.left,
                                   place.top, width, height, parent, id, instance, nullptr);
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

bool create_controls(HINSTANCE instance) {
    for (const ControlDesign& control : kControls) {
        if (!is_child_window(control.kind)) {
            continue;
        }
        const HWND child = create_child(instance, control);
        if (!child) {
            return false;
        }
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(the_form().font.get()), FALSE);
    }
    // The field takes text of any length, not the edit control's default of 32767.
    SendMessageW(control_window(Control::TextBox1), EM_SETLIMITTEXT, 0, 0);
    return true;
}

int screen_dots_per_inch() {
    const HDC screen = GetDC(nullptr);
    const int dots = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dots;
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

void Form1::set_visible(Control control, bool visible) const {
    ShowWindow(control_window(control), visible ? SW_SHOW : SW_HIDE);
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

bool create_form1() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    FormWindow& form = the_form();
    form.dots_per_inch = screen_dots_per_inch();
    form.font.reset(CreateFontW(-MulDiv(kFontPoints, form.dots_per_inch, 72), 0, 0, 0, FW_NORMAL,
                                FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                L"MS Sans Serif"));
    load_pictures(instance);

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

    constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    constexpr DWORD kExtendedStyle = WS_EX_TOOLWINDOW;
    RECT frame = pixel_rect(kFormClientArea);
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExtendedStyle);
    const std::wstring title(kFormTitle);
    form.window = CreateWindowExW(kExtendedStyle, kFormClass, title.c_str(), kStyle, frame.left,
                                  frame.top, frame.right - frame.left, frame.bottom - frame.top,
                                  nullptr, nullptr, instance, nullptr);
    if (!form.window || !create_controls(instance)) {
        return false;
    }
    run_guarded(form.window, Form_Load);
    return true;
}

void show_form1() {
    ShowWindow(the_form().window, SW_SHOWNORMAL);
    UpdateWindow(the_form().window);
}

}  // namespace shell

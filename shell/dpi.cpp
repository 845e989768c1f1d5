#include "shell/dpi.hpp"

#include "platform/system_function.hpp"

namespace shell {
namespace {

// Windows 10 (1607) added both; the headers declare them only for that version.
platform::SystemFunction<UINT(WINAPI*)(HWND)> dpi_for_window(L"user32.dll", "GetDpiForWindow");
platform::SystemFunction<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)> adjust_for_dpi(
    L"user32.dll", "AdjustWindowRectExForDpi");
// Windows 10 (1607) as well, which scales a window's frame and title bar with per-monitor
// awareness version 1 (all that it knows) only where the window asks while it is created.
platform::SystemFunction<BOOL(WINAPI*)(HWND)> enable_non_client_scaling(
    L"user32.dll", "EnableNonClientDpiScaling");

}  // namespace

int system_dots_per_inch() {
    const HDC screen = GetDC(nullptr);
    const int dots = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dots;
}

int dots_per_inch_of(HWND window) {
    const auto for_window = dpi_for_window.optional();
    return for_window ? static_cast<int>(for_window(window)) : system_dots_per_inch();
}

RECT frame_around(RECT client, DWORD style, DWORD extended_style, int dots_per_inch) {
    if (const auto adjust = adjust_for_dpi.optional()) {
        adjust(&client, style, FALSE, extended_style, static_cast<UINT>(dots_per_inch));
    } else {
        AdjustWindowRectEx(&client, style, FALSE, extended_style);
    }
    return client;
}

void scale_frame_with_density(HWND window) {
    if (const auto enable = enable_non_client_scaling.optional()) {
        enable(window);
    }
}

}  // namespace shell

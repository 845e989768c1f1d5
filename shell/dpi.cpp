#include "shell/dpi.hpp"

namespace shell {
namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// user32 is loaded in every GUI process, so asking it for an entry loads nothing.
template <typename Function>
Function user32_entry(const char* name) {
    const FARPROC entry = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(entry));
}

}  // namespace

int system_dots_per_inch() {
    const HDC screen = GetDC(nullptr);
    const int dots = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dots;
}

int dots_per_inch_of(HWND window) {
    static const auto dpi_for_window = user32_entry<GetDpiForWindowFunction>("GetDpiForWindow");
    return dpi_for_window ? static_cast<int>(dpi_for_window(window)) : system_dots_per_inch();
}

RECT frame_around(RECT client, DWORD style, DWORD extended_style, int dots_per_inch) {
    static const auto adjust_for_dpi =
        user32_entry<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    if (adjust_for_dpi) {
        adjust_for_dpi(&client, style, FALSE, extended_style, static_cast<UINT>(dots_per_inch));
    } else {
        AdjustWindowRectEx(&client, style, FALSE, extended_style);
    }
    return client;
}

}  // namespace shell

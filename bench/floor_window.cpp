// The floor for the start-up and Go benchmarks: only what the design requires before any
// control exists (a single-threaded apartment and a tool window of the same size and
// place), and an end at the release of a mouse button, as Go ends the program.
#include <objbase.h>
#include <windows.h>

namespace {

LRESULT CALLBACK floor_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_LBUTTONUP:
            ExitProcess(0);
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wparam, lparam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    WNDCLASSEXW floor_class{};
    floor_class.cbSize = sizeof(floor_class);
    floor_class.lpfnWndProc = floor_procedure;
    floor_class.hInstance = instance;
    floor_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    floor_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    floor_class.lpszClassName = L"TorvaneFloor";
    RegisterClassExW(&floor_class);

    constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU;
    RECT frame{355, 313, 355 + 259, 313 + 188};
    AdjustWindowRectEx(&frame, kStyle, FALSE, WS_EX_TOOLWINDOW);
    const HWND window = CreateWindowExW(
        WS_EX_TOOLWINDOW, L"TorvaneFloor", L"Torvane", kStyle, frame.left, frame.top,
        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}

#include "tests/e2e/driver.hpp"

#include <cstdio>
#include <cstring>
#include <thread>

namespace e2e {
namespace {

constexpr Duration kPollInterval = 50ms;

void send_mouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

DWORD down_flag(MouseButton button) {
    switch (button) {
        case MouseButton::Left:
            return MOUSEEVENTF_LEFTDOWN;
        case MouseButton::Right:
            return MOUSEEVENTF_RIGHTDOWN;
        case MouseButton::Middle:
            return MOUSEEVENTF_MIDDLEDOWN;
    }
    return 0;
}

}  // namespace

bool wait_until(const std::function<bool()>& condition, Duration limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return condition();
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

Brelix::Brelix(const TempFolder& working_folder, const std::wstring& arguments)
    : Brelix(working_folder.path(), arguments) {}

Brelix::Brelix(const std::wstring& working_folder, const std::wstring& arguments) {
    const std::wstring program = test_support::beside_this_program(L"Brelix.exe");
    std::wstring command_line =
        L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        working_folder.c_str(), &startup, &process_)) {
        std::fprintf(stderr, "could not start Brelix.exe: error %lu\n", GetLastError());
        return;
    }
    wait_until([&] {
        window_ = test_support::find_visible_window(process_.dwProcessId, L"TorvaneForm1");
        return window_ != nullptr;
    });
    // Input sent before the program waits for it could reach the screen before the window.
    WaitForInputIdle(process_.hProcess, static_cast<DWORD>(Duration(kPatience).count()));
}

Brelix::~Brelix() {
    if (process_.hProcess) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
}

HWND Brelix::control(shell::Control name) const {
    return GetDlgItem(window_, shell::design_of(name).id);
}

POINT Brelix::go_point() const {
    RECT place{};
    GetWindowRect(control(shell::Control::GO0), &place);
    return {place.left + 6, place.top + 18};
}

void Brelix::click_go() const {
    click(go_point());
}

bool Brelix::wait_until_painted() const {
    return wait_until([&] { return is_go_grey(screen_pixel(go_point())); });
}

bool Brelix::wait_for_exit(Duration limit) const {
    return process_.hProcess &&
           WaitForSingleObject(process_.hProcess, static_cast<DWORD>(limit.count())) ==
               WAIT_OBJECT_0;
}

DWORD Brelix::exit_code() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

HWND Brelix::wait_for_message_box(Duration limit) const {
    HWND box = nullptr;
    wait_until(
        [&] {
            box = test_support::find_visible_window(process_.dwProcessId, L"#32770");
            return box != nullptr;
        },
        limit);
    return box;
}

namespace {

void send_pointer_to(POINT screen) {
    // Absolute coordinates are normalised to 0..65535 over the primary screen.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, width - 1);
    input.mi.dy = MulDiv(screen.y, 65535, height - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
    wait_until(
        [&] {
            POINT now{};
            GetCursorPos(&now);
            return now.x == screen.x && now.y == screen.y;
        },
        2s);
}

}  // namespace

void move_pointer(POINT screen) {
    // A real move, even when the pointer already stands there: a window that has appeared
    // under a still pointer (a new program at the same place) is only found by a move.
    send_pointer_to({screen.x + 1, screen.y + 1});
    send_pointer_to(screen);
}

void press(MouseButton button) {
    send_mouse(down_flag(button));
}

// Each button's up flag is twice its down flag.
void release(MouseButton button) {
    send_mouse(down_flag(button) * 2);
}

void click(POINT screen, MouseButton button) {
    move_pointer(screen);
    press(button);
    release(button);
}

namespace {

INPUT key_input(WORD virtual_key, wchar_t character, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtual_key;
    input.ki.wScan = character;
    input.ki.dwFlags = flags;
    return input;
}

void send_keys(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    // Let the target handle them before the test looks at it.
    std::this_thread::sleep_for(100ms);
}

}  // namespace

void press_key(WORD virtual_key) {
    send_keys({key_input(virtual_key, 0, 0), key_input(virtual_key, 0, KEYEVENTF_KEYUP)});
}

void press_key_with(WORD modifier, WORD virtual_key) {
    send_keys({key_input(modifier, 0, 0), key_input(virtual_key, 0, 0),
               key_input(virtual_key, 0, KEYEVENTF_KEYUP),
               key_input(modifier, 0, KEYEVENTF_KEYUP)});
}

void type_text(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (const wchar_t character : text) {
        inputs.push_back(key_input(0, character, KEYEVENTF_UNICODE));
        inputs.push_back(key_input(0, character, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
    }
    send_keys(std::move(inputs));
}

void put_on_clipboard(const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    OpenClipboard(nullptr);
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, memory);  // the clipboard owns the memory from here
    CloseClipboard();
}

Screenshot::Screenshot(const RECT& screen)
    : width_(screen.right - screen.left),
      height_(screen.bottom - screen.top),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = width_;
    format.bmiHeader.biHeight = -height_;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    const HDC desktop = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(desktop);
    const HBITMAP bitmap = CreateCompatibleBitmap(desktop, width_, height_);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width_, height_, desktop, screen.left, screen.top, SRCCOPY);
    SelectObject(memory, previous);
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height_), pixels_.data(), &format,
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, desktop);
}

COLORREF Screenshot::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return CLR_INVALID;
    }
    const std::uint32_t pixel = pixels_[static_cast<std::size_t>(y) * width_ + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

Screenshot settled_screenshot(const RECT& screen, Duration limit) {
    Screenshot last(screen);
    wait_until(
        [&] {
            std::this_thread::sleep_for(100ms);
            Screenshot now(screen);
            const bool settled = now == last;
            last = std::move(now);
            return settled;
        },
        limit);
    return last;
}

Screenshot screenshot_of(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    return Screenshot(place);
}

RECT client_on_screen(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

RECT place_in_parent(HWND child) {
    RECT place{};
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

HWND focus_in(HWND window) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof(thread);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
    return thread.hwndFocus;
}

void select_whole_text(HWND field) {
    click(center_of(field));
    press_key(VK_END);
    press_key_with(VK_SHIFT, VK_HOME);
}

POINT center_of(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    return {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
}

std::wstring text_of(HWND window) {
    // GetWindowText does not ask a window of another process for its text; WM_GETTEXT does.
    const auto length = static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    std::vector<wchar_t> buffer(length + 1);
    const auto copied = static_cast<std::size_t>(
        SendMessageW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data())));
    return std::wstring(buffer.data(), copied);
}

std::wstring message_of(HWND message_box) {
    // The message text of a message box is the static control with identifier 0xFFFF.
    return text_of(GetDlgItem(message_box, 0xFFFF));
}

std::wstring read_and_dismiss(HWND message_box) {
    const std::wstring message = message_of(message_box);
    // The pointer over the box makes sure the box, not the window beneath, has the keys.
    move_pointer(center_of(message_box));
    press_key(VK_RETURN);
    return message;
}

COLORREF screen_pixel(POINT screen) {
    const HDC desktop = GetDC(nullptr);
    const COLORREF colour = GetPixel(desktop, screen.x, screen.y);
    ReleaseDC(nullptr, desktop);
    return colour;
}

bool is_go_grey(COLORREF colour) {
    return GetRValue(colour) == GetGValue(colour) && GetGValue(colour) == GetBValue(colour) &&
           GetRValue(colour) < 200;
}

bool is_go_orange(COLORREF colour) {
    return GetRValue(colour) > 230 && GetBValue(colour) < 160;
}

std::string narrow(const std::wstring& text) {
    std::string bytes;
    for (const wchar_t c : text) {
        bytes += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return bytes;
}

}  // namespace e2e

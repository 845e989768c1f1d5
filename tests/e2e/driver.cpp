#include "tests/e2e/driver.hpp"

#include <cstdio>
#include <thread>
#include <vector>

namespace e2e {

bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return condition();
        }
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

Brelix::Brelix(const std::wstring& working_folder, std::wstring arguments) {
    const std::wstring program = test_support::beside_this_program(L"Brelix.exe");
    std::wstring command_line = L"\"" + program + L"\" " + arguments;
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
    WaitForInputIdle(process_.hProcess, 20'000);
}

Brelix::~Brelix() {
    if (process_.hProcess) {
        if (!ended(0ms)) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
}

HWND Brelix::control(Control name) const {
    return GetDlgItem(window_, shell::design_of(name).id);
}

POINT Brelix::point_in(Control name) const {
    RECT place{};
    GetWindowRect(control(name), &place);
    return {place.left + 6, place.top + 18};
}

std::wstring Brelix::field() const {
    return text_of(control(Control::TextBox1));
}

bool Brelix::ended(std::chrono::milliseconds limit) const {
    return process_.hProcess &&
           WaitForSingleObject(process_.hProcess, static_cast<DWORD>(limit.count())) == 0;
}

DWORD Brelix::exit_code() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

HWND Brelix::dialog(std::chrono::milliseconds limit) const {
    HWND found = nullptr;
    wait_until(
        [&] {
            found = test_support::find_visible_window(process_.dwProcessId, L"#32770");
            return found != nullptr;
        },
        limit);
    return found;
}

namespace {

GUITHREADINFO thread_state(DWORD thread) {
    GUITHREADINFO state{};
    state.cbSize = sizeof(state);
    GetGUIThreadInfo(thread, &state);
    return state;
}

void send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT mouse_input(DWORD flags, POINT at = {}) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    // Absolute coordinates are normalised to 0..65535 over the primary screen.
    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    return input;
}

INPUT key_input(WORD virtual_key, wchar_t character, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtual_key;
    input.ki.wScan = character;
    input.ki.dwFlags = flags;
    return input;
}

void send_pointer_to(POINT screen) {
    send({mouse_input(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, screen)});
    wait_until(
        [&] {
            POINT now{};
            GetCursorPos(&now);
            return now.x == screen.x && now.y == screen.y;
        },
        2s);
}

}  // namespace

HWND Brelix::focus() const {
    return thread_state(process_.dwThreadId).hwndFocus;
}

HWND Brelix::capture() const {
    return thread_state(process_.dwThreadId).hwndCapture;
}

void move_pointer(POINT screen) {
    // A real move, even when the pointer already stands there: a window that has appeared
    // under a still pointer is only found by a move.
    send_pointer_to({screen.x + 1, screen.y + 1});
    send_pointer_to(screen);
}

void press(Button button) {
    send({mouse_input(static_cast<DWORD>(button))});
}

// Each button's up flag is twice its down flag.
void release(Button button) {
    send({mouse_input(static_cast<DWORD>(button) * 2)});
}

void click(POINT screen) {
    move_pointer(screen);
    press();
    release();
}

void keys(std::initializer_list<WORD> virtual_keys) {
    std::vector<INPUT> inputs;
    for (const WORD key : virtual_keys) {
        inputs.push_back(key_input(key, 0, 0));
    }
    for (auto key = std::rbegin(virtual_keys); key != std::rend(virtual_keys); ++key) {
        inputs.push_back(key_input(*key, 0, KEYEVENTF_KEYUP));
    }
    send(std::move(inputs));
}

void type(std::wstring_view text) {
    std::vector<INPUT> inputs;
    for (const wchar_t character : text) {
        inputs.push_back(key_input(0, character, KEYEVENTF_UNICODE));
        inputs.push_back(key_input(0, character, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
    }
    send(std::move(inputs));
}

void type_over_field(const Brelix& brelix, std::wstring_view text) {
    click(brelix.point_in(Control::TextBox1));
    keys({VK_END});
    keys({VK_SHIFT, VK_HOME});
    type(text);
    wait_until([&] { return brelix.field() == text; });
}

POINT center_of(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    return {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
}

std::wstring text_of(HWND window) {
    // GetWindowText does not ask a window of another process for its text; WM_GETTEXT does.
    std::wstring text(static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1,
                      L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

std::wstring read_and_dismiss(HWND message_box) {
    // The message is the static control with identifier 0xFFFF.
    const std::wstring message = text_of(GetDlgItem(message_box, 0xFFFF));
    // Without a window manager, X gives the keys to the window under the pointer.
    move_pointer(center_of(message_box));
    keys({VK_RETURN});
    return message;
}

COLORREF screen_pixel(POINT screen) {
    const HDC desktop = GetDC(nullptr);
    const COLORREF colour = GetPixel(desktop, screen.x, screen.y);
    ReleaseDC(nullptr, desktop);
    return colour;
}

bool is_orange(COLORREF colour) {
    return GetRValue(colour) > 230 && GetBValue(colour) < 160;
}

bool contains(std::wstring_view text, std::wstring_view part) {
    return text.find(part) != std::wstring_view::npos;
}

}  // namespace e2e

#pragma once

// Drives the real Brelix.exe as a user does: real files, real input, bounded waits.
#include "shell/design.hpp"
#include "tests/support/test_support.hpp"

#include <chrono>
#include <functional>
#include <thread>

namespace e2e {

using namespace std::chrono_literals;
using shell::Control;
using namespace test_support;

inline const std::string kDefaultPath = "C:\\Program Files\\Avira\\Antivir Desktop";
// A template whose script writes the path put in for the token to marker.txt.
inline const std::string kMarkerTemplate = "@echo off\r\necho PATHtoFOLDER>marker.txt\r\n";

// Polls until the condition holds or the time is up; returns the last answer.
inline bool wait_until(const std::function<bool()>& condition,
                       std::chrono::milliseconds limit = 20s) {
    for (const auto deadline = std::chrono::steady_clock::now() + limit; !condition();) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return condition();
        }
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

inline std::wstring text_of(HWND window) {
    // GetWindowText does not ask a window of another process for its text; WM_GETTEXT does.
    std::wstring text(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

// While this lives, the programs started take the file found for the system program or library
// named (without ".dll") over Wine's own build: that file only ("native"), or else Wine's
// ("native,builtin"). Set in the registry: WINEDLLOVERRIDES would not reach a 64-bit grandchild.
class NativeOverWine {
  public:
    explicit NativeOverWine(std::wstring name, const std::wstring& order = L"native,builtin")
        : name_(std::move(name)) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kOverrides, name_.c_str(), REG_SZ, order.c_str(),
                        static_cast<DWORD>((order.size() + 1) * sizeof(wchar_t)));
    }
    NativeOverWine(const NativeOverWine&) = delete;
    NativeOverWine& operator=(const NativeOverWine&) = delete;
    ~NativeOverWine() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kOverrides, name_.c_str()); }

  private:
    static constexpr wchar_t kOverrides[] = L"Software\\Wine\\DllOverrides";
    std::wstring name_;
};

struct WorkingFolder : TempFolder {
    explicit WorkingFolder(const std::string& script) { write(L"backup.bat", script); }
};

// A Brelix.exe started in a working folder, shown and waiting for input; ended if it runs on.
class Brelix {
  public:
    explicit Brelix(const std::wstring& working_folder, std::wstring arguments = L"",
                    const std::wstring& program = beside_this_program(L"Brelix.exe")) {
        arguments = L"\"" + program + L"\" " + arguments;
        GetDesktopWindow();  // if none runs, Wine's desktop process starts here, not as Brelix's
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        if (CreateProcessW(program.c_str(), arguments.data(), nullptr, nullptr, FALSE,
                           CREATE_SUSPENDED, nullptr, working_folder.c_str(), &startup,
                           &process_)) {
            AssignProcessToJobObject(family_, process_.hProcess);
            ResumeThread(process_.hThread);
            wait_until([&] { return (window_ = find_window(L"TorvaneForm1")) != nullptr; });
            // Input sent before the program waits for it could reach the screen before it.
            WaitForInputIdle(process_.hProcess, 20'000);
        }
    }
    Brelix(const Brelix&) = delete;
    Brelix& operator=(const Brelix&) = delete;
    ~Brelix() {
        // With what it started, such as a script's console (see tests/README.md).
        TerminateJobObject(family_, 99);
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
        wait_until([&] {
            JOBOBJECT_BASIC_ACCOUNTING_INFORMATION job{};
            QueryInformationJobObject(family_, JobObjectBasicAccountingInformation, &job,
                                      sizeof(job), nullptr);
            return job.ActiveProcesses == 0;
        });
        CloseHandle(family_);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }

    [[nodiscard]] HWND window() const noexcept { return window_; }
    [[nodiscard]] HWND control(Control name) const {
        return GetDlgItem(window_, shell::design_of(name).id);
    }
    // A point inside the control on the screen, away from the Go picture's letters.
    [[nodiscard]] POINT point_in(Control name) const {
        RECT place{};
        GetWindowRect(control(name), &place);
        return {place.left + 6, place.top + 18};
    }
    [[nodiscard]] std::wstring field() const { return text_of(control(Control::TextBox1)); }
    bool field_shows(std::wstring_view text) const {
        return wait_until([&] { return field() == text; });
    }
    // The exit code, once the program has ended within 20 s.
    [[nodiscard]] std::optional<DWORD> exit_code() const {
        DWORD code = 0;
        const bool ended = WaitForSingleObject(process_.hProcess, 20'000) == WAIT_OBJECT_0;
        return ended && GetExitCodeProcess(process_.hProcess, &code) ? std::optional(code)
                                                                     : std::nullopt;
    }
    // A dialog of the program (a message box or the folder picker), once it shows.
    [[nodiscard]] HWND dialog() const {
        HWND found = nullptr;
        wait_until([&] { return (found = find_window(L"#32770")) != nullptr; });
        return found;
    }
    // WM_DPICHANGED; Wine passes its pointer to the program as it is, so the place goes there.
    void change_density(int dots, const RECT& suggested) const {
        void* const at = VirtualAllocEx(process_.hProcess, nullptr, sizeof(suggested), MEM_COMMIT,
                                        PAGE_READWRITE);
        WriteProcessMemory(process_.hProcess, at, &suggested, sizeof(suggested), nullptr);
        SendMessageW(window_, WM_DPICHANGED, MAKEWPARAM(dots, dots), reinterpret_cast<LPARAM>(at));
    }
    // Where the program's keyboard focus (hwndFocus) and mouse capture (hwndCapture) are.
    [[nodiscard]] GUITHREADINFO state() const {
        GUITHREADINFO state{};
        state.cbSize = sizeof(state);
        GetGUIThreadInfo(process_.dwThreadId, &state);
        return state;
    }

  private:
    HWND find_window(const wchar_t* class_name) const {
        return find_visible_window(process_.dwProcessId, class_name);
    }

    HANDLE family_ = CreateJobObjectW(nullptr, nullptr);  // the program and what it starts
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

// Where the test last put the pointer, carried by each button event (see tests/README.md).
inline POINT pointer_position{};

inline void move_pointer(POINT screen) {
    // A real move, even when the pointer already stands there: a window that has appeared
    // under a still pointer is only found by a move.
    SetCursorPos(screen.x + 1, screen.y + 1);
    SetCursorPos(screen.x, screen.y);
    pointer_position = screen;
}

// A button going down or up where the pointer was put (an up flag is twice the down flag).
inline void mouse(DWORD button_flag) {
    const auto absolute = [](LONG pixel, int size) { return (pixel * 65536 + size - 1) / size; };
    INPUT input{.type = INPUT_MOUSE,
                .mi = {absolute(pointer_position.x, GetSystemMetrics(SM_CXSCREEN)),
                       absolute(pointer_position.y, GetSystemMetrics(SM_CYSCREEN)), 0,
                       button_flag | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 0}};
    SendInput(1, &input, sizeof(input));
}

inline void click(POINT screen) {
    move_pointer(screen);
    mouse(MOUSEEVENTF_LEFTDOWN);
    mouse(MOUSEEVENTF_LEFTUP);
}

// One key going down, or up with KEYEVENTF_KEYUP, as a key held between other steps; with
// KEYEVENTF_UNICODE, the character instead.
inline void key(WORD virtual_key, DWORD flags = 0, wchar_t character = 0) {
    INPUT input{.type = INPUT_KEYBOARD, .ki = {virtual_key, character, flags, 0, 0}};
    SendInput(1, &input, sizeof(input));
}

// Keys pressed together, as Shift+Tab, released in reverse order; then a text, typed.
inline void keys(std::initializer_list<WORD> virtual_keys, std::wstring_view text = {}) {
    for (const WORD down : virtual_keys) {
        key(down);
    }
    for (auto up = std::rbegin(virtual_keys); up != std::rend(virtual_keys); ++up) {
        key(*up, KEYEVENTF_KEYUP);
    }
    for (const wchar_t character : text) {
        key(0, KEYEVENTF_UNICODE, character);
        key(0, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP, character);
    }
}

inline bool focus_moves_to(const Brelix& brelix, Control name, std::initializer_list<WORD> tab) {
    keys(tab);
    return wait_until([&] { return brelix.state().hwndFocus == brelix.control(name); }, 2s);
}

inline void type_over_field(const Brelix& brelix, std::wstring_view text) {
    click(brelix.point_in(Control::TextBox1));
    keys({VK_END});
    keys({VK_SHIFT, VK_HOME}, text);
    brelix.field_shows(text);
}

inline POINT center_of(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    return {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
}

// The text of a message box (its static control 0xFFFF), which is then closed with Enter.
// Without a window manager, X gives the keys to the window under the pointer.
inline std::wstring read_and_dismiss(HWND message_box) {
    const std::wstring message = text_of(GetDlgItem(message_box, 0xFFFF));
    move_pointer(center_of(message_box));
    keys({VK_RETURN});
    wait_until([&] { return !IsWindow(message_box); });
    return message;
}

}  // namespace e2e

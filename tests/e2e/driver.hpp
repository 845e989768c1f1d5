#pragma once

// Drives the real Brelix.exe the way a user does: real files in a fresh working folder,
// real mouse and keyboard input through SendInput, and bounded waits on conditions.
#include "shell/design.hpp"
#include "tests/support/test_support.hpp"

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

namespace e2e {

using namespace std::chrono_literals;
using shell::Control;
using test_support::TempFolder;

// Polls until the condition holds or the time is up; returns the last answer.
bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds limit = 20s);

inline const std::string kDefaultPath = "C:\\Program Files\\Avira\\Antivir Desktop";
// A template whose script writes the path put in for the token to marker.txt.
inline const std::string kMarkerTemplate = "@echo off\r\necho PATHtoFOLDER>marker.txt\r\n";

// A fresh working folder that holds a template.
struct WorkingFolder : TempFolder {
    explicit WorkingFolder(const std::string& script) { write(L"backup.bat", script); }
};

// A Brelix.exe started in a working folder, shown and waiting for input; ended on
// destruction if it still runs.
class Brelix {
  public:
    explicit Brelix(const std::wstring& working_folder, std::wstring arguments = L"");
    Brelix(const Brelix&) = delete;
    Brelix& operator=(const Brelix&) = delete;
    ~Brelix();

    [[nodiscard]] HWND window() const noexcept { return window_; }
    [[nodiscard]] HWND control(Control name) const;
    // A point inside the control, in screen coordinates, away from the Go picture's letters.
    [[nodiscard]] POINT point_in(Control name) const;
    [[nodiscard]] std::wstring field() const;
    [[nodiscard]] bool ended(std::chrono::milliseconds limit = 20s) const;
    [[nodiscard]] DWORD exit_code() const;
    // A dialog of this process (a message box or the folder picker), once it shows.
    [[nodiscard]] HWND dialog(std::chrono::milliseconds limit = 20s) const;
    // The window that has the keyboard focus, or the mouse capture, in the program.
    [[nodiscard]] HWND focus() const;
    [[nodiscard]] HWND capture() const;

  private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

enum class Button : DWORD {
    Left = MOUSEEVENTF_LEFTDOWN,
    Right = MOUSEEVENTF_RIGHTDOWN,
    Middle = MOUSEEVENTF_MIDDLEDOWN
};

void move_pointer(POINT screen);
void press(Button button = Button::Left);
void release(Button button = Button::Left);
void click(POINT screen);
// Keys pressed together, as in Shift+Tab, and released in the reverse order.
void keys(std::initializer_list<WORD> virtual_keys);
void type(std::wstring_view text);
// Clicks into the field and types the text over its whole text.
void type_over_field(const Brelix& brelix, std::wstring_view text);

[[nodiscard]] POINT center_of(HWND window);
[[nodiscard]] std::wstring text_of(HWND window);
// The text of a message box; the box is closed with Enter, as a user would.
std::wstring read_and_dismiss(HWND message_box);
[[nodiscard]] COLORREF screen_pixel(POINT screen);
// The Go picture is grey at rest and light orange pressed.
[[nodiscard]] bool is_orange(COLORREF colour);
[[nodiscard]] bool contains(std::wstring_view text, std::wstring_view part);

}  // namespace e2e

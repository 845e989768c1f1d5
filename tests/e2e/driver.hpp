#pragma once

// Drives the real Brelix.exe the way a user does: real files in a fresh working folder,
// real mouse and keyboard input through SendInput, and bounded waits everywhere.
#include "shell/design.hpp"
#include "tests/support/test_support.hpp"

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Duration = std::chrono::milliseconds;

inline constexpr Duration kPatience = 20s;

// Polls until the condition holds or the time is up; returns the last answer.
bool wait_until(const std::function<bool()>& condition, Duration limit = kPatience);

using test_support::TempFolder;

// The default source path as the field shows it.
inline const std::string kDefaultPath = "C:\\Program Files\\Avira\\Antivir Desktop";
// A template whose script writes the path put in for the token to marker.txt.
inline const std::string kMarkerTemplate = "@echo off\r\necho PATHtoFOLDER>marker.txt\r\n";

// A Brelix.exe started by the test in a working folder; ended on destruction if it is
// still running (only this process, by its own handle).
class Brelix {
  public:
    explicit Brelix(const TempFolder& working_folder, const std::wstring& arguments = L"");
    explicit Brelix(const std::wstring& working_folder, const std::wstring& arguments = L"");
    Brelix(const Brelix&) = delete;
    Brelix& operator=(const Brelix&) = delete;
    ~Brelix();

    // The main window, once it is shown; null if it did not show in time.
    [[nodiscard]] HWND window() const noexcept { return window_; }
    [[nodiscard]] HWND control(shell::Control name) const;
    // A point inside the Go picture, away from its letters, in screen coordinates.
    [[nodiscard]] POINT go_point() const;
    void click_go() const;
    // Whether the first painting has reached the Go picture, the last control it draws.
    [[nodiscard]] bool wait_until_painted() const;
    [[nodiscard]] bool wait_for_exit(Duration limit = kPatience) const;
    [[nodiscard]] DWORD exit_code() const;
    // A message box of this process, once it is shown; null if none showed in time.
    [[nodiscard]] HWND wait_for_message_box(Duration limit = kPatience) const;

  private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

enum class MouseButton { Left, Right, Middle };

void move_pointer(POINT screen);
void press(MouseButton button);
void release(MouseButton button);
void click(POINT screen, MouseButton button = MouseButton::Left);
void press_key(WORD virtual_key);
void press_key_with(WORD modifier, WORD virtual_key);
// Types the text as the keyboard would, character by character.
void type_text(const std::wstring& text);
void put_on_clipboard(const std::wstring& text);
// Clicks into the field and selects its whole text with End, Shift+Home.
void select_whole_text(HWND field);

// The pixels of a rectangle of the screen as they were when it was taken.
class Screenshot {
  public:
    explicit Screenshot(const RECT& screen);
    [[nodiscard]] int width() const noexcept { return width_; }
    [[nodiscard]] int height() const noexcept { return height_; }
    // x and y from the rectangle's top-left corner; CLR_INVALID outside the rectangle.
    [[nodiscard]] COLORREF at(int x, int y) const;
    bool operator==(const Screenshot&) const = default;

  private:
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;  // top-down rows of 0x00RRGGBB
};

// The rectangle of the screen once two looks a moment apart agree, so that no painting
// is under way (or the last look, if it never settles within the limit).
[[nodiscard]] Screenshot settled_screenshot(const RECT& screen, Duration limit = 5s);

// The window's rectangle of the screen, frame included.
[[nodiscard]] Screenshot screenshot_of(HWND window);

// A window's client area in screen coordinates.
[[nodiscard]] RECT client_on_screen(HWND window);
// A child window's rectangle in its parent's client coordinates.
[[nodiscard]] RECT place_in_parent(HWND child);
// The window that has the keyboard focus in the thread of the given window.
[[nodiscard]] HWND focus_in(HWND window);

[[nodiscard]] POINT center_of(HWND window);
[[nodiscard]] std::wstring text_of(HWND window);
// The message text of a message box.
[[nodiscard]] std::wstring message_of(HWND message_box);
// Reads the message box's text and closes the box with Enter, as a user would.
std::wstring read_and_dismiss(HWND message_box);
[[nodiscard]] COLORREF screen_pixel(POINT screen);
// The Go picture at rest is grey, pressed light orange (its letters are white in both).
[[nodiscard]] bool is_go_grey(COLORREF colour);
[[nodiscard]] bool is_go_orange(COLORREF colour);
[[nodiscard]] std::string narrow(const std::wstring& text);

}  // namespace e2e

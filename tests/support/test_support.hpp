#pragma once

// Helpers shared by the Windows test programs.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace test_support {

// A fresh folder in the user's temporary folder (or in the given one), removed with all it
// holds at the end.
class TempFolder {
  public:
    TempFolder();
    explicit TempFolder(const std::wstring& parent);
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    [[nodiscard]] const std::wstring& path() const noexcept { return path_; }
    void write(const std::wstring& name, const std::string& bytes) const;
    [[nodiscard]] std::optional<std::string> read(const std::wstring& name) const;
    // The names of the folder's entries, sorted.
    [[nodiscard]] std::vector<std::wstring> names() const;

  private:
    std::wstring path_;
};

// Whether the tests run under Wine, where they may change the system: it is a prefix of
// their own.
[[nodiscard]] bool under_wine();

[[nodiscard]] std::string utf8(std::wstring_view text);

// The value of an environment variable, if it is set.
[[nodiscard]] std::optional<std::wstring> environment(const wchar_t* name);

// The full path of a file built beside the running test program, such as Brelix.exe.
[[nodiscard]] std::wstring beside_this_program(std::wstring_view name);

// A visible top-level window of the process, of the class or, for an empty class name, of
// any class; null if there is none.
[[nodiscard]] HWND find_visible_window(DWORD process, std::wstring_view class_name);

}  // namespace test_support

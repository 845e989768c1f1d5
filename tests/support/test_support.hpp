#pragma once

// Helpers shared by the Windows test programs.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace test_support {

namespace fs = std::filesystem;

// A fresh folder in the temporary or the given folder (made if missing), of size or more, removed.
class TempFolder {
  public:
    explicit TempFolder(const fs::path& parent = fs::temp_directory_path(), std::size_t size = 0) {
        static int made = 0;
        path_ = (parent / (L"torvane-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                           std::to_wstring(++made)))
                    .wstring();
        path_.resize(std::max(path_.size(), size), L'x');
        fs::remove_all(path_, ignored_);  // left by an earlier test program of the same number
        fs::create_directories(path_);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() { fs::remove_all(path_, ignored_); }

    [[nodiscard]] const std::wstring& path() const noexcept { return path_; }
    void write(const std::wstring& name, const std::string& bytes) const {
        std::ofstream(fs::path(path_) / name, std::ios::binary) << bytes;
    }
    [[nodiscard]] std::optional<std::string> read(const std::wstring& name) const {
        std::ifstream in(fs::path(path_) / name, std::ios::binary);
        return in ? std::optional(std::string(std::istreambuf_iterator<char>(in), {}))
                  : std::nullopt;
    }
    [[nodiscard]] std::ptrdiff_t entries() const {
        return std::distance(fs::directory_iterator(path_), fs::directory_iterator());
    }

  private:
    std::wstring path_;
    std::error_code ignored_;  // a folder that cannot be removed is left behind
};

inline std::wstring beside_this_program(std::wstring_view name) {
    wchar_t self[MAX_PATH]{};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return (fs::path(self).parent_path() / name).wstring();
}

inline std::optional<std::wstring> environment(const wchar_t* name) {
    std::wstring value(GetEnvironmentVariableW(name, nullptr, 0), L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size())));
    return value.empty() ? std::nullopt : std::optional(value);
}

inline std::string utf8(std::wstring_view text) {
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                            static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

// Whether the tests run under Wine, in a prefix of their own that they may change.
inline bool under_wine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// A visible top-level window of the process and the class, or of any class for none.
inline HWND find_visible_window(DWORD process, const wchar_t* class_name) {
    for (HWND window = FindWindowExW(nullptr, nullptr, class_name, nullptr); window;
         window = FindWindowExW(nullptr, window, class_name, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process && IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

}  // namespace test_support

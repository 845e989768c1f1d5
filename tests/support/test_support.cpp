#include "tests/support/test_support.hpp"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace test_support {

namespace {

std::wstring temp_folder() {
    wchar_t temp[MAX_PATH];
    return std::wstring(temp, GetTempPathW(MAX_PATH, temp));
}

}  // namespace

TempFolder::TempFolder() : TempFolder(temp_folder()) {}

TempFolder::TempFolder(const std::wstring& parent) {
    // Process identifiers come round again, and a script a test started may still hold an
    // old folder; so a folder that exists already is never taken.
    static int made = 0;
    const std::wstring prefix = parent.ends_with(L'\\') ? parent : parent + L"\\";
    do {
        path_ = prefix + L"torvane-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++made);
    } while (!CreateDirectoryW(path_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Read-only files (some tests make them) cannot be deleted as they are.
    for (auto entry = std::filesystem::recursive_directory_iterator(path_, ignored);
         entry != std::filesystem::recursive_directory_iterator(); entry.increment(ignored)) {
        SetFileAttributesW(entry->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(path_, ignored);
}

void TempFolder::write(const std::wstring& name, const std::string& bytes) const {
    std::ofstream(std::filesystem::path(path_ + L"\\" + name), std::ios::binary) << bytes;
}

std::optional<std::string> TempFolder::read(const std::wstring& name) const {
    std::ifstream in(std::filesystem::path(path_ + L"\\" + name), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::wstring> TempFolder::names() const {
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return found;
    }
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") {
            found.push_back(name);
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    std::sort(found.begin(), found.end());
    return found;
}

bool under_wine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

std::string utf8(std::wstring_view text) {
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                            static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

std::optional<std::wstring> environment(const wchar_t* name) {
    std::vector<wchar_t> value(GetEnvironmentVariableW(name, nullptr, 0));
    if (value.empty()) {
        return std::nullopt;
    }
    GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    return std::wstring(value.data());
}

std::wstring beside_this_program(std::wstring_view name) {
    wchar_t self[MAX_PATH]{};
    const std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    return path.substr(0, path.find_last_of(L'\\') + 1) + std::wstring(name);
}

namespace {

struct WindowSearch {
    DWORD process;
    std::wstring_view class_name;
    HWND found;
};

BOOL CALLBACK match_window(HWND window, LPARAM lparam) {
    auto& search = *reinterpret_cast<WindowSearch*>(lparam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t class_name[64]{};
    GetClassNameW(window, class_name, 64);
    if (owner == search.process && IsWindowVisible(window) &&
        (search.class_name.empty() || search.class_name == class_name)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND find_visible_window(DWORD process, std::wstring_view class_name) {
    WindowSearch search{process, class_name, nullptr};
    EnumWindows(match_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace test_support

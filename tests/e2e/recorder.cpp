// Stands in for the browser, the mail program and cmd: appends a line per start to the file
// named by TORVANE_RECORD, in UTF-8: its own path, show command and command line, by "|".
#include "tests/support/test_support.hpp"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const auto log = test_support::environment(L"TORVANE_RECORD");
    wchar_t self[MAX_PATH]{};
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    const int show = startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : -1;
    const std::string line =
        test_support::utf8(std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH)) + L"|" +
                           std::to_wstring(show) + L"|" + GetCommandLineW() + L"\n");
    const HANDLE file =
        CreateFileW(log.value_or(L"").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool recorded =
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return recorded ? 0 : 1;
}

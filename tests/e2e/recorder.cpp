// Stands in for the browser, the mail program and cmd: appends a line per start to the file
// named by TORVANE_RECORD, in UTF-8: its own path, show command and command line, by "|".
#include "tests/support/test_support.hpp"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t self[MAX_PATH]{};
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    const int show = startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : -1;
    std::ofstream log(
        test_support::fs::path(test_support::environment(L"TORVANE_RECORD").value_or(L"")),
        std::ios::app | std::ios::binary);
    log << test_support::utf8(std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH)) +
                              L"|" + std::to_wstring(show) + L"|" + GetCommandLineW() + L"\n");
    return log.flush() ? 0 : 1;
}

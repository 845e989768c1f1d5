// Stands in for the web browser, the mail program and the command interpreter: appends
// one line per start to the file named by TORVANE_RECORD, in UTF-8: the program's own
// path, the show command it was given and its command line, separated by "|".
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t log[MAX_PATH]{};
    wchar_t self[MAX_PATH]{};
    if (!GetEnvironmentVariableW(L"TORVANE_RECORD", log, MAX_PATH) ||
        !GetModuleFileNameW(nullptr, self, MAX_PATH)) {
        return 1;
    }
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    const int show = startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : -1;
    const std::wstring line =
        std::wstring(self) + L"|" + std::to_wstring(show) + L"|" + GetCommandLineW() + L"\n";
    std::string bytes(line.size() * 3, '\0');
    bytes.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), bytes.data(),
                            static_cast<int>(bytes.size()), nullptr, nullptr)));
    const HANDLE file = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool recorded =
        file != INVALID_HANDLE_VALUE &&
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return recorded ? 0 : 1;
}

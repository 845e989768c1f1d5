// Stands in for the web browser and the mail program in the link tests: appends what the
// shell handed it, one line per start, to the file named by TORVANE_LINK_LOG.
#include "platform/unique_handle.hpp"

#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
    wchar_t log[MAX_PATH]{};
    const DWORD log_length = GetEnvironmentVariableW(L"TORVANE_LINK_LOG", log, MAX_PATH);
    if (log_length == 0 || log_length >= MAX_PATH || argc < 2) {
        return 1;
    }
    const int length = WideCharToMultiByte(CP_UTF8, 0, argv[1], -1, nullptr, 0, nullptr, nullptr);
    std::string line(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, argv[1], -1, line.data(), length, nullptr, nullptr);
    line.back() = '\n';
    const platform::UniqueHandle file = platform::adopt_handle(
        CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file ||
        !WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr)) {
        return 1;
    }
    return 0;
}

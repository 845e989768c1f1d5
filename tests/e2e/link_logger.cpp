// Stands in for the web browser and the mail program in the link tests: appends what the
// shell handed it, one line per start, to the file named by TORVANE_LINK_LOG.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
    const wchar_t* log = _wgetenv(L"TORVANE_LINK_LOG");
    if (!log || argc < 2) {
        return 1;
    }
    const int length = WideCharToMultiByte(CP_UTF8, 0, argv[1], -1, nullptr, 0, nullptr, nullptr);
    std::string line(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, argv[1], -1, line.data(), length, nullptr, nullptr);
    line.back() = '\n';
    FILE* file = _wfopen(log, L"ab");
    if (!file) {
        return 1;
    }
    std::fputs(line.c_str(), file);
    std::fclose(file);
    return 0;
}

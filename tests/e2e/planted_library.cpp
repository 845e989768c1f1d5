// Planted under a system library's name: once loaded, it adds its path to the file named by
// TORVANE_PLANTED and refuses to stay, having none of the real library's functions.
#include "tests/support/test_support.hpp"

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[MAX_PATH]{};
        const auto log = test_support::environment(L"TORVANE_PLANTED").value_or(L"nul");
        std::ofstream(test_support::fs::path(log), std::ios::app)
            << test_support::utf8({path, GetModuleFileNameW(self, path, MAX_PATH)}) << '\n';
    }
    return reason != DLL_PROCESS_ATTACH;
}

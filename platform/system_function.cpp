#include "platform/system_function.hpp"

#include "platform/failure.hpp"

#include <windows.h>

#include <string>

namespace platform {

void* bind_system_entry(const wchar_t* library, const char* entry) {
    // Only the system folder is searched, so that no library of the same name in the
    // working folder can be loaded instead.
    const HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) {
        fail_with_last_error(L"Could not load the system library", library);
    }
    const FARPROC address = GetProcAddress(module, entry);
    if (!address) {
        const std::string name(entry);
        fail_with_last_error(L"Could not find a function in a system library",
                             std::wstring(name.begin(), name.end()) + L" in " + library);
    }
    return reinterpret_cast<void*>(address);
}

}  // namespace platform

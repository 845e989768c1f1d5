#include "platform/system_function.hpp"

#include "platform/failure.hpp"
#include "platform/files.hpp"

#include <windows.h>

#include <string>

namespace platform {
namespace {

// By the full path: a bare name would be searched for in the program's and the working
// folder too. LOAD_LIBRARY_SEARCH_SYSTEM32 would say the same, but Windows 7 knows it
// only with an update installed.
HMODULE load_system_library(const wchar_t* library) {
    return LoadLibraryW((system_folder() + L'\\' + library).c_str());
}

}  // namespace

void* find_system_entry(const wchar_t* library, const char* entry) noexcept {
    try {
        const HMODULE module = load_system_library(library);
        return module ? reinterpret_cast<void*>(GetProcAddress(module, entry)) : nullptr;
    } catch (...) {
        return nullptr;  // no system folder or no memory: as good as missing
    }
}

void* bind_system_entry(const wchar_t* library, const char* entry) {
    const HMODULE module = load_system_library(library);
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

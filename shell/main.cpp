#include "platform/system_function.hpp"
#include "shell/failure_report.hpp"
#include "shell/form1_window.hpp"

#include <objbase.h>
#include <windows.h>

#include <cstdlib>

namespace {

// The folder picker and the shell's "open" need a single-threaded apartment on the thread
// that owns the window.
class ComApartment {
  public:
    ComApartment()
        : initialised_(SUCCEEDED(
              CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (initialised_) {
            CoUninitialize();
        }
    }

  private:
    bool initialised_;
};

// Libraries that the program or the system load on its behalf come from the system folder
// only, never from the working folder that holds the script. Windows 7 without update
// KB2533623 lacks SetDefaultDllDirectories; there the working folder at least leaves the
// search.
void keep_libraries_to_the_system_folder() {
    // The function and its flag as documented, whatever the headers declare for Windows 7.
    constexpr DWORD kSearchSystem32 = 0x00000800;
    platform::SystemFunction<BOOL(WINAPI*)(DWORD)> set_default_directories(
        L"kernel32.dll", "SetDefaultDllDirectories");
    const auto set_default = set_default_directories.optional();
    if (!set_default || !set_default(kSearchSystem32)) {
        SetDllDirectoryW(L"");
    }
}

int run_message_loop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (shell::move_focus_by_keyboard(message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

// Every exception is caught by the failure path, so std::terminate runs only on a bug. The
// library's own handler prints the exception's demangled type to a console that a GUI
// program does not have, and its demangler is a sixth of the program's size.
#ifdef __GLIBCXX__
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx
#endif

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    shell::run_guarded(nullptr, keep_libraries_to_the_system_folder);
    const ComApartment apartment;
    shell::run_guarded(nullptr, [] {
        shell::create_form1();
        shell::show_form1();
    });
    return run_message_loop();
}

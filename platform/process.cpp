#include "platform/process.hpp"

#include "platform/failure.hpp"
#include "platform/files.hpp"
#include "platform/unique_handle.hpp"

#include <windows.h>

namespace platform {
namespace {

constexpr wchar_t kCannotStart[] = L"Could not start the script";

bool is_network_path(std::wstring_view path) {
    return path.starts_with(L"\\\\");
}

}  // namespace

void start_script(const std::wstring& script_path) {
    // The interpreter is named by its full path, so that no cmd.exe found on a search path
    // runs instead. The script is named relative to its own folder, which becomes the
    // interpreter's current folder: cmd would expand a %NAME% in the folder's name on its
    // command line, and no quoting stops that. cmd cannot work in a network folder
    // (\\server\share) and moves to the Windows folder, so there the script is named by
    // its full path.
    // /d skips AutoRun commands, and /s strips only the outer quotes of the quoted name.
    const std::wstring interpreter = system_folder() + L"\\cmd.exe";
    const std::size_t name_start = script_path.find_last_of(L'\\') + 1;
    const std::wstring folder = script_path.substr(0, name_start);
    const std::wstring script =
        is_network_path(folder) ? script_path : L".\\" + script_path.substr(name_start);
    std::wstring command_line = L"cmd.exe /d /s /c \"\"" + script + L"\"\"";

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMAXIMIZED;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(interpreter.c_str(), command_line.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE, nullptr, folder.empty() ? nullptr : folder.c_str(),
                        &startup, &started)) {
        fail_with_last_error(kCannotStart, script_path);
    }
    const UniqueHandle process(started.hProcess);
    const UniqueHandle thread(started.hThread);
}

void end_program(unsigned exit_code) {
    ExitProcess(exit_code);
}

}  // namespace platform

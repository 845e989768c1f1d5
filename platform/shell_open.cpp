#include "platform/shell_open.hpp"

#include "platform/ansi_text.hpp"
#include "platform/system_function.hpp"

#include <windows.h>
#include <shellapi.h>

namespace platform {
namespace {

SystemFunction<decltype(&::ShellExecuteA)> shell_execute_call(L"shell32.dll", "ShellExecuteA");

}  // namespace

void open_with_shell(NativeWindow owner, std::wstring_view target) {
    const std::string verb = to_ansi(L"open");
    const std::string file = to_ansi(target);
    // Shown normally: the user clicked to see the page or the message.
    shell_execute_call(owner, verb.c_str(), file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace platform

#include "platform/shell_open.hpp"

#include "platform/system_function.hpp"

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace platform {
namespace {

SystemFunction<decltype(&::ShellExecuteExW)> shell_execute_call(L"shell32.dll", "ShellExecuteExW");

}  // namespace

void open_with_shell(NativeWindow owner, std::wstring_view target) {
    const std::wstring file(target);
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof(request);
    // A link that no program on this system opens is no error of the program: the shell
    // shows no message of its own either.
    request.fMask = SEE_MASK_FLAG_NO_UI;
    request.hwnd = owner;
    request.lpVerb = L"open";
    request.lpFile = file.c_str();
    // Shown normally: the user clicked to see the page or the message.
    request.nShow = SW_SHOWNORMAL;
    shell_execute_call(&request);
}

}  // namespace platform

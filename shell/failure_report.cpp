#include "shell/failure_report.hpp"

#include "platform/failure.hpp"
#include "platform/process.hpp"
#include "shell/design.hpp"

namespace shell {

void report_failure_and_end(HWND owner, const std::exception_ptr& failure) {
    const std::wstring text = platform::describe_failure(failure);
    const std::wstring title(kFormTitle);
    MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
    platform::end_program(1);
}

}  // namespace shell

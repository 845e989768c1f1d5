#pragma once

#include <windows.h>

#include <exception>

namespace shell {

// The one failure path: a modal message box naming the error, then the end of the process.
[[noreturn]] void report_failure_and_end(HWND owner, const std::exception_ptr& failure);

// Runs an event handler inside the failure path's guard. Exceptions must not travel
// through the system's window-procedure frames, so every handler runs in here.
template <typename Handler>
void run_guarded(HWND owner, Handler&& handler) noexcept {
    try {
        handler();
    } catch (...) {
        report_failure_and_end(owner, std::current_exception());
    }
}

}  // namespace shell

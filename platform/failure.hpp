#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace platform {

// The one error type of the program: what failed, on what (a file, a library), and the
// system's error code. The failure report of the shell turns it into a message box.
class Failure : public std::exception {
  public:
    Failure(std::wstring action, std::wstring subject, std::uint32_t system_error)
        : action_(std::move(action)), subject_(std::move(subject)), system_error_(system_error) {}

    [[nodiscard]] const std::wstring& action() const noexcept { return action_; }
    [[nodiscard]] const std::wstring& subject() const noexcept { return subject_; }
    [[nodiscard]] std::uint32_t system_error() const noexcept { return system_error_; }
    [[nodiscard]] const char* what() const noexcept override { return "platform failure"; }

  private:
    std::wstring action_;
    std::wstring subject_;
    std::uint32_t system_error_;
};

// Throws a Failure carrying the calling thread's last Windows error code.
[[noreturn]] void fail_with_last_error(std::wstring action, std::wstring subject);

// The text that reports a failure of any kind: what failed, on what, and why in the
// system's own words, or in the program's where the system gave no reason.
[[nodiscard]] std::wstring describe_failure(const std::exception_ptr& failure);

}  // namespace platform

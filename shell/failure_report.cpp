#include "shell/failure_report.hpp"

#include "platform/decimal_text.hpp"

#include "platform/failure.hpp"
#include "platform/process.hpp"
#include "shell/design.hpp"

#include <new>

namespace shell {
namespace {

std::wstring system_message(std::uint32_t error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring message = length ? std::wstring(buffer, length) : L"";
    LocalFree(buffer);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) {
        message.pop_back();
    }
    if (message.empty()) {
        message = L"System error " + platform::decimal_text(error) + L".";
    }
    return message;
}

std::wstring describe(const platform::Failure& failure) {
    std::wstring text = failure.action();
    if (!failure.subject().empty()) {
        text += L":\n" + failure.subject();
    }
    text += L"\n\n" + system_message(failure.system_error());
    return text;
}

}  // namespace

std::wstring describe_failure(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const platform::Failure& known) {
        return describe(known);
    } catch (const std::bad_alloc&) {
        return L"There is not enough memory to finish the operation.\n\n" +
               system_message(ERROR_NOT_ENOUGH_MEMORY);
    } catch (const std::exception& other) {
        const std::string_view what = other.what();
        return L"Unexpected error: " + std::wstring(what.begin(), what.end());
    } catch (...) {
        return L"Unexpected error.";
    }
}

void report_failure_and_end(HWND owner, const std::exception_ptr& failure) {
    const std::wstring text = describe_failure(failure);
    const std::wstring title(kFormTitle);
    MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
    platform::end_program(1);
}

}  // namespace shell

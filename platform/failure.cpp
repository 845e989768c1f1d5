#include "platform/failure.hpp"

#include "platform/decimal_text.hpp"

#include <windows.h>

#include <new>

namespace platform {
namespace {

std::wstring system_message(std::uint32_t error) {
    if (error == ERROR_SUCCESS) {
        // Its own text would be "The operation completed successfully".
        return L"Windows gave no reason.";
    }
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
        message = L"System error " + decimal_text(error) + L".";
    }
    return message;
}

std::wstring describe(const Failure& failure) {
    std::wstring text = failure.action();
    if (!failure.subject().empty()) {
        text += L":\n" + failure.subject();
    }
    text += L"\n\n" + system_message(failure.system_error());
    return text;
}

}  // namespace

void fail_with_last_error(std::wstring action, std::wstring subject) {
    throw Failure(std::move(action), std::move(subject), GetLastError());
}

std::wstring describe_failure(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const Failure& known) {
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

}  // namespace platform

#include "platform/failure.hpp"

#include <windows.h>

namespace platform {

void fail_with_last_error(std::wstring action, std::wstring subject) {
    throw Failure(std::move(action), std::move(subject), GetLastError());
}

}  // namespace platform

#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace platform {

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};

// A kernel handle closed when it goes out of scope. CreateFile reports failure with
// INVALID_HANDLE_VALUE and the other creators with null; both are turned into an empty
// UniqueHandle by adopt_handle.
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

[[nodiscard]] inline UniqueHandle adopt_handle(HANDLE handle) noexcept {
    return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

}  // namespace platform

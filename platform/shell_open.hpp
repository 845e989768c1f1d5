#pragma once

#include "platform/native_window.hpp"

#include <string_view>

namespace platform {

// Asks the shell to "open" a web address or mail link in the user's default program,
// without waiting for it; where nothing opens it, nothing happens.
void open_with_shell(NativeWindow owner, std::wstring_view target);

}  // namespace platform

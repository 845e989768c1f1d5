#pragma once

#include "platform/native_window.hpp"

#include <string>
#include <string_view>

namespace platform {

// Shows the shell's folder picker, modal to owner, with the instruction text above its
// tree. Returns the chosen folder's file-system path exactly as the shell names it, or the
// empty text when the user cancels; throws a Failure when the path cannot be read.
[[nodiscard]] std::wstring browse_for_folder(NativeWindow owner, std::wstring_view instruction);

}  // namespace platform

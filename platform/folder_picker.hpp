#pragma once

#include "platform/native_window.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// What the user confirmed in the folder picker: nothing (a cancel, or the dialog closed), or
// an item with its file-system path, exactly as the shell names it. A bare \\server item can
// be confirmed and has no path.
struct FolderChoice {
    bool confirmed = false;
    std::optional<std::wstring> path;
};

// Shows the shell's folder picker, modal to owner, with the instruction text above its tree,
// its OK button greyed while the selection has no file-system path.
[[nodiscard]] FolderChoice browse_for_folder(NativeWindow owner, std::wstring_view instruction);

}  // namespace platform

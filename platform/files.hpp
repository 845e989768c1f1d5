#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace platform {

// The system folder, System32, where the system's own programs and libraries lie.
[[nodiscard]] std::wstring system_folder();

// The absolute form of a name relative to the current working directory.
[[nodiscard]] std::wstring full_path(std::wstring_view name);

// Puts in out what is to stand in place of a piece of a file, in place of what out held.
// The last call gets an empty piece, which ends the file.
using Rewrite = std::function<void(std::string_view piece, std::string& out)>;

// Passes a file's bytes through rewrite piece by piece, writing what stands for each piece
// while the next is rewritten, so the memory it needs does not grow with the file; and puts
// the result in the file's place in one step: it is written and flushed to a new file
// beside it, which then replaces it. On failure the file keeps its old content and the new
// file is removed.
void rewrite_file(const std::wstring& path, const Rewrite& rewrite);

}  // namespace platform

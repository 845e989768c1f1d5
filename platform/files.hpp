#pragma once

#include <string>
#include <string_view>

namespace platform {

// The absolute form of a name relative to the current working directory.
[[nodiscard]] std::wstring full_path(std::wstring_view name);

// The whole content of a file, as bytes.
[[nodiscard]] std::string read_file(const std::wstring& path);

// Puts bytes in place of a file's content in one step: they are written and flushed to a
// new file beside it, which then replaces it. On failure the file keeps its old content
// and the new file is removed.
void replace_file(const std::wstring& path, std::string_view bytes);

}  // namespace platform

#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

// The system folder, System32, where the system's own programs and libraries lie.
[[nodiscard]] std::wstring system_folder();

// The absolute form of a name relative to the current working directory.
[[nodiscard]] std::wstring full_path(std::wstring_view name);

// The extended-length form (\\?\C:\..., \\?\UNC\server\share\...) of a full path, as full_path
// gives it, which the file calls take past MAX_PATH characters. Not for a command line or a
// current folder, which stay within MAX_PATH.
[[nodiscard]] std::wstring extended_length_path(std::wstring_view full_path);

// Whether a new file in the same folder gets by inheritance alone the access list of a file
// with this security descriptor: the list is not protected, and each entry in it is inherited.
[[nodiscard]] bool list_comes_by_inheritance(const void* security_descriptor);

// For tests: the access rights that the creation of a new file is refused, as a share that
// grants only Change refuses WRITE_DAC. None unless a test asks.
void refuse_at_create_for_tests(std::uint32_t rights) noexcept;

// Puts in out what is to stand in place of a piece of a file, in place of what out held.
// The last call gets an empty piece, which ends the file. out is never the string that the
// call before filled: that one may still be being written.
using Rewrite = std::function<void(std::string_view piece, std::string& out)>;

// Passes a file's bytes, named by its full path, through rewrite piece by piece, writing
// what stands for each piece while the next is rewritten, so the memory it needs does not
// grow with the file; and puts the result in the file's place in one step: it is written
// and flushed to a new file beside it, which takes over the file's access list and
// attributes and then replaces it. On failure the file keeps its old content and the new
// file is removed.
void rewrite_file(const std::wstring& path, const Rewrite& rewrite);

}  // namespace platform

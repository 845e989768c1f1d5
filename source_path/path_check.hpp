#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace source_path {

// A character of a source path that no folder's path can hold, or that the system's code
// page cannot hold. Either would change what the script does: a redirection, a pipe, a
// second command, a wildcard, or a substitute that names another folder.
struct PathProblem {
    enum class Kind { NotInAnyPath, NotInCodePage };
    Kind kind;
    std::wstring character;  // one UTF-16 unit, or a surrogate pair
    std::size_t position;    // in characters, counted from 1, as a user counts
};

// Whether the system's code page holds a character (one UTF-16 unit, or a surrogate pair)
// exactly.
using CodePageHolds = std::function<bool(std::wstring_view character)>;

// The first problem of the path, if any.
[[nodiscard]] std::optional<PathProblem> find_path_problem(std::wstring_view path,
                                                           const CodePageHolds& code_page_holds);

// A picked folder's path as the user types it: cmd expands %NAME% on the script's line and
// reads %% as one %, so each % is doubled.
[[nodiscard]] std::wstring with_percent_signs_doubled(std::wstring_view path);

// The refusal message for a problem, saying that nothing was changed.
[[nodiscard]] std::wstring describe(const PathProblem& problem);

}  // namespace source_path

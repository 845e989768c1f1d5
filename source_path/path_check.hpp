#pragma once

#include <cstddef>
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
    wchar_t character;
    std::size_t position;  // counted from 1, as a user counts
};

// The first problem of the path, if any. code_page_holds tells whether the system's code
// page holds a character exactly.
[[nodiscard]] std::optional<PathProblem> find_path_problem(std::wstring_view path,
                                                           bool (*code_page_holds)(wchar_t));

// The refusal message for a problem, saying that nothing was changed.
[[nodiscard]] std::wstring describe(const PathProblem& problem);

}  // namespace source_path

#include "source_path/path_check.hpp"

#include "platform/decimal_text.hpp"

namespace source_path {
namespace {

constexpr std::wstring_view kNotInAnyPath = L"<>\"|?*";

bool is_control(wchar_t character) {
    return character < 0x20 || character == 0x7F;
}

std::wstring name_of(wchar_t character) {
    switch (character) {
        case L'\n':
        case L'\r':
            return L"a line break";
        case L'\t':
            return L"a tab";
        default:
            break;
    }
    if (is_control(character)) {
        return L"the control character " + platform::decimal_text(static_cast<unsigned>(character));
    }
    return L"\"" + std::wstring(1, character) + L"\"";
}

}  // namespace

std::optional<PathProblem> find_path_problem(std::wstring_view path,
                                             bool (*code_page_holds)(wchar_t)) {
    for (std::size_t index = 0; index < path.size(); ++index) {
        const wchar_t character = path[index];
        if (is_control(character) || kNotInAnyPath.find(character) != std::wstring_view::npos) {
            return PathProblem{PathProblem::Kind::NotInAnyPath, character, index + 1};
        }
        if (!code_page_holds(character)) {
            return PathProblem{PathProblem::Kind::NotInCodePage, character, index + 1};
        }
    }
    return std::nullopt;
}

std::wstring describe(const PathProblem& problem) {
    const std::wstring reason = problem.kind == PathProblem::Kind::NotInAnyPath
                                    ? L", which no folder's path can hold."
                                    : L", which the system's code page cannot hold.";
    return L"The source path holds " + name_of(problem.character) + L" at position " +
           platform::decimal_text(problem.position) + reason +
           L"\n\nNothing was changed: correct the path and press Go again.";
}

}  // namespace source_path

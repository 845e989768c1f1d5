#include "source_path/path_check.hpp"

#include "platform/decimal_text.hpp"

namespace source_path {
namespace {

constexpr std::wstring_view kNotInAnyPath = L"<>\"|?*";

bool is_control(wchar_t character) {
    return character < 0x20 || character == 0x7F;
}

bool is_high_surrogate(wchar_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool is_low_surrogate(wchar_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

bool is_ascii_letter(wchar_t unit) {
    return (unit >= L'A' && unit <= L'Z') || (unit >= L'a' && unit <= L'z');
}

// The prefix of an extended-length path, whose question mark is no wildcard.
constexpr std::wstring_view kExtendedPrefix = L"\\\\?\\";

// A colon belongs only after a drive letter, at the start or after the prefix of an extended
// or device (\\.\) path; anywhere else NTFS would take it for a stream's name.
bool is_drive_colon(std::wstring_view path, std::size_t index) {
    const std::size_t letter =
        path.starts_with(kExtendedPrefix) || path.starts_with(L"\\\\.\\") ? 4 : 0;
    return index == letter + 1 && is_ascii_letter(path[letter]);
}

bool is_refused(std::wstring_view path, std::size_t index) {
    const wchar_t unit = path[index];
    if (index == 2 && path.starts_with(kExtendedPrefix)) {
        return false;
    }
    return is_control(unit) || kNotInAnyPath.find(unit) != std::wstring_view::npos ||
           (unit == L':' && !is_drive_colon(path, index));
}

// The character that starts at the index: a surrogate pair is one character.
std::wstring_view character_at(std::wstring_view path, std::size_t index) {
    const bool pair = is_high_surrogate(path[index]) && index + 1 < path.size() &&
                      is_low_surrogate(path[index + 1]);
    return path.substr(index, pair ? 2 : 1);
}

std::wstring name_of(std::wstring_view character) {
    switch (character.front()) {
        case L'\n':
        case L'\r':
            return L"a line break";
        case L'\t':
            return L"a tab";
        case L'"':
            // Quoted as the others, it would read """.
            return L"a double quote (\")";
        default:
            break;
    }
    if (is_control(character.front())) {
        return L"the control character " +
               platform::decimal_text(static_cast<unsigned>(character.front()));
    }
    if (character.size() == 1 &&
        (is_high_surrogate(character.front()) || is_low_surrogate(character.front()))) {
        return L"an incomplete character";  // half of a pair, which would show as garbage
    }
    return L"\"" + std::wstring(character) + L"\"";
}

}  // namespace

std::optional<PathProblem> find_path_problem(std::wstring_view path,
                                             const CodePageHolds& code_page_holds) {
    std::size_t position = 1;
    for (std::size_t index = 0; index < path.size(); ++position) {
        const std::wstring_view character = character_at(path, index);
        if (is_refused(path, index)) {
            return PathProblem{PathProblem::Kind::NotInAnyPath, std::wstring(character), position};
        }
        if (!code_page_holds(character)) {
            return PathProblem{PathProblem::Kind::NotInCodePage, std::wstring(character), position};
        }
        index += character.size();
    }
    return std::nullopt;
}

std::wstring with_percent_signs_doubled(std::wstring_view path) {
    std::wstring typed;
    for (const wchar_t unit : path) {
        typed += unit;
        if (unit == L'%') {
            typed += L'%';
        }
    }
    return typed;
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

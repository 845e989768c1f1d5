// Fuzzes the template filling against a deliberately naive reference, and the source-path
// check against the rule it states.
//
// Input: the first byte gives the path's length; the path follows, then the template.
// Each input byte becomes one character; bytes from 0xF0 up stand for characters that
// the stand-in code page (Latin-1) cannot hold.
#include "generate/template_fill.hpp"
#include "source_path/path_check.hpp"

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

wchar_t character_of(std::uint8_t byte) {
    return byte >= 0xF0 ? static_cast<wchar_t>(0x3000 + byte) : static_cast<wchar_t>(byte);
}

std::wstring text_of(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    for (std::size_t index = 0; index < size; ++index) {
        text += character_of(data[index]);
    }
    return text;
}

// Character by character: at each place either the whole token starts there or one
// character is copied.
std::wstring naive_fill(const std::wstring& text, const std::wstring& path) {
    const std::wstring token(generate::kTemplateToken);
    std::wstring filled;
    std::size_t index = 0;
    while (index < text.size()) {
        if (text.compare(index, token.size(), token) == 0) {
            filled += path;
            index += token.size();
        } else {
            filled += text[index];
            ++index;
        }
    }
    return filled;
}

bool latin1_holds(wchar_t character) {
    return character < 0x100;
}

bool refused(wchar_t character) {
    return character < 0x20 || character == 0x7F ||
           std::wstring_view(L"<>\"|?*").find(character) != std::wstring_view::npos ||
           !latin1_holds(character);
}

void check_path_rule(const std::wstring& path) {
    const auto problem = source_path::find_path_problem(path, latin1_holds);
    std::size_t first_refused = path.size();
    for (std::size_t index = 0; index < path.size(); ++index) {
        if (refused(path[index])) {
            first_refused = index;
            break;
        }
    }
    if (first_refused == path.size()) {
        if (problem) {
            std::abort();
        }
        return;
    }
    if (!problem || problem->position != first_refused + 1 ||
        problem->character != path[first_refused] || source_path::describe(*problem).empty()) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t path_length = std::min<std::size_t>(data[0], size - 1);
    const std::wstring path = text_of(data + 1, path_length);
    const std::wstring text = text_of(data + 1 + path_length, size - 1 - path_length);

    if (generate::fill_template(text, path) != naive_fill(text, path)) {
        std::abort();
    }
    check_path_rule(path);
    return 0;
}

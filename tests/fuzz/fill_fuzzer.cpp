// Fuzzes the template filling against a deliberately naive reference, and the source-path
// check against the rule it states.
//
// Input: the first byte chooses the lead bytes (its lowest bit: none, as in code page 1252,
// or those of code page 932) and the size of the pieces the template arrives in (the other
// bits); the second gives the path's length; the path follows, then the template. For the
// path check each path byte becomes one character; bytes from 0xF0 up stand for characters
// that the stand-in code page (Latin-1) cannot hold.
#include "generate/template_fill.hpp"
#include "source_path/path_check.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr generate::ByteRange kJapaneseLeadBytes[] = {{0x81, 0x9F}, {0xE0, 0xFC}};

// Byte by byte: at each place either the whole token starts there, or a double-byte
// character is copied whole, or one byte is copied.
std::string naive_fill(std::string_view text, std::string_view path,
                       const generate::LeadBytes& lead_bytes) {
    std::string filled;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text.substr(at).starts_with(generate::kTemplateToken)) {
            filled += path;
            at += generate::kTemplateToken.size();
        } else {
            const std::size_t length =
                lead_bytes.contains(static_cast<unsigned char>(text[at])) ? 2 : 1;
            filled += text.substr(at, length);
            at += length;
        }
    }
    return filled;
}

std::string fill_in_pieces(std::string_view text, std::string_view path,
                           const generate::LeadBytes& lead_bytes, std::size_t piece_size) {
    generate::TemplateFiller filler(path, lead_bytes);
    std::string filled;
    for (std::size_t at = 0; at < text.size(); at += piece_size) {
        filler.fill(text.substr(at, piece_size), filled);
    }
    filler.fill({}, filled);
    return filled;
}

bool refused(wchar_t character) {
    return character < 0x20 || character == 0x7F || character >= 0x100 ||
           std::wstring_view(L"<>\"|?*").find(character) != std::wstring_view::npos;
}

void check_path_rule(std::string_view path_bytes) {
    std::wstring path;
    for (const char byte : path_bytes) {
        const auto value = static_cast<unsigned char>(byte);
        path += value >= 0xF0 ? static_cast<wchar_t>(0x3000 + value) : static_cast<wchar_t>(value);
    }
    const auto problem = source_path::find_path_problem(
        path, [](std::wstring_view character) { return character.front() < 0x100; });
    const std::size_t first_refused = std::ranges::find_if(path, refused) - path.begin();
    if (first_refused == path.size()) {
        if (problem) {
            std::abort();
        }
        return;
    }
    if (!problem || problem->position != first_refused + 1 ||
        problem->character != path.substr(first_refused, 1) ||
        source_path::describe(*problem).empty()) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const generate::LeadBytes lead_bytes =
        data[0] & 1 ? generate::LeadBytes(kJapaneseLeadBytes) : generate::LeadBytes();
    const std::size_t piece_size = (data[0] >> 1) + 1u;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::string_view path = rest.substr(0, data[1]);
    const std::string_view text = rest.substr(path.size());

    const std::string expected = naive_fill(text, path, lead_bytes);
    if (generate::fill_template(text, path, lead_bytes) != expected ||
        fill_in_pieces(text, path, lead_bytes, piece_size) != expected) {
        std::abort();
    }
    check_path_rule(path);
    return 0;
}

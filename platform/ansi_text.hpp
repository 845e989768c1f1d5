#pragma once

#include "generate/template_fill.hpp"

#include <string>
#include <string_view>

namespace platform {

// The system's ANSI code page: that of the ANSI ("A") functions and of the script file.
[[nodiscard]] unsigned ansi_code_page();

// Characters that the code page cannot hold become its default character.
[[nodiscard]] std::string encode(unsigned code_page, std::wstring_view text);
// Bytes that are no text in the code page become the replacement character.
[[nodiscard]] std::wstring decode(unsigned code_page, std::string_view bytes);

// Whether the code page holds the character (one UTF-16 unit, or a surrogate pair)
// exactly, not as a best-fit substitute such as a plain "a" for an accented one.
[[nodiscard]] bool code_page_holds(unsigned code_page, std::wstring_view character);

// Where the code page's double-byte characters begin.
[[nodiscard]] generate::LeadBytes lead_bytes_of(unsigned code_page);

// Texts handed to and taken from the ANSI functions.
[[nodiscard]] std::string to_ansi(std::wstring_view text);
[[nodiscard]] std::wstring from_ansi(std::string_view bytes);

}  // namespace platform

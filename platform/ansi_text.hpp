#pragma once

#include "generate/template_fill.hpp"

#include <string>
#include <string_view>

namespace platform {

// The system's ANSI code page: that of the ANSI ("A") functions and of the script file.
[[nodiscard]] unsigned ansi_code_page();

// Whether the code page holds the character (one UTF-16 unit, or a surrogate pair)
// exactly, not as a best-fit substitute such as a plain "a" for an accented one.
[[nodiscard]] bool code_page_holds(unsigned code_page, std::wstring_view character);

// Where the code page's double-byte characters begin.
[[nodiscard]] generate::LeadBytes lead_bytes_of(unsigned code_page);

// Text in the ANSI code page: characters that it cannot hold become its default character.
[[nodiscard]] std::string to_ansi(std::wstring_view text);
// Text from the ANSI code page: bytes that are no text there become the replacement
// character.
[[nodiscard]] std::wstring from_ansi(std::string_view bytes);

}  // namespace platform

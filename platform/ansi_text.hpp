#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// The system's ANSI code page: that of the ANSI ("A") functions and of the script file.
[[nodiscard]] unsigned ansi_code_page();

// Whether the code page holds the character (one UTF-16 unit, or a surrogate pair)
// exactly, not as a best-fit substitute such as a plain "a" for an accented one.
[[nodiscard]] bool code_page_holds(unsigned code_page, std::wstring_view character);

// The first and the last byte of a range, both included.
using ByteRange = std::pair<unsigned char, unsigned char>;

// The ranges of bytes that begin a double-byte character in the code page; none in
// single-byte code pages and UTF-8.
[[nodiscard]] std::vector<ByteRange> lead_byte_ranges(unsigned code_page);

// Text in the ANSI code page: characters that it cannot hold become its default character.
[[nodiscard]] std::string to_ansi(std::wstring_view text);

}  // namespace platform

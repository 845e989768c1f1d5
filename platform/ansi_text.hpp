#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Text in the system's ANSI code page. from_ansi refuses bytes that are not valid text
// in that code page, so that writing the text back cannot change them.
[[nodiscard]] std::optional<std::wstring> from_ansi(std::string_view bytes);

// Bytes that are not valid text become the replacement character: for text that the
// system hands over, which the program passes on as it comes.
[[nodiscard]] std::wstring from_ansi_replacing(std::string_view bytes);

// Whether the code page holds the character exactly, not as a substitute.
[[nodiscard]] bool ansi_holds(wchar_t character);

// Characters that the code page cannot hold become its default character.
[[nodiscard]] std::string to_ansi(std::wstring_view text);

// The same conversion in two steps, for text written piece by piece into one buffer:
// the number of bytes the text takes, and the conversion into a buffer with room for
// them, which returns that number.
[[nodiscard]] std::size_t ansi_length(std::wstring_view text);
std::size_t to_ansi_into(std::wstring_view text, char* bytes, std::size_t room);

}  // namespace platform

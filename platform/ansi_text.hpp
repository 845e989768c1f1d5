#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Text in the system's ANSI code page. from_ansi refuses bytes that are not valid text
// in that code page, so that writing the text back cannot change them.
[[nodiscard]] std::optional<std::wstring> from_ansi(std::string_view bytes);

// Characters that the code page cannot hold become its default character.
[[nodiscard]] std::string to_ansi(std::wstring_view text);

}  // namespace platform

#pragma once

#include <charconv>
#include <cstdint>
#include <string>

namespace platform {

// A number in decimal digits. Unlike std::to_wstring it needs no printf machinery, which
// would add about 30 KB to the program.
[[nodiscard]] inline std::wstring decimal_text(std::uint64_t number) {
    char digits[20];
    const auto end = std::to_chars(digits, digits + sizeof(digits), number).ptr;
    return std::wstring(digits, end);
}

}  // namespace platform

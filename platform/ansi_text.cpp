#include "platform/ansi_text.hpp"

#include <windows.h>

#include <climits>
#include <new>

namespace platform {

std::optional<std::wstring> from_ansi(std::string_view bytes) {
    if (bytes.empty()) {
        return std::wstring{};
    }
    if (bytes.size() > INT_MAX) {
        throw std::bad_alloc();
    }
    const int byte_count = static_cast<int>(bytes.size());
    const int length =
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), byte_count, nullptr, 0);
    if (length == 0) {
        return std::nullopt;
    }
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), byte_count, text.data(),
                        length);
    return text;
}

std::string to_ansi(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    if (text.size() > INT_MAX / 2) {
        throw std::bad_alloc();
    }
    const int char_count = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_ACP, 0, text.data(), char_count, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), char_count, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

}  // namespace platform

#include "platform/ansi_text.hpp"

#include <windows.h>

#include <climits>
#include <new>

namespace platform {

namespace {

std::optional<std::wstring> convert_from_ansi(std::string_view bytes, DWORD flags) {
    if (bytes.empty()) {
        return std::wstring{};
    }
    if (bytes.size() > INT_MAX) {
        throw std::bad_alloc();
    }
    const int byte_count = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, flags, bytes.data(), byte_count, nullptr, 0);
    if (length == 0) {
        return std::nullopt;
    }
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, flags, bytes.data(), byte_count, text.data(), length);
    return text;
}

}  // namespace

std::optional<std::wstring> from_ansi(std::string_view bytes) {
    return convert_from_ansi(bytes, MB_ERR_INVALID_CHARS);
}

std::wstring from_ansi_replacing(std::string_view bytes) {
    return convert_from_ansi(bytes, 0).value_or(std::wstring{});
}

bool ansi_holds(wchar_t character) {
    // Best-fit mappings (such as a plain "a" for an accented one) count as not held.
    char bytes[8]{};
    BOOL used_default = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &character, 1, bytes,
                                           sizeof(bytes), nullptr, &used_default);
    return length > 0 && !used_default;
}

std::size_t ansi_length(std::wstring_view text) {
    if (text.empty()) {
        return 0;
    }
    if (text.size() > INT_MAX / 2) {
        throw std::bad_alloc();
    }
    return static_cast<std::size_t>(WideCharToMultiByte(
        CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr));
}

std::size_t to_ansi_into(std::wstring_view text, char* bytes, std::size_t room) {
    if (text.empty()) {
        return 0;
    }
    return static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, 0, text.data(),
                                                        static_cast<int>(text.size()), bytes,
                                                        static_cast<int>(room), nullptr, nullptr));
}

std::string to_ansi(std::wstring_view text) {
    std::string bytes(ansi_length(text), '\0');
    to_ansi_into(text, bytes.data(), bytes.size());
    return bytes;
}

}  // namespace platform

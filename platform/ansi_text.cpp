#include "platform/ansi_text.hpp"

#include "platform/failure.hpp"

#include <windows.h>

#include <climits>
#include <new>
#include <vector>

namespace platform {
namespace {

int length_for_the_system(std::size_t length) {
    if (length > INT_MAX / 4) {
        throw std::bad_alloc();  // a text this long cannot be converted in memory anyway
    }
    return static_cast<int>(length);
}

// A conversion that gives nothing for some text has failed; an empty path would go on as
// if it were the user's.
int converted(int length) {
    if (length == 0) {
        fail_with_last_error(L"Could not convert a text for the system's code page", L"");
    }
    return length;
}

}  // namespace

unsigned ansi_code_page() {
    return GetACP();
}

std::string to_ansi(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int length = length_for_the_system(text.size());
    std::string bytes(static_cast<std::size_t>(converted(WideCharToMultiByte(
                          CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr))),
                      '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, bytes.data(),
                        static_cast<int>(bytes.size()), nullptr, nullptr);
    return bytes;
}

bool code_page_holds(unsigned code_page, std::wstring_view character) {
    // UTF-8 holds every character but half of a surrogate pair. For it the documentation
    // allows no flag but WC_ERR_INVALID_CHARS and no default-character arguments.
    const bool utf8 = code_page == CP_UTF8;
    char bytes[8];
    BOOL used_default = FALSE;
    const int length =
        WideCharToMultiByte(code_page, utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS,
                            character.data(), static_cast<int>(character.size()), bytes,
                            sizeof(bytes), nullptr, utf8 ? nullptr : &used_default);
    return length > 0 && !used_default;
}

std::vector<ByteRange> lead_byte_ranges(unsigned code_page) {
    CPINFO info{};
    if (!GetCPInfo(code_page, &info)) {
        fail_with_last_error(L"Could not read the system's code page", L"");
    }
    // Pairs of first and last byte, ended by a pair of zeros.
    std::vector<ByteRange> ranges;
    for (std::size_t at = 0; at + 1 < MAX_LEADBYTES && info.LeadByte[at] != 0; at += 2) {
        ranges.emplace_back(info.LeadByte[at], info.LeadByte[at + 1]);
    }
    return ranges;
}

}  // namespace platform

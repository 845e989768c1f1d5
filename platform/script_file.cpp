#include "platform/script_file.hpp"

#include "platform/ansi_text.hpp"
#include "platform/failure.hpp"
#include "platform/files.hpp"

#include <windows.h>

namespace platform {

AnsiScriptFile::AnsiScriptFile(std::wstring_view name) : path_(full_path(name)) {}

std::wstring AnsiScriptFile::read_text() {
    // Converted whole: a double-byte character's trail byte can look like an ASCII
    // letter, so the token is only ever looked for in the converted text.
    std::optional<std::wstring> text = from_ansi(read_file(path_));
    if (!text) {
        throw Failure(L"The file is not text in the system's ANSI code page", path_,
                      ERROR_NO_UNICODE_TRANSLATION);
    }
    return std::move(*text);
}

void AnsiScriptFile::replace_text(std::wstring_view text) {
    replace_file(path_, to_ansi(text));
}

}  // namespace platform

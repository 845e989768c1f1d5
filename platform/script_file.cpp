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

void AnsiScriptFile::replace_text(const generate::FilledText& filled) {
    // Converted piece by piece into one buffer of the exact size: the filled text never
    // exists in full as UTF-16 next to the template's text.
    const std::string path = to_ansi(filled.source_path());
    std::size_t length = 0;
    filled.for_each_piece([&](std::wstring_view stretch) { length += ansi_length(stretch); },
                          [&] { length += path.size(); });
    std::string bytes(length, '\0');
    std::size_t written = 0;
    filled.for_each_piece(
        [&](std::wstring_view stretch) {
            written += to_ansi_into(stretch, bytes.data() + written, bytes.size() - written);
        },
        [&] {
            path.copy(bytes.data() + written, path.size());
            written += path.size();
        });
    replace_file(path_, bytes);
}

}  // namespace platform

#pragma once

#include <string>
#include <string_view>

namespace generate {

inline constexpr std::wstring_view kTemplateToken = L"PATHtoFOLDER";

// Puts source_path in place of every kTemplateToken, matched case-sensitively from left
// to right without overlap; the inserted path is never scanned again. Takes the text by
// value so that a template without the token is handed back without a copy.
[[nodiscard]] std::wstring fill_template(std::wstring text, std::wstring_view source_path);

// The script file that is filled in place. Implementations report every failure by
// throwing, and replace_text must leave the old content untouched when it throws.
class ScriptFile {
  public:
    virtual ~ScriptFile() = default;
    [[nodiscard]] virtual std::wstring read_text() = 0;
    virtual void replace_text(std::wstring_view text) = 0;
};

// Reads the whole template, fills it and writes the result back over it.
void fill_script_template(ScriptFile& script, std::wstring_view source_path);

}  // namespace generate

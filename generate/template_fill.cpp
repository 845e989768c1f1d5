#include "generate/template_fill.hpp"

namespace generate {

std::wstring fill_template(std::wstring text, std::wstring_view source_path) {
    std::size_t token_at = text.find(kTemplateToken);
    if (token_at == std::wstring::npos) {
        return text;
    }
    std::wstring filled;
    filled.reserve(text.size() + source_path.size());
    std::size_t copied_up_to = 0;
    while (token_at != std::wstring::npos) {
        filled.append(text, copied_up_to, token_at - copied_up_to);
        filled.append(source_path);
        copied_up_to = token_at + kTemplateToken.size();
        token_at = text.find(kTemplateToken, copied_up_to);
    }
    filled.append(text, copied_up_to);
    return filled;
}

void fill_script_template(ScriptFile& script, std::wstring_view source_path) {
    // The template's text is released before the result is converted for writing, which
    // keeps the peak memory near two copies of the text.
    const std::wstring filled = fill_template(script.read_text(), source_path);
    script.replace_text(filled);
}

}  // namespace generate

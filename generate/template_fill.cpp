#include "generate/template_fill.hpp"

namespace generate {

namespace {

std::size_t count_tokens(std::wstring_view text) {
    std::size_t count = 0;
    for (std::size_t at = text.find(kTemplateToken); at != std::wstring_view::npos;
         at = text.find(kTemplateToken, at + kTemplateToken.size())) {
        ++count;
    }
    return count;
}

}  // namespace

std::wstring fill_template(std::wstring text, std::wstring_view source_path) {
    const std::size_t tokens = count_tokens(text);
    if (tokens == 0) {
        return text;
    }
    // Sized exactly once: growing by doubling would add up to one more copy of the text
    // to the peak memory, which matters for templates of many megabytes.
    std::wstring filled;
    filled.reserve(text.size() - tokens * kTemplateToken.size() + tokens * source_path.size());
    std::size_t copied_up_to = 0;
    for (std::size_t at = text.find(kTemplateToken); at != std::wstring::npos;
         at = text.find(kTemplateToken, copied_up_to)) {
        filled.append(text, copied_up_to, at - copied_up_to);
        filled.append(source_path);
        copied_up_to = at + kTemplateToken.size();
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

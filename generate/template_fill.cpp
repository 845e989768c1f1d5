#include "generate/template_fill.hpp"

namespace generate {

FilledText::FilledText(std::wstring_view text, std::wstring_view source_path)
    : text_(text), source_path_(source_path) {
    for (std::size_t at = text.find(kTemplateToken); at != std::wstring_view::npos;
         at = text.find(kTemplateToken, at + kTemplateToken.size())) {
        tokens_.push_back(at);
    }
}

std::wstring FilledText::str() const {
    std::wstring filled;
    filled.reserve(text_.size() - tokens_.size() * kTemplateToken.size() +
                   tokens_.size() * source_path_.size());
    for_each_piece([&](std::wstring_view stretch) { filled += stretch; },
                   [&] { filled += source_path_; });
    return filled;
}

std::wstring fill_template(std::wstring_view text, std::wstring_view source_path) {
    return FilledText(text, source_path).str();
}

void fill_script_template(ScriptFile& script, std::wstring_view source_path) {
    const std::wstring text = script.read_text();
    script.replace_text(FilledText(text, source_path));
}

}  // namespace generate

#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace generate {

inline constexpr std::wstring_view kTemplateToken = L"PATHtoFOLDER";

// A template with the source path in place of every kTemplateToken, matched
// case-sensitively from left to right without overlap; the inserted path is never scanned
// again. It is kept as the template, the path and where the tokens stand, so that a writer
// can convert it piece by piece without a second full copy of the text in memory. Both
// texts must outlive it.
class FilledText {
  public:
    FilledText(std::wstring_view text, std::wstring_view source_path);

    [[nodiscard]] std::wstring_view source_path() const noexcept { return source_path_; }

    // Calls stretch(view) for each stretch of the template between tokens and path() for
    // each token, in order. Empty stretches are skipped.
    template <typename Stretch, typename Path>
    void for_each_piece(Stretch&& stretch, Path&& path) const {
        std::size_t copied_up_to = 0;
        for (const std::size_t token : tokens_) {
            if (token > copied_up_to) {
                stretch(text_.substr(copied_up_to, token - copied_up_to));
            }
            path();
            copied_up_to = token + kTemplateToken.size();
        }
        if (copied_up_to < text_.size()) {
            stretch(text_.substr(copied_up_to));
        }
    }

    [[nodiscard]] std::wstring str() const;

  private:
    std::wstring_view text_;
    std::wstring_view source_path_;
    std::vector<std::size_t> tokens_;
};

[[nodiscard]] std::wstring fill_template(std::wstring_view text, std::wstring_view source_path);

// The script file that is filled in place. Implementations report every failure by
// throwing, and replace_text must leave the old content untouched when it throws.
class ScriptFile {
  public:
    virtual ~ScriptFile() = default;
    [[nodiscard]] virtual std::wstring read_text() = 0;
    virtual void replace_text(const FilledText& filled) = 0;
};

// Reads the whole template, fills it and writes the result back over it.
void fill_script_template(ScriptFile& script, std::wstring_view source_path);

}  // namespace generate

#pragma once

#include "generate/template_fill.hpp"

#include <string>
#include <string_view>

namespace platform {

// A script file in the system's ANSI code page, named relative to the current working
// directory when it is made.
class AnsiScriptFile final : public generate::ScriptFile {
  public:
    explicit AnsiScriptFile(std::wstring_view name);

    [[nodiscard]] std::wstring read_text() override;
    void replace_text(const generate::FilledText& filled) override;
    [[nodiscard]] const std::wstring& path() const noexcept { return path_; }

  private:
    std::wstring path_;
};

}  // namespace platform

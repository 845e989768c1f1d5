#include "generate/go_button.hpp"

#include "generate/template_fill.hpp"
#include "platform/ansi_text.hpp"
#include "platform/files.hpp"
#include "platform/process.hpp"
#include "shell/form1.hpp"
#include "source_path/path_check.hpp"

#include <vector>

namespace generate {

namespace {

constexpr wchar_t kScriptName[] = L"backup.bat";

LeadBytes lead_bytes_of(unsigned code_page) {
    std::vector<ByteRange> ranges;
    for (const auto& [first, last] : platform::lead_byte_ranges(code_page)) {
        ranges.push_back({first, last});
    }
    return LeadBytes(ranges);
}

}  // namespace

void GO0_MouseDown() {
    shell::form1().set_visible(shell::Control::GO0, false);
}

void GO0_PressCancelled() {
    shell::form1().set_visible(shell::Control::GO0, true);
}

void GO0_MouseUp() {
    const shell::Form1& form = shell::form1();
    form.set_visible(shell::Control::GO0, true);
    const std::wstring source_path = form.text(shell::Control::TextBox1);
    // The path goes into a command script unquoted, in the system's code page: refuse what
    // would change its meaning before any file is touched.
    const unsigned code_page = platform::ansi_code_page();
    if (const auto problem = source_path::find_path_problem(source_path, [&](auto character) {
            return platform::code_page_holds(code_page, character);
        })) {
        form.tell(source_path::describe(*problem));
        return;
    }

    const std::wstring script = platform::full_path(kScriptName);
    TemplateFiller filler(platform::to_ansi(source_path), lead_bytes_of(code_page));
    platform::rewrite_file(
        script, [&](std::string_view piece, std::string& out) { filler.fill(piece, out); });
    platform::start_script(script);
    platform::end_program(0);
}

}  // namespace generate

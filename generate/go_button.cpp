#include "generate/go_button.hpp"

#include "generate/template_fill.hpp"
#include "platform/ansi_text.hpp"
#include "platform/process.hpp"
#include "platform/script_file.hpp"
#include "shell/form1.hpp"
#include "source_path/path_check.hpp"

namespace generate {

namespace {
constexpr wchar_t kScriptName[] = L"backup.bat";
}

void GO0_MouseDown() {
    shell::form1().set_visible(shell::Control::GO0, false);
}

void GO0_MouseUp() {
    const shell::Form1& form = shell::form1();
    form.set_visible(shell::Control::GO0, true);
    const std::wstring source_path = form.text(shell::Control::TextBox1);
    // The path goes into a command script unquoted: refuse what would change its meaning
    // before any file is touched.
    if (const auto problem = source_path::find_path_problem(source_path, platform::ansi_holds)) {
        form.tell(source_path::describe(*problem));
        return;
    }

    platform::AnsiScriptFile script(kScriptName);
    fill_script_template(script, source_path);
    platform::start_script(script.path());
    platform::end_program(0);
}

}  // namespace generate

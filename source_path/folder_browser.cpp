#include "source_path/folder_browser.hpp"

#include "platform/folder_picker.hpp"
#include "shell/form1.hpp"

namespace source_path {

void Command2_Click() {
    // A cancel gives the empty text, which the field's own rule turns into the default.
    const shell::Form1& form = shell::form1();
    form.set_text(shell::Control::TextBox1, platform::browse_for_folder(form.handle(), L"C:\\"));
}

}  // namespace source_path

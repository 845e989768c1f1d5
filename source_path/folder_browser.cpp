#include "source_path/folder_browser.hpp"

#include "platform/folder_picker.hpp"
#include "shell/form1.hpp"
#include "source_path/path_check.hpp"

namespace source_path {

void Command2_Click() {
    const shell::Form1& form = shell::form1();
    const platform::FolderChoice choice = platform::browse_for_folder(form.handle(), L"C:\\");
    if (!choice.confirmed) {
        // The empty text, which the field's own rule turns into the default.
        form.set_text(shell::Control::TextBox1, L"");
    } else if (!choice.path) {
        form.tell(
            L"The chosen item is no folder of the file system (a computer of the network, for "
            L"one), so it cannot be the source path.\n\nNothing was changed: choose a folder on "
            L"a drive or a share.");
    } else {
        // As the user would type it, so that cmd finds the same folder.
        form.set_text(shell::Control::TextBox1, with_percent_signs_doubled(*choice.path));
    }
}

}  // namespace source_path

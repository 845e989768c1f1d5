#include "source_path/source_field.hpp"

#include "shell/form1.hpp"

namespace source_path {

void TextBox1_Change() {
    // Setting the text raises this event again; that nested run finds text and stops.
    const shell::Form1& form = shell::form1();
    if (form.text(shell::Control::TextBox1).empty()) {
        form.set_text(shell::Control::TextBox1, shell::kDefaultSourcePath);
        // Selected, so that the path the user goes on to type or paste replaces it.
        form.select_text(shell::Control::TextBox1);
    }
}

}  // namespace source_path

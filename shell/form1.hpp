#pragma once

#include "platform/native_window.hpp"
#include "shell/design.hpp"

#include <string>
#include <string_view>

// The one main window, as the event handlers of every part of the program see it.
namespace shell {

class Form1 {
  public:
    [[nodiscard]] std::wstring text(Control control) const;
    // Raises the control's change event, which runs to its end before this returns.
    void set_text(Control control, std::wstring_view text) const;
    // Selects the whole text of a field, so that what is typed or pasted next replaces it.
    void select_text(Control control) const;
    void set_visible(Control control, bool visible) const;
    // Read from the window each time it is asked for.
    [[nodiscard]] platform::NativeWindow handle() const;
    // A modal message that leaves the program running.
    void tell(std::wstring_view message) const;
};

[[nodiscard]] const Form1& form1();

}  // namespace shell

#pragma once

#include <string>

namespace platform {

// Starts a command script, named by its full path, in a new console window, maximised
// and active, in the script's folder, without waiting for it.
void start_script(const std::wstring& script_path);

// Ends the process at once: no further messages are handled and nothing is saved.
[[noreturn]] void end_program(unsigned exit_code);

}  // namespace platform

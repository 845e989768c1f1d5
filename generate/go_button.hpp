#pragma once

// The Go picture GO0: pressing it shows the pressed look, releasing it fills the script
// template with the source path, starts the script and ends the program.
namespace generate {

void GO0_MouseDown();
void GO0_MouseUp();
// The system took the mouse away before the release: Go is back at rest, nothing runs.
void GO0_PressCancelled();

}  // namespace generate

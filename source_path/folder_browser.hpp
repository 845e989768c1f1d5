#pragma once

// The browse button Command2: picks the source path in the shell's folder picker.
namespace source_path {

void Command2_Click();

}  // namespace source_path

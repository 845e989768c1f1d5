#pragma once

// The source-path field TextBox1 is never left empty: an empty text is replaced at once
// by the default source path, selected.
namespace source_path {

void TextBox1_Change();

}  // namespace source_path

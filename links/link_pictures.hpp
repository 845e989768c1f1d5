#pragma once

// The link pictures: a click hands the picture's target to the shell's "open".
namespace links {

void Picture1_Click();
void Picture2_Click();
void Picture3_Click();

}  // namespace links

// Go in a double-byte code page (932, Japanese). These tests need the system's code page
// to be 932; a test registration of their own starts them that way (under Wine, from a
// Japanese locale), and TORVANE_CODE_PAGE=932 makes a wrong code page fail them there.
// Elsewhere they are skipped.
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>

namespace {

using namespace e2e;

TEST(CodePage932, TheTemplateKeepsItsBytesAndAJapanesePathGoesInAsItsBytes) {
    if (test_support::environment(L"TORVANE_CODE_PAGE") == L"932") {
        ASSERT_EQ(GetACP(), 932u) << "the Japanese locale did not reach Windows";
    } else if (GetACP() != 932) {
        GTEST_SKIP() << "needs code page 932, the system has " << GetACP();
    }
    // 0x83 0x50 is one character whose trail byte is the letter P; a lead byte ends the file.
    const WorkingFolder folder("rem \x83PATHtoFOLDER\r\necho PATHtoFOLDER>marker.txt\r\n\x83");
    const Brelix brelix(folder.path());
    // Katakana SO is 0x83 0x5C: its trail byte is a backslash in ASCII.
    type_over_field(brelix, L"C:\\\u30bd\u30d5\u30c8");
    const std::string path = "C:\\\x83\x5c\x83\x74\x83\x67";

    click(brelix.point_in(Control::GO0));
    EXPECT_EQ(brelix.exit_code(), 0u);
    EXPECT_EQ(folder.read(L"backup.bat"),
              "rem \x83PATHtoFOLDER\r\necho " + path + ">marker.txt\r\n\x83");
    EXPECT_TRUE(wait_until([&] { return folder.read(L"marker.txt") == path + "\r\n"; }))
        << "the script did not write the path as the code page spells it";
}

}  // namespace

// Go in a double-byte code page (932, Japanese): the template is read as text of that code
// page, so a token is never found inside a double-byte character, and a path in its own
// characters goes into the script as its bytes. These tests need the system's code page
// to be 932; a test registration of their own starts them that way (under Wine, from a
// Japanese locale), and TORVANE_CODE_PAGE=932 makes a wrong code page fail them there.
// Elsewhere they are skipped.
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace e2e;
using shell::Control;

constexpr UINT kJapanese = 932;

class CodePage932 : public testing::Test {
  protected:
    void SetUp() override {
        wchar_t required[8]{};
        if (GetEnvironmentVariableW(L"TORVANE_CODE_PAGE", required, 8) < 8 &&
            std::wcstoul(required, nullptr, 10) == kJapanese) {
            ASSERT_EQ(GetACP(), kJapanese) << "the Japanese locale did not reach Windows";
        } else if (GetACP() != kJapanese) {
            GTEST_SKIP() << "needs code page 932, the system has " << GetACP();
        }
    }

    // Presses Go and returns the script as Go left it, once the program has ended.
    std::optional<std::string> script_after_go(const Brelix& brelix) const {
        brelix.click_go();
        EXPECT_TRUE(brelix.wait_for_exit());
        return folder_.read(L"backup.bat");
    }

    TempFolder folder_;
};

TEST_F(CodePage932, ATokenInsideADoubleByteCharacterStaysAsItIs) {
    // 0x83 0x50 is one character, katakana KE: its trail byte is the letter P in ASCII.
    const std::string kept_line = "rem \x83PATHtoFOLDER\r\n";
    folder_.write(L"backup.bat", "@echo off\r\n" + kept_line + "echo PATHtoFOLDER>marker.txt\r\n");
    const Brelix brelix(folder_);
    ASSERT_TRUE(brelix.window());

    EXPECT_EQ(script_after_go(brelix),
              "@echo off\r\n" + kept_line + "echo " + kDefaultPath + ">marker.txt\r\n");
    EXPECT_TRUE(wait_until([&] { return folder_.read(L"marker.txt") == kDefaultPath + "\r\n"; }));
}

TEST_F(CodePage932, AJapanesePathGoesIntoTheScriptAsItsBytes) {
    // Katakana SO is 0x83 0x5C: its trail byte is a backslash in ASCII.
    const std::wstring path = L"C:\\\u30bd\u30d5\u30c8";
    const std::string path_bytes = "C:\\\x83\x5c\x83\x74\x83\x67";
    folder_.write(L"backup.bat", kMarkerTemplate);
    const Brelix brelix(folder_);
    ASSERT_TRUE(brelix.window());
    const HWND field = brelix.control(Control::TextBox1);
    select_whole_text(field);
    type_text(path);
    ASSERT_TRUE(wait_until([&] { return text_of(field) == path; })) << narrow(text_of(field));

    EXPECT_EQ(script_after_go(brelix), "@echo off\r\necho " + path_bytes + ">marker.txt\r\n");
    EXPECT_TRUE(wait_until([&] { return folder_.read(L"marker.txt") == path_bytes + "\r\n"; }))
        << "the script did not write the path as the code page spells it";
}

TEST_F(CodePage932, ATemplateThatIsNoTextInTheCodePageIsRefusedAndKept) {
    // A lead byte with nothing after it is half a character.
    const std::string broken = "echo PATHtoFOLDER\r\n\x83";
    folder_.write(L"backup.bat", broken);
    const Brelix brelix(folder_);
    ASSERT_TRUE(brelix.window());

    brelix.click_go();
    const HWND report = brelix.wait_for_message_box();
    ASSERT_TRUE(report) << "no failure report";
    const std::wstring message = read_and_dismiss(report);
    EXPECT_NE(message.find(L"not text in the system's ANSI code page"), std::wstring::npos)
        << narrow(message);
    EXPECT_TRUE(brelix.wait_for_exit());
    EXPECT_EQ(folder_.read(L"backup.bat"), broken);
    EXPECT_EQ(folder_.names(), std::vector<std::wstring>{L"backup.bat"});
}

}  // namespace

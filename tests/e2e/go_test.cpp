// The main job end to end (press and release Go, the script runs) and how it must not fail.
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>

namespace {

using namespace e2e;

// In a working folder as long as can be (258), whose name cmd would expand on its command line.
class GoWith : public testing::TestWithParam<DWORD> {};  // a button's down flag

TEST_P(GoWith, FillsTheTemplateStartsItAndEndsWhereverTheButtonIsReleased) {
    const TempFolder outer;
    const TempFolder folder(outer.path() + L"\\100%PATH%sure", MAX_PATH - 2);
    folder.write(L"backup.bat", kMarkerTemplate);
    const Brelix brelix(folder.path());

    move_pointer(brelix.point_in(Control::GO0));
    mouse(GetParam());
    EXPECT_TRUE(wait_until([&] { return !IsWindowVisible(brelix.control(Control::GO0)); }))
        << "no pressed look";
    EXPECT_EQ(folder.read(L"backup.bat"), kMarkerTemplate) << "before the release";
    // A scanner holds the template, without delete sharing, for a while after the release.
    const HANDLE scanner = CreateFileW((folder.path() + L"\\backup.bat").c_str(), GENERIC_READ,
                                       FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    move_pointer({5, 5});
    mouse(GetParam() * 2);
    EXPECT_TRUE(wait_until([&] { return folder.entries() == 2; })) << "no new file";
    std::this_thread::sleep_for(300ms);
    CloseHandle(scanner);

    EXPECT_EQ(brelix.exit_code(), 0u);
    EXPECT_TRUE(wait_until([&] { return folder.read(L"marker.txt") == kDefaultPath + "\r\n"; }))
        << "the filled script did not run";
}

INSTANTIATE_TEST_SUITE_P(AnyButton, GoWith,
                         testing::Values(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN,
                                         MOUSEEVENTF_MIDDLEDOWN));

// Without a template: a step that ran the job would show the failure report, which would
// take the next press.
TEST(Go, RunsOnlyForTheReleaseThatEndsAPressOnGoAndReportsAMissingTemplate) {
    const TempFolder folder;
    const Brelix brelix(folder.path());
    const HWND go = brelix.control(Control::GO0);
    // A press on the watermark, released over Go.
    move_pointer(center_of(brelix.window()));
    mouse(MOUSEEVENTF_LEFTDOWN);
    move_pointer(brelix.point_in(Control::GO0));
    mouse(MOUSEEVENTF_LEFTUP);
    // The system takes the mouse away from a press on Go, as a menu or a dialog does.
    mouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(wait_until([&] { return brelix.state().hwndCapture == go; }));
    EXPECT_TRUE(focus_moves_to(brelix, Control::Picture3, {VK_SHIFT, VK_TAB})) << "while held";
    EXPECT_TRUE(focus_moves_to(brelix, Control::GO1, {VK_TAB})) << "Tab went onto the hidden Go";
    SendMessageW(go, WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(focus_moves_to(brelix, Control::GO0, {})) << "Go stays pressed, or not in focus";
    mouse(MOUSEEVENTF_LEFTUP);

    click(brelix.point_in(Control::GO0));
    const HWND report = brelix.dialog();
    EXPECT_TRUE(IsWindowVisible(go)) << "Go stays pressed behind it";
    const std::wstring message = read_and_dismiss(report);
    EXPECT_NE(message.find(L"Could not open the file:\n"), std::wstring::npos);
    EXPECT_NE(message.find(L"backup.bat\n\n"), std::wstring::npos);
    EXPECT_EQ(brelix.exit_code(), 1u);
    EXPECT_EQ(folder.entries(), 0);
}

// The recorder, or nothing, in place of System32's cmd.exe, and one beside the script.
TEST(Go, StartsTheSystemsCommandInterpreterMaximisedWithoutAutoRunOrReportsWhyNot) {
    if (!under_wine()) {
        GTEST_SKIP() << "replaces System32's cmd.exe, which only a test prefix of Wine may";
    }
    const WorkingFolder folder(kMarkerTemplate);
    const std::wstring recorder = beside_this_program(L"recorder.exe");
    ASSERT_TRUE(CopyFileW(recorder.c_str(), (folder.path() + L"\\cmd.exe").c_str(), FALSE));
    SetEnvironmentVariableW(L"TORVANE_RECORD", (folder.path() + L"\\started.log").c_str());
    const NativeOverWine native_cmd(L"cmd.exe", L"native");  // without the file, nothing
    // A 32-bit program on a 64-bit system finds System32's files in SysWOW64.
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    wchar_t system[MAX_PATH]{};
    (wow64 ? GetSystemWow64DirectoryW : GetSystemDirectoryW)(system, MAX_PATH);
    const std::wstring cmd = system + std::wstring(L"\\cmd.exe");
    ASSERT_TRUE(MoveFileW(cmd.c_str(), (cmd + L".aside").c_str()));
    const std::shared_ptr<void> put_back(nullptr, [&](void*) {  // also after a failed assertion
        MoveFileExW((cmd + L".aside").c_str(), cmd.c_str(), MOVEFILE_REPLACE_EXISTING);
    });
    const Brelix without_cmd(folder.path());
    click(without_cmd.point_in(Control::GO0));
    EXPECT_NE(read_and_dismiss(without_cmd.dialog()).find(L"Could not start the script"),
              std::wstring::npos);
    EXPECT_EQ(without_cmd.exit_code(), 1u) << "the report did not end the program";

    ASSERT_TRUE(CopyFileW(recorder.c_str(), cmd.c_str(), FALSE));
    folder.write(L"backup.bat", "");  // an empty template gives an empty script, also started
    const Brelix with_cmd(folder.path());
    click(with_cmd.point_in(Control::GO0));
    EXPECT_EQ(with_cmd.exit_code(), 0u);
    // Maximised is 3, which Wine's console does not show.
    EXPECT_TRUE(wait_until([&] { return folder.read(L"started.log").has_value(); }));
    EXPECT_EQ(folder.read(L"started.log"),
              utf8(cmd + L"|3|cmd.exe /d /s /c \"\".\\backup.bat\"\"\n"));
}

// In code page 932 (Japanese), run only by a registration of its own under a Japanese locale.
TEST(DISABLED_CodePage932, TheTemplateKeepsItsBytesAndAJapanesePathGoesInAsItsBytes) {
    ASSERT_EQ(GetACP(), 932u) << "the Japanese locale did not reach Windows";
    // 0x83 0x50 and 0xE0 0x50, one character from each range of lead bytes, have the letter
    // P for their trail byte; a lead byte ends the file.
    const std::string kept = "rem \x83PATHtoFOLDER \xE0PATHtoFOLDER\r\n";
    const WorkingFolder folder(kept + "echo PATHtoFOLDER>marker.txt\r\n\xFC");
    const Brelix brelix(folder.path());
    // Katakana SO is 0x83 0x5C: its trail byte is a backslash in ASCII.
    type_over_field(brelix, L"C:\\\u30bd\u30d5\u30c8");
    const std::string path = "C:\\\x83\x5c\x83\x74\x83\x67";

    click(brelix.point_in(Control::GO0));
    EXPECT_EQ(brelix.exit_code(), 0u);
    EXPECT_EQ(folder.read(L"backup.bat"), kept + "echo " + path + ">marker.txt\r\n\xFC");
    EXPECT_TRUE(wait_until([&] { return folder.read(L"marker.txt") == path + "\r\n"; }))
        << "the script did not write the path as the code page spells it";
}

}  // namespace

// The main job end to end: press and release Go, the filled script runs, the program ends;
// and the ways it must not go wrong.
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>

namespace {

using namespace e2e;

const std::string kFilled = "@echo off\r\necho " + kDefaultPath + ">marker.txt\r\n";

bool shows_orange(POINT screen) {
    const HDC desktop = GetDC(nullptr);
    const COLORREF colour = GetPixel(desktop, screen.x, screen.y);
    ReleaseDC(nullptr, desktop);
    return GetRValue(colour) > 230 && GetBValue(colour) < 160;
}

// In a working folder whose name cmd would expand if it stood on cmd's command line.
class GoWith : public testing::TestWithParam<Button> {};

TEST_P(GoWith, FillsTheTemplateStartsItAndEndsWhereverTheButtonIsReleased) {
    const TempFolder folder;
    ASSERT_TRUE(CreateDirectoryW((folder.path() + L"\\100%PATH%sure").c_str(), nullptr));
    const auto script = [&](const wchar_t* name) {
        return folder.read(L"100%PATH%sure\\" + std::wstring(name));
    };
    folder.write(L"100%PATH%sure\\backup.bat", kMarkerTemplate);
    const Brelix brelix(folder.path() + L"\\100%PATH%sure");
    const POINT go = brelix.point_in(Control::GO0);

    move_pointer(go);
    press(GetParam());
    EXPECT_TRUE(wait_until([&] { return shows_orange(go); })) << "no pressed look";
    EXPECT_EQ(script(L"backup.bat"), kMarkerTemplate) << "before the release";
    move_pointer({5, 5});
    release(GetParam());

    EXPECT_EQ(brelix.exit_code(), 0u);
    EXPECT_EQ(script(L"backup.bat"), kFilled);
    EXPECT_TRUE(wait_until([&] { return script(L"marker.txt") == kDefaultPath + "\r\n"; }))
        << "the filled script did not run";
}

INSTANTIATE_TEST_SUITE_P(AnyButton, GoWith,
                         testing::Values(Button::Left, Button::Right, Button::Middle));

// Without a template, so a step that ran the job would show the failure report, and the
// next press that Go must take would not reach it.
TEST(Go, RunsOnlyForTheReleaseThatEndsAPressOnGoAndReportsAMissingTemplate) {
    const TempFolder folder;
    const Brelix brelix(folder.path());
    const HWND go = brelix.control(Control::GO0);
    const auto go_takes_a_press = [&] {
        move_pointer(brelix.point_in(Control::GO0));
        press();
        return wait_until([&] { return brelix.state().hwndCapture == go; });
    };
    // A press on the watermark, released over Go.
    move_pointer(center_of(brelix.window()));
    press();
    move_pointer(brelix.point_in(Control::GO0));
    release();
    // The system takes the mouse away from a press on Go, as a menu or a dialog does.
    ASSERT_TRUE(go_takes_a_press());
    SendMessageW(go, WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(wait_until([&] { return IsWindowVisible(go) != FALSE; })) << "Go stays pressed";
    release();

    ASSERT_TRUE(go_takes_a_press());
    release();
    const HWND report = brelix.dialog();
    ASSERT_TRUE(report) << "no failure report";
    EXPECT_TRUE(IsWindowVisible(go)) << "Go stays pressed behind it";
    EXPECT_FALSE(brelix.exit_code(0ms)) << "the report must wait for the user";
    const std::wstring message = read_and_dismiss(report);
    EXPECT_NE(message.find(L"Could not open the file:\n"), std::wstring::npos);
    EXPECT_NE(message.find(L"backup.bat\n\n"), std::wstring::npos);
    EXPECT_EQ(brelix.exit_code(), 1u);
    EXPECT_TRUE(folder.names().empty());
}

// Puts the recorder in place of System32's cmd.exe, or nothing, and a recorder beside the
// script, where a cmd.exe searched for by name would be found first. Only in the test's
// own Wine prefix; Wine runs its built-in cmd unless told to take the file (cmd.exe=n).
TEST(Go, StartsTheSystemsCommandInterpreterMaximisedWithoutAutoRunOrReportsWhyNot) {
    if (!test_support::under_wine()) {
        GTEST_SKIP() << "replaces System32's cmd.exe, which only a test prefix of Wine may";
    }
    const WorkingFolder folder(kMarkerTemplate);
    const std::wstring recorder = test_support::beside_this_program(L"recorder.exe");
    ASSERT_TRUE(CopyFileW(recorder.c_str(), (folder.path() + L"\\cmd.exe").c_str(), FALSE));
    SetEnvironmentVariableW(L"TORVANE_RECORD", (folder.path() + L"\\started.log").c_str());
    SetEnvironmentVariableW(L"WINEDLLOVERRIDES", L"cmd.exe=n");
    // SysWOW64 is where a 32-bit program finds System32's files on a 64-bit system.
    wchar_t system[MAX_PATH]{};
    UINT length = GetSystemWow64DirectoryW(system, MAX_PATH);
    length = length ? length : GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring cmd = std::wstring(system, length) + L"\\cmd.exe";
    ASSERT_TRUE(MoveFileW(cmd.c_str(), (cmd + L".aside").c_str()));
    const struct PutBack {
        std::wstring cmd;
        ~PutBack() {
            MoveFileExW((cmd + L".aside").c_str(), cmd.c_str(), MOVEFILE_REPLACE_EXISTING);
            SetEnvironmentVariableW(L"WINEDLLOVERRIDES", nullptr);
        }
    } put_back{cmd};
    {
        const Brelix brelix(folder.path());
        click(brelix.point_in(Control::GO0));
        const HWND report = brelix.dialog();
        ASSERT_TRUE(report);
        EXPECT_NE(read_and_dismiss(report).find(L"Could not start the script"), std::wstring::npos);
        EXPECT_EQ(folder.read(L"backup.bat"), kFilled);
    }
    CopyFileW(recorder.c_str(), cmd.c_str(), FALSE);
    folder.write(L"backup.bat", kMarkerTemplate);
    {
        const Brelix brelix(folder.path());
        click(brelix.point_in(Control::GO0));
        EXPECT_EQ(brelix.exit_code(), 0u);
    }
    // Maximised is 3, which Wine's console does not show.
    EXPECT_TRUE(wait_until([&] { return folder.read(L"started.log").has_value(); }));
    EXPECT_EQ(folder.read(L"started.log"),
              test_support::utf8(cmd + L"|3|cmd.exe /d /s /c \"\".\\backup.bat\"\"\n"));
}

}  // namespace

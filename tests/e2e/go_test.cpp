// The main job end to end: press and release Go, the filled script runs, the program ends;
// and the ways it must not go wrong.
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>

namespace {

using namespace e2e;

const std::string kFilled = "@echo off\r\necho " + kDefaultPath + ">marker.txt\r\n";

// cmd would expand %PATH% in the working folder's name if it stood on its command line.
class GoWith : public testing::TestWithParam<Button> {};

TEST_P(GoWith, FillsTheTemplateStartsItAndEndsWhereverTheButtonIsReleased) {
    const TempFolder folder;
    const std::wstring odd = L"100%PATH%sure";
    ASSERT_TRUE(CreateDirectoryW((folder.path() + L"\\" + odd).c_str(), nullptr));
    folder.write(odd + L"\\backup.bat", kMarkerTemplate);
    const Brelix brelix(folder.path() + L"\\" + odd);
    ASSERT_TRUE(brelix.window());
    const POINT go = brelix.point_in(Control::GO0);

    move_pointer(go);
    press(GetParam());
    EXPECT_TRUE(wait_until([&] { return is_orange(screen_pixel(go)); })) << "no pressed look";
    EXPECT_EQ(folder.read(odd + L"\\backup.bat"), kMarkerTemplate) << "before the release";
    move_pointer({5, 5});
    release(GetParam());

    ASSERT_TRUE(brelix.ended());
    EXPECT_EQ(brelix.exit_code(), 0u);
    EXPECT_EQ(folder.read(odd + L"\\backup.bat"), kFilled);
    EXPECT_TRUE(wait_until([&] {
        return folder.read(odd + L"\\marker.txt") == kDefaultPath + "\r\n";
    })) << "the filled script did not run";
}

INSTANTIATE_TEST_SUITE_P(AnyButton, GoWith,
                         testing::Values(Button::Left, Button::Right, Button::Middle));

// Each step ends with a press on Go taking the mouse: had a step run the job, the program
// would have ended and no window would take it.
TEST(Go, RunsOnlyForTheReleaseThatEndsAPressOnGo) {
    const TempFolder folder;
    folder.write(L"backup.bat", kMarkerTemplate);
    const Brelix brelix(folder.path());
    ASSERT_TRUE(brelix.window());
    const HWND go = brelix.control(Control::GO0);
    const auto go_takes_the_press = [&] {
        move_pointer(brelix.point_in(Control::GO0));
        press();
        return wait_until([&] { return brelix.capture() == go; });
    };

    // A press on the watermark, released over Go.
    RECT client{};
    GetClientRect(brelix.window(), &client);
    MapWindowPoints(brelix.window(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    move_pointer({client.left + 130, client.top + 130});
    press();
    move_pointer(brelix.point_in(Control::GO0));
    release();

    // The system takes the mouse away from a press on Go, as a menu or a dialog does.
    ASSERT_TRUE(go_takes_the_press());
    SendMessageW(go, WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(wait_until([&] { return IsWindowVisible(go) != FALSE; })) << "Go stays pressed";
    release();

    ASSERT_TRUE(go_takes_the_press());
    EXPECT_EQ(folder.read(L"backup.bat"), kMarkerTemplate);
    release();
    ASSERT_TRUE(brelix.ended());
    EXPECT_EQ(folder.read(L"backup.bat"), kFilled);
}

TEST(Go, WithoutATemplateReportsTheFailureAtRestAndCreatesNothing) {
    const TempFolder folder;
    const Brelix brelix(folder.path());
    ASSERT_TRUE(brelix.window());
    click(brelix.point_in(Control::GO0));

    const HWND report = brelix.dialog();
    ASSERT_TRUE(report) << "no failure report";
    EXPECT_TRUE(IsWindowVisible(brelix.control(Control::GO0))) << "Go stays pressed behind it";
    EXPECT_FALSE(brelix.ended(0ms)) << "the report must wait for the user";
    const std::wstring message = read_and_dismiss(report);
    EXPECT_TRUE(contains(message, L"Could not open the file")) << testing::PrintToString(message);
    EXPECT_TRUE(contains(message, L"backup.bat"));
    ASSERT_TRUE(brelix.ended());
    EXPECT_EQ(brelix.exit_code(), 1u);
    EXPECT_TRUE(folder.names().empty());
}

// Puts System32's cmd.exe aside, and the recorder in its place if asked: only in the test's
// own Wine prefix. Wine runs its built-in cmd unless told to take the file (cmd.exe=n).
class SystemCommandInterpreter {
  public:
    explicit SystemCommandInterpreter(bool recorder) {
        wchar_t system[MAX_PATH]{};
        path_ = std::wstring(system, GetSystemDirectoryW(system, MAX_PATH)) + L"\\cmd.exe";
        moved_ = MoveFileW(path_.c_str(), (path_ + L".torvane-aside").c_str()) != FALSE;
        if (recorder) {
            CopyFileW(test_support::beside_this_program(L"recorder.exe").c_str(), path_.c_str(),
                      FALSE);
        }
        SetEnvironmentVariableW(L"WINEDLLOVERRIDES", L"cmd.exe=n");
    }
    SystemCommandInterpreter(const SystemCommandInterpreter&) = delete;
    SystemCommandInterpreter& operator=(const SystemCommandInterpreter&) = delete;
    ~SystemCommandInterpreter() {
        SetEnvironmentVariableW(L"WINEDLLOVERRIDES", nullptr);
        if (moved_) {
            MoveFileExW((path_ + L".torvane-aside").c_str(), path_.c_str(),
                        MOVEFILE_REPLACE_EXISTING);
        }
    }
    [[nodiscard]] bool moved() const noexcept { return moved_; }

  private:
    std::wstring path_;
    bool moved_ = false;
};

TEST(Go, StartsTheSystemsCommandInterpreterWithoutAutoRunAndNoOtherOne) {
    if (!test_support::under_wine()) {
        GTEST_SKIP() << "replaces System32's cmd.exe, which only a test prefix of Wine may";
    }
    const TempFolder folder;
    folder.write(L"backup.bat", kMarkerTemplate);
    // A cmd.exe planted beside the script records its start too.
    ASSERT_TRUE(CopyFileW(test_support::beside_this_program(L"recorder.exe").c_str(),
                          (folder.path() + L"\\cmd.exe").c_str(), FALSE));
    SetEnvironmentVariableW(L"TORVANE_RECORD", (folder.path() + L"\\started.log").c_str());
    const SystemCommandInterpreter recorder(true);
    ASSERT_TRUE(recorder.moved());
    const Brelix brelix(folder.path());
    ASSERT_TRUE(brelix.window());

    click(brelix.point_in(Control::GO0));
    ASSERT_TRUE(brelix.ended());
    ASSERT_TRUE(wait_until([&] { return folder.read(L"started.log").has_value(); }));
    // Where the system's cmd.exe really lies for a 32-bit program (SysWOW64 on a 64-bit
    // system), and maximised (3), which Wine's console does not show.
    wchar_t system[MAX_PATH]{};
    UINT length = GetSystemWow64DirectoryW(system, MAX_PATH);
    length = length ? length : GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(folder.read(L"started.log"),
              test_support::utf8(std::wstring(system, length) +
                                 L"\\cmd.exe|3|cmd.exe /d /s /c \"\".\\backup.bat\"\"\n"));
}

TEST(Go, AScriptThatCannotBeStartedIsReportedAndStaysFilled) {
    if (!test_support::under_wine()) {
        GTEST_SKIP() << "puts System32's cmd.exe aside, which only a test prefix of Wine may";
    }
    const TempFolder folder;
    folder.write(L"backup.bat", kMarkerTemplate);
    const SystemCommandInterpreter aside(false);
    ASSERT_TRUE(aside.moved());
    const Brelix brelix(folder.path());
    ASSERT_TRUE(brelix.window());

    click(brelix.point_in(Control::GO0));
    const HWND report = brelix.dialog();
    ASSERT_TRUE(report);
    EXPECT_TRUE(contains(read_and_dismiss(report), L"Could not start the script"));
    EXPECT_EQ(folder.read(L"backup.bat"), kFilled);
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"backup.bat"});
}

}  // namespace

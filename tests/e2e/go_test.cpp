// The main job end to end: start, press and release Go, the filled script runs, the
// program ends; and the ways it must not go wrong.
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>

namespace {

using namespace e2e;
using shell::Control;

TEST(Start, ShowsTheWindowWithTheDefaultPathAndChangesNothing) {
    const TempFolder folder;
    folder.write(L"backup.bat", kMarkerTemplate);
    const Brelix brelix(folder, L"/s --go backup.bat");
    ASSERT_TRUE(brelix.window());
    EXPECT_EQ(text_of(brelix.window()), L"Torvane");
    EXPECT_EQ(narrow(text_of(brelix.control(Control::TextBox1))), kDefaultPath);
    EXPECT_TRUE(IsWindowVisible(brelix.control(Control::GO0)));
    EXPECT_FALSE(brelix.wait_for_exit(1s)) << "command-line arguments must have no effect";
    EXPECT_EQ(folder.read(L"backup.bat"), kMarkerTemplate);
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"backup.bat"});
}

class GoWithButton : public testing::TestWithParam<MouseButton> {};

TEST_P(GoWithButton, FillsTheTemplateStartsItAndEnds) {
    const TempFolder folder;
    folder.write(L"backup.bat", kMarkerTemplate);
    const Brelix brelix(folder);
    ASSERT_TRUE(brelix.window());

    move_pointer(brelix.go_point());
    press(GetParam());
    release(GetParam());

    ASSERT_TRUE(brelix.wait_for_exit());
    EXPECT_EQ(brelix.exit_code(), 0u);
    EXPECT_EQ(folder.read(L"backup.bat"), "@echo off\r\necho " + kDefaultPath + ">marker.txt\r\n");
    ASSERT_TRUE(wait_until([&] { return folder.read(L"marker.txt").has_value(); }))
        << "the filled script did not run";
    EXPECT_TRUE(wait_until([&] { return folder.read(L"marker.txt") == kDefaultPath + "\r\n"; }));
}

INSTANTIATE_TEST_SUITE_P(AnyButton, GoWithButton,
                         testing::Values(MouseButton::Left, MouseButton::Right,
                                         MouseButton::Middle));

TEST(Go, ShowsThePressedLookUntilTheReleaseBeforeAnyFileWork) {
    const TempFolder folder;
    folder.write(L"backup.bat", kMarkerTemplate);
    const Brelix brelix(folder);
    ASSERT_TRUE(brelix.window());
    const POINT inside = brelix.go_point();
    EXPECT_TRUE(brelix.wait_until_painted());

    move_pointer(inside);
    press(MouseButton::Left);
    EXPECT_TRUE(wait_until([&] { return !IsWindowVisible(brelix.control(Control::GO0)); }));
    EXPECT_TRUE(wait_until([&] { return is_go_orange(screen_pixel(inside)); }));
    EXPECT_FALSE(brelix.wait_for_exit(500ms));
    EXPECT_EQ(folder.read(L"backup.bat"), kMarkerTemplate) << "no file work before the release";

    release(MouseButton::Left);
    ASSERT_TRUE(brelix.wait_for_exit());
    EXPECT_NE(folder.read(L"backup.bat"), kMarkerTemplate);
}

TEST(Go, ReleaseOutsideTheWindowStillRunsTheJob) {
    const TempFolder folder;
    folder.write(L"backup.bat", kMarkerTemplate);
    const Brelix brelix(folder);
    ASSERT_TRUE(brelix.window());

    move_pointer(brelix.go_point());
    press(MouseButton::Left);
    ASSERT_TRUE(wait_until([&] { return !IsWindowVisible(brelix.control(Control::GO0)); }));
    move_pointer({5, 5});
    release(MouseButton::Left);

    ASSERT_TRUE(brelix.wait_for_exit());
    EXPECT_EQ(brelix.exit_code(), 0u);
    EXPECT_TRUE(wait_until([&] { return folder.read(L"marker.txt") == kDefaultPath + "\r\n"; }));
}

TEST(Go, WorkingFolderWithPercentSignsRunsItsOwnScript) {
    // cmd would read %PATH% in a command line as the search path's value.
    const TempFolder folder;
    const std::wstring odd_name = L"100%PATH%sure";
    ASSERT_TRUE(CreateDirectoryW((folder.path() + L"\\" + odd_name).c_str(), nullptr));
    folder.write(odd_name + L"\\backup.bat", kMarkerTemplate);
    const Brelix brelix(folder.path() + L"\\" + odd_name);
    ASSERT_TRUE(brelix.window());

    brelix.click_go();
    ASSERT_TRUE(brelix.wait_for_exit());
    EXPECT_EQ(brelix.exit_code(), 0u);
    EXPECT_TRUE(wait_until([&] {
        return folder.read(odd_name + L"\\marker.txt") == kDefaultPath + "\r\n";
    })) << "the script in the folder did not run";
}

TEST(Go, MissingTemplateShowsTheFailureAndEndsWithoutCreatingAFile) {
    const TempFolder folder;
    const Brelix brelix(folder);
    ASSERT_TRUE(brelix.window());

    move_pointer(brelix.go_point());
    press(MouseButton::Left);
    release(MouseButton::Left);

    const HWND box = brelix.wait_for_message_box();
    ASSERT_TRUE(box) << "no failure report";
    const std::string message = narrow(message_of(box));
    EXPECT_NE(message.find("Could not open the file"), std::string::npos) << message;
    EXPECT_NE(message.find("backup.bat"), std::string::npos) << message;
    EXPECT_FALSE(brelix.wait_for_exit(300ms)) << "the report must wait for the user";

    move_pointer(center_of(box));
    press_key(VK_RETURN);
    ASSERT_TRUE(brelix.wait_for_exit());
    EXPECT_EQ(brelix.exit_code(), 1u);
    EXPECT_TRUE(folder.names().empty());
}

POINT close_box_of(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    for (int y = frame.top; y < frame.top + 30; ++y) {
        for (int x = frame.right - 1; x > frame.right - 40; --x) {
            if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
                return {x - 3, y + 3};
            }
        }
    }
    return {-1, -1};
}

TEST(Close, TheCloseBoxEndsTheProgramAndLeavesTheTemplate) {
    const TempFolder folder;
    folder.write(L"backup.bat", kMarkerTemplate);
    const Brelix brelix(folder);
    ASSERT_TRUE(brelix.window());

    const POINT close_box = close_box_of(brelix.window());
    ASSERT_GE(close_box.x, 0) << "no close box on the title bar";
    move_pointer(close_box);
    press(MouseButton::Left);
    release(MouseButton::Left);

    ASSERT_TRUE(brelix.wait_for_exit());
    EXPECT_EQ(brelix.exit_code(), 0u);
    EXPECT_EQ(folder.read(L"backup.bat"), kMarkerTemplate);
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"backup.bat"});
}

}  // namespace

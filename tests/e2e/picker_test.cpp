// The folder picker as a user works it, in one run: an item that is no folder, a cancel, and
// two folders picked, with Go pressed on each.
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlobj.h>

namespace {

using namespace e2e;

TEST(Picker, NoFolderKeepsTheFieldACancelPutsTheDefaultAFolderComesAsTheUserTypesIt) {
    // In a folder on the desktop, the tree's root: a folder that cmd would expand, and one with
    // letters that code page 1252 lacks (Łódź).
    wchar_t desktop[MAX_PATH]{};
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop);
    const TempFolder on_desktop(desktop);
    const std::wstring lodz = on_desktop.path() + L"\\\u0141\u00f3d\u017a";
    CreateDirectoryW(lodz.c_str(), nullptr);
    CreateDirectoryW((on_desktop.path() + L"\\100%PATH%sure").c_str(), nullptr);
    const WorkingFolder folder("if exist \"PATHtoFOLDER\\\" echo found>marker.txt\r\n");
    const Brelix brelix(folder.path());
    HWND picker = nullptr, tree = nullptr;
    const auto open_picker = [&] {
        click(brelix.point_in(Control::Command2));
        picker = brelix.dialog();
        tree = GetDlgItem(picker, 0x3741);
    };

    // OK is greyed for what is no folder of the file system; where Windows leaves it on (a bare
    // \\server item), confirming it says so, and the field keeps its path.
    type_over_field(brelix, L"D:\\Typed");
    open_picker();
    LRESULT no_folder = 0;
    for (LRESULT item = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0); item != 0;
         item = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, item)) {
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, item);
        no_folder = IsWindowEnabled(GetDlgItem(picker, IDOK)) ? no_folder : item;
    }
    ASSERT_NE(no_folder, 0) << "a folder outside the file system could be confirmed";
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, no_folder);
    SendMessageW(picker, BFFM_ENABLEOK, 0, TRUE);  // as Windows does for \\server
    click(center_of(GetDlgItem(picker, IDOK)));
    wait_until([&] { return !IsWindow(picker); });
    EXPECT_NE(read_and_dismiss(brelix.dialog()).find(L"no folder of the file system"),
              std::wstring::npos);
    EXPECT_TRUE(brelix.field_shows(L"D:\\Typed"));

    // A cancel puts the default back over it; the picker keeps nothing from the last time.
    open_picker();
    EXPECT_EQ(text_of(GetDlgItem(picker, 0x3742)), L"C:\\") << "its instruction";
    EXPECT_EQ(GetWindow(picker, GW_OWNER), brelix.window());
    EXPECT_EQ(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0), 0) << "a folder was chosen";
    move_pointer(center_of(picker));
    keys({VK_ESCAPE});
    EXPECT_TRUE(brelix.field_shows(std::wstring(shell::kDefaultSourcePath)));

    // A folder reaches the field as the shell names it, letters the code page lacks included
    // (Go refuses those), with each % doubled, as the user types it for cmd.
    const auto pick = [&](std::initializer_list<WORD> keys_after_its_name) {
        open_picker();
        // Found by its name as a user types it; posted, as a pause of 450 ms restarts the search.
        for (const wchar_t letter : on_desktop.path().substr(std::wcslen(desktop) + 1)) {
            PostMessageW(tree, WM_CHAR, letter, 1);
        }
        for (const WORD key : keys_after_its_name) {
            PostMessageW(tree, WM_KEYDOWN, key, 0);
        }
        click(center_of(GetDlgItem(picker, IDOK)));
    };
    pick({VK_RIGHT, VK_RIGHT, VK_DOWN});  // opened, its first folder chosen, then the next
    ASSERT_TRUE(brelix.field_shows(lodz)) << testing::PrintToString(brelix.field());
    click(brelix.point_in(Control::GO0));
    const std::wstring refusal = read_and_dismiss(brelix.dialog());
    const auto position = std::to_wstring(lodz.rfind(L'\\') + 2);
    EXPECT_NE(refusal.find(L"\"\u0141\" at position " + position), std::wstring::npos) << refusal;
    pick({VK_RIGHT, VK_RIGHT});
    EXPECT_TRUE(brelix.field_shows(on_desktop.path() + L"\\100%%PATH%%sure"));
    click(brelix.point_in(Control::GO0));
    EXPECT_TRUE(wait_until([&] { return folder.read(L"marker.txt") == "found\r\n"; }))
        << "the script did not find the folder";
}

}  // namespace

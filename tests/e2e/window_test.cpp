// The window as a user works it, in two runs: its place, the keyboard, screen readers, the
// field that never stays empty, the picker, the refusal of a path that would change the
// script's meaning and a new display density; and the link pictures and the close box.
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <oleacc.h>
#include <shlobj.h>
#include <wrl/client.h>

namespace {

using namespace e2e;

// The name and role a screen reader is told for a control, asked the way one asks.
std::pair<std::wstring, long> told_about(HWND control) {
    Microsoft::WRL::ComPtr<IAccessible> object;
    VARIANT self{}, role{};
    self.vt = VT_I4;  // the number 0: CHILDID_SELF, the control itself
    BSTR name = nullptr;
    if (SUCCEEDED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                             IID_PPV_ARGS(&object)))) {
        object->get_accName(self, &name);
        object->get_accRole(self, &role);
    }
    const std::pair<std::wstring, long> told{name ? name : L"", role.lVal};
    SysFreeString(name);
    return told;
}

TEST(Window, KeyboardScreenReadersFieldPickerAndRefusal) {
    const std::wstring default_path(shell::kDefaultSourcePath);
    const WorkingFolder folder("@echo off\r\nrem PATHtoFOLDER\r\n");
    const Brelix brelix(folder.path(), L"/s --go backup.bat");  // arguments have no effect
    const auto field_shows = [&](const std::wstring& text) {
        return wait_until([&] { return brelix.field() == text; });
    };
    const auto open_picker = [&] {
        click(brelix.point_in(Control::Command2));
        const HWND tree = GetDlgItem(brelix.dialog(), 0x3741);
        wait_until([&] { return IsWindowVisible(tree) != FALSE; });
        return std::pair(GetParent(tree), tree);
    };

    POINT corner{};  // the client area's, at (5325, 4695) twips at 96 dpi
    ClientToScreen(brelix.window(), &corner);
    EXPECT_EQ(std::pair(corner.x, corner.y), std::pair(355L, 313L)) << "at 96 dots per inch";
    for (const Control name :
         {Control::GO1, Control::Command2, Control::TextBox1, Control::Picture1, Control::Picture2,
          Control::Picture3, Control::GO0}) {
        EXPECT_TRUE(focus_moves_to(brelix, name, {VK_TAB})) << "Tab to " << static_cast<int>(name);
    }
    // Keys are handled in order: once Tab has moved on from Go, the keys before it were too.
    keys({VK_SPACE, VK_RETURN, 'A'});
    ASSERT_TRUE(focus_moves_to(brelix, Control::GO1, {VK_TAB})) << "a key moved the focus from Go";
    EXPECT_TRUE(IsWindowVisible(brelix.control(Control::GO0))) << "a key on Go pressed it";
    ASSERT_TRUE(focus_moves_to(brelix, Control::Command2, {VK_TAB}));
    keys({VK_SPACE});
    ASSERT_TRUE(brelix.dialog()) << "Space on \"...\" opened no picker";
    keys({VK_ESCAPE});
    EXPECT_TRUE(wait_until([&] { return brelix.dialog(0ms) == nullptr; }));

    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    for (const auto& [name, said, role] :
         {std::tuple{Control::GO0, L"Go", ROLE_SYSTEM_PUSHBUTTON},
          {Control::Picture1, L"Donate", ROLE_SYSTEM_LINK},
          {Control::Picture2, L"Web site", ROLE_SYSTEM_LINK},
          {Control::Picture3, L"Mail", ROLE_SYSTEM_LINK},
          {Control::TextBox1, L"Avira Antivir Source Path", ROLE_SYSTEM_TEXT}}) {
        EXPECT_EQ(told_about(brelix.control(name)), std::pair(std::wstring(said), long{role}));
    }
    CoUninitialize();

    type_over_field(brelix, L"x");
    keys({VK_BACK});  // the default comes back, selected
    keys({}, L"D:\\AV");
    EXPECT_TRUE(field_shows(L"D:\\AV")) << "the default that came back was not selected";
    ASSERT_TRUE(focus_moves_to(brelix, Control::Command2, {VK_SHIFT, VK_TAB}));
    ASSERT_TRUE(focus_moves_to(brelix, Control::TextBox1, {VK_TAB}));
    keys({}, L"   ");
    EXPECT_TRUE(field_shows(L"   ")) << "Tab did not select the text, or blanks count as empty";

    // A cancel puts the default back, also over a typed path.
    type_over_field(brelix, L"D:\\Typed");
    auto [picker, tree] = open_picker();
    EXPECT_EQ(text_of(GetDlgItem(picker, 0x3742)), L"C:\\") << "its instruction";
    EXPECT_EQ(GetWindow(picker, GW_OWNER), brelix.window());
    EXPECT_EQ(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0), 0) << "a folder was chosen";
    move_pointer(center_of(picker));
    keys({VK_ESCAPE});
    EXPECT_TRUE(field_shows(default_path));

    // Only folders of the file system can be confirmed; the desktop, the tree's root, is one.
    std::tie(picker, tree) = open_picker();
    const HWND ok = GetDlgItem(picker, IDOK);
    const LRESULT root = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    bool refused_one = false;
    for (LRESULT item = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, root); item != 0;
         item = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, item)) {
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, item);
        refused_one = refused_one || !IsWindowEnabled(ok);
    }
    EXPECT_TRUE(refused_one) << "a folder outside the file system could be confirmed";
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, root);
    click(center_of(ok));
    wchar_t desktop[MAX_PATH]{};
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop);
    EXPECT_TRUE(field_shows(desktop)) << testing::PrintToString(brelix.field());

    type_over_field(brelix, L"C:\\a|b");
    click(brelix.point_in(Control::GO0));
    EXPECT_NE(read_and_dismiss(brelix.dialog()).find(L"\"|\" at position 5"), std::wstring::npos);
    EXPECT_EQ(folder.read(L"backup.bat"), "@echo off\r\nrem PATHtoFOLDER\r\n");
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"backup.bat"});

    // A new density: the suggested place, and its width (Wine keeps the caption's height).
    // Only under Wine, which hands the message's pointer over unchanged.
    if (test_support::under_wine()) {
        brelix.change_density(192, {20, 10, 99, 99});
        RECT frame{}, client{};
        GetWindowRect(brelix.window(), &frame);
        GetClientRect(brelix.window(), &client);
        EXPECT_EQ(std::tuple(frame.left, frame.top, client.right), std::tuple(20L, 10L, 518L));
    }
    const std::wstring odd = L"D:\\R&D Tools (x86)\\100% AV!\\" + std::wstring(280, L'x');
    type_over_field(brelix, odd);
    click(brelix.point_in(Control::GO0));
    EXPECT_EQ(brelix.exit_code(), 0u);
    EXPECT_EQ(folder.read(L"backup.bat"), "@echo off\r\nrem " + test_support::utf8(odd) + "\r\n");
}

TEST(Window, EachLinkPictureOpensItsOwnTargetShownNormallyAndTheCloseCommandEnds) {
    if (!test_support::under_wine()) {
        GTEST_SKIP() << "needs the recorder as the browser and the mail program (scripts/test)";
    }
    const WorkingFolder folder("@echo off\r\n");
    // The shell would open a folder named like the web site's host instead of the site.
    ASSERT_TRUE(CreateDirectoryW((folder.path() + L"\\www.example.org").c_str(), nullptr));
    SetEnvironmentVariableW(L"TORVANE_RECORD", (folder.path() + L"\\links.log").c_str());
    const Brelix brelix(folder.path());

    const std::string recorder =
        test_support::utf8(test_support::beside_this_program(L"recorder.exe"));
    std::string log;  // what the recorder should have written by now: shown normally (1)
    for (const auto& [picture, target] : {
             std::pair{Control::Picture1,
                       "https://pay.example.org/donate?cmd=_donations"
                       "&business=ilse%2Emarnow%40example%2Ecom&lc=DE&item_name=Ilse%20Marnow"
                       "&item_number=brelix&currency_code=EUR&bn=TV%2DDonate_Button%3ANonHosted"},
             {Control::Picture2, "http://www.example.org"},
             {Control::Picture3, "mailto:ilse.marnow@example.com"},
             {Control::Picture3, "mailto:ilse.marnow@example.com"},
         }) {
        click(brelix.point_in(picture));
        log += recorder + "|1|\"" + recorder + "\" \"" + target + "\"\n";
        EXPECT_TRUE(wait_until([&] { return folder.read(L"links.log") == log; }))
            << testing::PrintToString(folder.read(L"links.log"));
    }

    keys({VK_MENU, VK_F4});  // the close command, as the close box gives it
    EXPECT_EQ(brelix.exit_code(), 0u);
    EXPECT_EQ(folder.read(L"backup.bat"), "@echo off\r\n");
}

}  // namespace

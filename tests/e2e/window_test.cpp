// The window as a user works it: its place, keys, screen readers, the field, the picker, a
// refused path and a new density in one run; the link pictures and the close box in another.
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <oleacc.h>
#include <shlobj.h>
#include <wrl/client.h>

namespace {

using namespace e2e;

// A control's accessible object, asked for as a screen reader asks; kSelf is CHILDID_SELF (0).
Microsoft::WRL::ComPtr<IAccessible> accessible(HWND control) {
    [[maybe_unused]] static const HRESULT apartment =
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Microsoft::WRL::ComPtr<IAccessible> object;
    AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_PPV_ARGS(&object));
    return object;
}
const VARIANT kSelf = [] {
    VARIANT self{};
    self.vt = VT_I4;
    return self;
}();

// What a screen reader is told about a control: its name, role and default action.
std::tuple<std::wstring, long, std::wstring> told_about(HWND control) {
    BSTR name = nullptr, action = nullptr;
    VARIANT role{};
    if (const auto object = accessible(control)) {
        object->get_accName(kSelf, &name);
        object->get_accRole(kSelf, &role);
        object->get_accDefaultAction(kSelf, &action);
    }
    const std::tuple told(std::wstring(name ? name : L""), role.lVal,
                          std::wstring(action ? action : L""));
    SysFreeString(name);
    SysFreeString(action);
    return told;
}

TEST(Window, KeyboardScreenReadersFieldPickerAndRefusal) {
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
    // Go's pressed look, a stop beneath Go, is passed over while it cannot be seen.
    for (const Control name :
         {Control::Command2, Control::TextBox1, Control::Picture1, Control::Picture2,
          Control::Picture3, Control::GO0, Control::Command2}) {
        EXPECT_TRUE(focus_moves_to(brelix, name, {VK_TAB})) << "Tab to " << static_cast<int>(name);
    }
    keys({VK_SPACE});
    ASSERT_TRUE(brelix.dialog()) << "Space on \"...\" opened no picker";
    keys({VK_ESCAPE});
    EXPECT_TRUE(wait_until([&] { return brelix.dialog(0ms) == nullptr; }));

    for (const auto& [name, said, role, action] :
         {std::tuple{Control::GO0, L"Go", ROLE_SYSTEM_PUSHBUTTON, L"Press"},
          {Control::GO1, L"Go", ROLE_SYSTEM_PUSHBUTTON, L"Press"},
          {Control::Picture1, L"Donate", ROLE_SYSTEM_LINK, L"Jump"},
          {Control::Picture2, L"Web site", ROLE_SYSTEM_LINK, L"Jump"},
          {Control::Picture3, L"Mail", ROLE_SYSTEM_LINK, L"Jump"},
          {Control::TextBox1, L"Avira Antivir Source Path", ROLE_SYSTEM_TEXT, L""}}) {
        EXPECT_EQ(told_about(brelix.control(name)), std::tuple(said, long{role}, action));
    }
    EXPECT_EQ(std::get<0>(told_about(brelix.control(Control::Command2))), L"Browse");

    type_over_field(brelix, L"x");
    keys({VK_BACK});
    EXPECT_TRUE(field_shows(std::wstring(shell::kDefaultSourcePath))) << "left empty";
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
    EXPECT_TRUE(field_shows(std::wstring(shell::kDefaultSourcePath)));

    // Only folders of the file system can be confirmed; the one picked reaches the field as
    // the shell names it, letters the code page lacks included, and Go refuses those.
    wchar_t desktop[MAX_PATH]{};
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop);
    const TempFolder on_desktop(desktop);  // a child of the tree's root, the desktop
    const std::wstring picked = on_desktop.path() + L"\\\u0141\u00f3d\u017a";  // Łódź
    CreateDirectoryW(picked.c_str(), nullptr);
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
    for (const wchar_t letter : on_desktop.path().substr(std::wcslen(desktop) + 1)) {
        SendMessageW(tree, WM_CHAR, letter, 1);  // found by its name, as the user types it
    }
    SendMessageW(tree, WM_KEYDOWN, VK_RIGHT, 0);  // opened
    SendMessageW(tree, WM_KEYDOWN, VK_RIGHT, 0);  // and its one folder chosen
    click(center_of(ok));
    ASSERT_TRUE(field_shows(picked)) << testing::PrintToString(brelix.field());
    click(brelix.point_in(Control::GO0));
    const std::wstring refusal = read_and_dismiss(brelix.dialog());
    const auto position = std::to_wstring(picked.rfind(L'\\') + 2);
    EXPECT_NE(refusal.find(L"\"\u0141\" at position " + position), std::wstring::npos) << refusal;
    EXPECT_EQ(folder.read(L"backup.bat"), "@echo off\r\nrem PATHtoFOLDER\r\n");

    // A new density's place and width, under Wine only: it passes the pointer unchanged.
    if (under_wine()) {
        brelix.change_density(192, {20, 10, 99, 99});
        RECT frame{}, client{};
        GetWindowRect(brelix.window(), &frame);
        GetClientRect(brelix.window(), &client);
        EXPECT_EQ(std::tuple(frame.left, frame.top, client.right), std::tuple(20L, 10L, 518L));
    }
    // A screen reader's press on Go's pressed look is Go's; a quote is named so that it reads.
    type_over_field(brelix, L"C:\\a\"b");
    EXPECT_EQ(accessible(brelix.control(Control::GO1))->accDoDefaultAction(kSelf), S_OK);
    EXPECT_NE(read_and_dismiss(brelix.dialog()).find(L"a double quote (\") at position 5"),
              std::wstring::npos);
    const std::wstring odd = L"D:\\R&D Tools (x86)\\100% AV!\\" + std::wstring(280, L'x');
    type_over_field(brelix, odd);
    ASSERT_TRUE(focus_moves_to(brelix, Control::Command2, {VK_SHIFT, VK_TAB}));
    ASSERT_TRUE(focus_moves_to(brelix, Control::GO0, {VK_SHIFT, VK_TAB}));
    // Space held on Go shows it pressed, the focus on the pressed look in its place; as on a
    // push button, the focus moved on calls the press off.
    key(VK_SPACE);
    EXPECT_TRUE(focus_moves_to(brelix, Control::GO1, {})) << "Go not pressed, or its focus lost";
    ASSERT_TRUE(focus_moves_to(brelix, Control::Command2, {VK_TAB}));
    key(VK_SPACE, KEYEVENTF_KEYUP);
    ASSERT_TRUE(focus_moves_to(brelix, Control::GO0, {VK_SHIFT, VK_TAB})) << "Go stays pressed";
    keys({VK_SPACE});
    EXPECT_EQ(brelix.exit_code(), 0u);
    EXPECT_EQ(folder.read(L"backup.bat"), "@echo off\r\nrem " + utf8(odd) + "\r\n");
}

TEST(Window, EachLinkPictureOpensItsOwnTargetShownNormallyAndTheCloseCommandEnds) {
    if (!under_wine()) {
        GTEST_SKIP() << "needs the recorder as the browser and the mail program (scripts/test)";
    }
    const WorkingFolder folder("@echo off\r\n");
    // The shell would open a folder named like the web site's host instead of the site.
    ASSERT_TRUE(CreateDirectoryW((folder.path() + L"\\www.example.org").c_str(), nullptr));
    SetEnvironmentVariableW(L"TORVANE_RECORD", (folder.path() + L"\\links.log").c_str());
    const Brelix brelix(folder.path());

    // A press released elsewhere, and the right and middle buttons' clicks, open nothing.
    for (const auto& [button, release_on] : {std::pair{MOUSEEVENTF_LEFTDOWN, Control::Picture2},
                                             {MOUSEEVENTF_RIGHTDOWN, Control::Picture1},
                                             {MOUSEEVENTF_MIDDLEDOWN, Control::Picture1}}) {
        move_pointer(brelix.point_in(Control::Picture1));
        mouse(button);
        move_pointer(brelix.point_in(release_on));
        mouse(button * 2);
    }
    const std::string recorder = utf8(beside_this_program(L"recorder.exe"));
    std::string log;  // what the recorder should have written by now: shown normally (1)
    const auto opens = [&](const std::string& target) {
        log += recorder + "|1|\"" + recorder + "\" \"" + target + "\"\n";
        EXPECT_TRUE(wait_until([&] { return folder.read(L"links.log") == log; }))
            << testing::PrintToString(folder.read(L"links.log"));
    };
    click(brelix.point_in(Control::Picture1));
    opens(
        "https://pay.example.org/donate?cmd=_donations&business=ilse%2Emarnow%40example%2Ecom"
        "&lc=DE&item_name=Ilse%20Marnow&item_number=brelix&currency_code=EUR"
        "&bn=TV%2DDonate_Button%3ANonHosted");
    // Space and Enter act on the link with the focus, Enter once however long it is held.
    ASSERT_TRUE(focus_moves_to(brelix, Control::Picture2, {VK_TAB}));
    keys({VK_SPACE});
    opens("http://www.example.org");
    ASSERT_TRUE(focus_moves_to(brelix, Control::Picture3, {VK_TAB}));
    keys({VK_RETURN, VK_RETURN});
    opens("mailto:ilse.marnow@example.com");

    // A link that no program opens: nothing is said, and the program goes on as it was.
    const wchar_t mail_handler[] = L"Software\\Classes\\mailto\\shell\\open\\command";
    wchar_t handler[MAX_PATH]{};
    DWORD size = sizeof(handler);
    RegGetValueW(HKEY_LOCAL_MACHINE, mail_handler, nullptr, RRF_RT_REG_SZ, nullptr, handler, &size);
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, mail_handler, nullptr);
    click(brelix.point_in(Control::Picture3));
    keys({VK_MENU, VK_F4});  // the close command, as the close box gives it
    EXPECT_EQ(brelix.exit_code(), 0u);
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, mail_handler, nullptr, REG_SZ, handler, size);
    EXPECT_EQ(folder.read(L"links.log"), log);
}

}  // namespace

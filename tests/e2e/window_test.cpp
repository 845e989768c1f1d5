// The window as a user works it: its place, keys, screen readers, the field and a new density
// in one run; the link pictures and the close box in another.
#include "links/link_targets.hpp"
#include "platform/system_function.hpp"
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>
#include <oleacc.h>
#include <wrl/client.h>

namespace {

using namespace e2e;

// A control's accessible object, asked for as a screen reader asks.
Microsoft::WRL::ComPtr<IAccessible> accessible(HWND control) {
    Microsoft::WRL::ComPtr<IAccessible> object;
    AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_PPV_ARGS(&object));
    return object;
}
const VARIANT kSelf{{{VT_I4, 0, 0, 0, {CHILDID_SELF}}}};  // the object itself, not a child

// What a screen reader is told about a control: its name, role and default action.
std::tuple<std::wstring, long, std::wstring> told_about(HWND control) {
    BSTR name = nullptr, action = nullptr;
    VARIANT role{};
    const auto object = accessible(control);
    object->get_accName(kSelf, &name);
    object->get_accRole(kSelf, &role);
    object->get_accDefaultAction(kSelf, &action);
    const std::tuple told(std::wstring(name ? name : L""), role.lVal,
                          std::wstring(action ? action : L""));
    SysFreeString(name);
    SysFreeString(action);
    return told;
}

TEST(Window, KeyboardScreenReadersAndField) {
    const WorkingFolder folder("@echo off\r\nrem PATHtoFOLDER\r\n");
    const Brelix brelix(folder.path(), L"/s --go backup.bat");  // arguments have no effect
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);          // for the screen reader's calls

    // The client area's corner at (5325, 4695) twips at the window's density, read as
    // tests/README.md says (a desktop scaled above 100 %).
    platform::SystemFunction<HANDLE(WINAPI*)(HANDLE)> awareness(L"user32.dll",
                                                                "SetThreadDpiAwarenessContext");
    platform::SystemFunction<UINT(WINAPI*)(HWND)> window_dots(L"user32.dll", "GetDpiForWindow");
    const bool per_display = awareness.optional() && window_dots.optional();
    const HANDLE unaware = per_display ? awareness(reinterpret_cast<HANDLE>(-3))  // per monitor
                                       : (SetProcessDPIAware(), nullptr);
    const HDC screen = GetDC(nullptr);
    const int dots = per_display ? static_cast<int>(window_dots(brelix.window()))
                                 : GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    POINT corner{};
    ClientToScreen(brelix.window(), &corner);
    if (per_display) {
        awareness(unaware);
    }
    const POINT place{MulDiv(5325, dots, 1440), MulDiv(4695, dots, 1440)};
    EXPECT_EQ(std::pair(corner.x, corner.y), std::pair(place.x, place.y)) << dots << " dpi";
    // Go's pressed look, a stop beneath Go, is passed over while it cannot be seen.
    for (const Control name :
         {Control::Command2, Control::TextBox1, Control::Picture1, Control::Picture2,
          Control::Picture3, Control::GO0, Control::Command2}) {
        EXPECT_TRUE(focus_moves_to(brelix, name, {VK_TAB})) << "Tab to " << static_cast<int>(name);
    }

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
    EXPECT_TRUE(brelix.field_shows(std::wstring(shell::kDefaultSourcePath))) << "left empty";
    keys({}, L"D:\\AV");
    EXPECT_TRUE(brelix.field_shows(L"D:\\AV")) << "the default that came back was not selected";
    ASSERT_TRUE(focus_moves_to(brelix, Control::Command2, {VK_SHIFT, VK_TAB}));
    ASSERT_TRUE(focus_moves_to(brelix, Control::TextBox1, {VK_TAB}));
    keys({}, L"   ");
    EXPECT_TRUE(brelix.field_shows(L"   "))
        << "Tab did not select the text, or blanks count as empty";

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

// Started as from a download folder, beside libraries planted as shell32's imports, through
// the picker, the links and Go (see tests/README.md on the library search).
TEST(Window, LinksOpenTheirOwnTargetsShownNormallyTheCloseCommandEndsAndNoPlantedLibraryLoads) {
    if (!under_wine()) {
        GTEST_SKIP() << "needs the recorder as the browser and mail program, and prefers the "
                        "planted libraries to Wine's in its own prefix (scripts/test)";
    }
    const WorkingFolder folder("@echo off\r\n");
    // The shell would open a folder named like the web site's host instead of the site.
    const std::wstring host(links::kWebSiteHost);  // the targets as the build configured them
    ASSERT_TRUE(CreateDirectoryW((folder.path() + L"\\" + host).c_str(), nullptr));
    const std::wstring program = folder.path() + L"\\Brelix.exe";
    ASSERT_TRUE(CopyFileW(beside_this_program(L"Brelix.exe").c_str(), program.c_str(), FALSE));
    for (const wchar_t* name : {L"\\shlwapi.dll", L"\\shcore.dll"}) {
        ASSERT_TRUE(CopyFileW(beside_this_program(L"planted_library.dll").c_str(),
                              (folder.path() + name).c_str(), FALSE));
    }
    const NativeOverWine native_shlwapi(L"shlwapi"), native_shcore(L"shcore");
    SetEnvironmentVariableW(L"TORVANE_PLANTED", (folder.path() + L"\\planted.log").c_str());
    SetEnvironmentVariableW(L"TORVANE_RECORD", (folder.path() + L"\\links.log").c_str());
    const Brelix brelix(folder.path(), L"", program);
    click(brelix.point_in(Control::Command2));  // the folder picker, cancelled
    const HWND picker = brelix.dialog();
    move_pointer(center_of(picker));
    keys({VK_ESCAPE});
    ASSERT_TRUE(wait_until([&] { return !IsWindow(picker); }));

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
    opens(utf8(links::kDonationPage));
    // Space and Enter act on the link with the focus, Enter once however long it is held.
    ASSERT_TRUE(focus_moves_to(brelix, Control::Picture2, {VK_TAB}));
    keys({VK_SPACE});
    opens("http://" + utf8(host));
    ASSERT_TRUE(focus_moves_to(brelix, Control::Picture3, {VK_TAB}));
    keys({VK_RETURN, VK_RETURN});
    opens("mailto:" + utf8(links::kMailAddress));

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
    const Brelix again(folder.path(), L"", program);
    click(again.point_in(Control::GO0));
    EXPECT_EQ(again.exit_code(), 0u);
    EXPECT_EQ(folder.read(L"planted.log"), std::nullopt);
}

}  // namespace

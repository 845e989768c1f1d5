// The keyboard, screen readers and the close box, walked in one run: where the focus
// starts and how Tab moves it, pictures that ignore keys, the names the controls expose.
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>
#include <oleacc.h>
#include <wrl/client.h>

namespace {

using namespace e2e;

const std::string kTemplate = "@echo off\r\n";

// What a screen reader is told of a control, asked the way one asks.
std::pair<std::wstring, long> told_about(HWND control) {
    Microsoft::WRL::ComPtr<IAccessible> object;
    AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_PPV_ARGS(&object));
    if (!object) {
        return {L"(no accessible object)", 0};
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    VARIANT role{};
    object->get_accName(self, &name);
    object->get_accRole(self, &role);
    std::pair<std::wstring, long> told{name ? name : L"", role.vt == VT_I4 ? role.lVal : 0};
    SysFreeString(name);
    return told;
}

POINT close_box_of(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    for (int x = frame.right - 1; x > frame.right - 40; --x) {
        if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, frame.top + 8)) == HTCLOSE) {
            return {x - 3, frame.top + 8};
        }
    }
    return {-1, -1};
}

TEST(Keyboard, TabFollowsTheDesignPicturesIgnoreKeysAndTheCloseBoxEnds) {
    const WorkingFolder folder(kTemplate);
    // Command-line arguments have no effect.
    const Brelix brelix(folder.path(), L"/s --go backup.bat");
    ASSERT_TRUE(brelix.window());
    const auto control = [&](Control name) { return brelix.control(name); };
    const auto tab_to = [&](Control name, std::initializer_list<WORD> tab) {
        keys(tab);
        return wait_until([&] { return brelix.focus() == control(name); }, 2s);
    };

    EXPECT_EQ(brelix.focus(), control(Control::GO0));
    for (const Control name :
         {Control::GO1, Control::Command2, Control::TextBox1, Control::Picture1, Control::Picture2,
          Control::Picture3, Control::GO0}) {
        EXPECT_TRUE(tab_to(name, {VK_TAB})) << "Tab to control " << static_cast<int>(name);
    }
    for (const Control name : {Control::Picture3, Control::Picture2, Control::Picture1,
                               Control::TextBox1, Control::Command2, Control::GO1, Control::GO0}) {
        EXPECT_TRUE(tab_to(name, {VK_SHIFT, VK_TAB})) << "Shift+Tab to " << static_cast<int>(name);
    }

    // Keys are handled in order: once Tab has moved on from Go, the keys before it were too.
    for (const WORD key : {WORD{VK_SPACE}, WORD{VK_RETURN}, WORD{VK_DOWN}, WORD{'A'}}) {
        keys({key});
    }
    ASSERT_TRUE(tab_to(Control::GO1, {VK_TAB})) << "a key moved the focus from Go";
    EXPECT_TRUE(IsWindowVisible(control(Control::GO0)));
    EXPECT_FALSE(brelix.ended(0ms)) << "a key on Go ran the job";

    ASSERT_TRUE(tab_to(Control::Command2, {VK_TAB}));
    keys({VK_SPACE});
    const HWND picker = brelix.dialog();
    ASSERT_TRUE(picker) << "Space on \"...\" opened no picker";
    keys({VK_ESCAPE});
    EXPECT_TRUE(wait_until([&] { return !IsWindow(picker); }));

    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    for (const auto& [name, said, role] :
         {std::tuple{Control::GO0, L"Go", ROLE_SYSTEM_PUSHBUTTON},
          {Control::Picture1, L"Donate", ROLE_SYSTEM_LINK},
          {Control::Picture2, L"Web site", ROLE_SYSTEM_LINK},
          {Control::Picture3, L"Mail", ROLE_SYSTEM_LINK},
          {Control::TextBox1, L"Avira Antivir Source Path", ROLE_SYSTEM_TEXT}}) {
        EXPECT_EQ(told_about(control(name)), std::pair(std::wstring(said), long{role}));
    }
    CoUninitialize();

    const POINT close_box = close_box_of(brelix.window());
    ASSERT_GE(close_box.x, 0) << "no close box on the title bar";
    click(close_box);
    ASSERT_TRUE(brelix.ended());
    EXPECT_EQ(brelix.exit_code(), 0u);
    EXPECT_EQ(folder.read(L"backup.bat"), kTemplate);
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"backup.bat"});
}

}  // namespace

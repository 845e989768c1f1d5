// The keyboard, screen readers and the close box, walked in one run: where the focus
// starts and how Tab moves it, pictures that ignore keys, the names the controls expose.
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>
#include <oleacc.h>
#include <wrl/client.h>

namespace {

using namespace e2e;

// The name and role a screen reader is told for a control, asked the way one asks.
std::pair<std::wstring, long> told_about(HWND control) {
    Microsoft::WRL::ComPtr<IAccessible> object;
    AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_PPV_ARGS(&object));
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    VARIANT role{};
    if (object) {
        object->get_accName(self, &name);
        object->get_accRole(self, &role);
    }
    std::pair<std::wstring, long> told{name ? name : L"", role.vt == VT_I4 ? role.lVal : 0};
    SysFreeString(name);
    return told;
}

TEST(Keyboard, TabFollowsTheDesignPicturesIgnoreKeysAndTheCloseBoxEnds) {
    const WorkingFolder folder("@echo off\r\n");
    const Brelix brelix(folder.path(), L"/s --go backup.bat");  // arguments have no effect
    const auto tab_to = [&](Control name, std::initializer_list<WORD> tab) {
        keys(tab);
        return wait_until([&] { return brelix.state().hwndFocus == brelix.control(name); }, 2s);
    };

    EXPECT_EQ(brelix.state().hwndFocus, brelix.control(Control::GO0));
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
    keys({VK_SPACE});
    keys({VK_RETURN});
    keys({'A'});
    ASSERT_TRUE(tab_to(Control::GO1, {VK_TAB})) << "a key moved the focus from Go";
    EXPECT_TRUE(IsWindowVisible(brelix.control(Control::GO0)));
    EXPECT_FALSE(brelix.exit_code(0ms)) << "a key on Go ran the job";

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
        EXPECT_EQ(told_about(brelix.control(name)), std::pair(std::wstring(said), long{role}));
    }
    CoUninitialize();

    // The close box, found where the title bar says it is.
    RECT frame{};
    GetWindowRect(brelix.window(), &frame);
    POINT close_box{frame.right - 1, frame.top + 8};
    while (close_box.x > frame.right - 40 &&
           SendMessageW(brelix.window(), WM_NCHITTEST, 0, MAKELPARAM(close_box.x, close_box.y)) !=
               HTCLOSE) {
        --close_box.x;
    }
    click({close_box.x - 3, close_box.y});
    EXPECT_EQ(brelix.exit_code(), 0u);
    EXPECT_EQ(folder.read(L"backup.bat"), "@echo off\r\n");
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"backup.bat"});
}

}  // namespace

// The keyboard and screen readers: where the focus starts and how Tab moves it, picture
// boxes that ignore keys and show no focus mark, and the names the controls expose.
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>
#include <oleacc.h>
#include <wrl/client.h>

#include <vector>

namespace {

using namespace e2e;
using shell::Control;

class Keyboard : public testing::Test {
  protected:
    void SetUp() override {
        folder_.write(L"backup.bat", "@echo off\r\n");
        ASSERT_TRUE(brelix_.window());
    }

    [[nodiscard]] HWND control(Control name) const { return brelix_.control(name); }
    [[nodiscard]] HWND focus() const { return focus_in(brelix_.window()); }

    // Presses Tab (Shift+Tab backwards); false if the focus did not move.
    [[nodiscard]] bool tab(bool backwards = false) const {
        const HWND before = focus();
        if (backwards) {
            press_key_with(VK_SHIFT, VK_TAB);
        } else {
            press_key(VK_TAB);
        }
        return wait_until([&] { return focus() != before; }, 2s);
    }

    // Where the focus goes on each of several presses of Tab.
    [[nodiscard]] std::vector<HWND> focus_after_each_tab(std::size_t presses,
                                                         bool backwards = false) const {
        std::vector<HWND> visited;
        for (std::size_t press = 0; press < presses; ++press) {
            static_cast<void>(tab(backwards));
            visited.push_back(focus());
        }
        return visited;
    }

    // Presses Tab until the control has the focus; false if the focus stops moving first.
    [[nodiscard]] bool tab_to(Control name) const {
        for (int presses = 0; focus() != control(name); ++presses) {
            if (presses > 8 || !tab()) {
                return false;
            }
        }
        return true;
    }

    [[nodiscard]] std::vector<HWND> controls(std::initializer_list<Control> names) const {
        std::vector<HWND> windows;
        for (const Control name : names) {
            windows.push_back(control(name));
        }
        return windows;
    }

    TempFolder folder_;
    Brelix brelix_{folder_};
};

TEST_F(Keyboard, FocusStartsOnGoAndTabCyclesInTheDesignedOrder) {
    EXPECT_EQ(focus(), control(Control::GO0));
    EXPECT_EQ(focus_after_each_tab(7),
              controls({Control::GO1, Control::Command2, Control::TextBox1, Control::Picture1,
                        Control::Picture2, Control::Picture3, Control::GO0}));
    EXPECT_EQ(focus_after_each_tab(7, true),
              controls({Control::Picture3, Control::Picture2, Control::Picture1, Control::TextBox1,
                        Control::Command2, Control::GO1, Control::GO0}));
}

TEST_F(Keyboard, TabFromTheFieldSkipsTheLabel) {
    click(center_of(control(Control::TextBox1)));
    ASSERT_TRUE(wait_until([&] { return focus() == control(Control::TextBox1); }));
    EXPECT_EQ(focus_after_each_tab(7),
              controls({Control::Picture1, Control::Picture2, Control::Picture3, Control::GO0,
                        Control::GO1, Control::Command2, Control::TextBox1}));
}

TEST_F(Keyboard, FocusedPictureBoxesIgnoreKeysAndShowNoFocusMark) {
    ASSERT_TRUE(brelix_.wait_until_painted());
    const RECT client = client_on_screen(brelix_.window());
    const Screenshot go_focused = settled_screenshot(client);
    for (const int key : {VK_SPACE, VK_RETURN, VK_DOWN, int{'A'}}) {
        press_key(static_cast<WORD>(key));
    }
    // Keys are handled in order: once Tab has moved on, the keys before it have been too.
    press_key(VK_TAB);
    EXPECT_TRUE(wait_until([&] { return focus() == control(Control::GO1); }))
        << "a key moved the focus from Go";
    EXPECT_TRUE(IsWindowVisible(control(Control::GO0)));
    EXPECT_FALSE(brelix_.wait_for_exit(0ms)) << "a key on Go ran the job";
    EXPECT_EQ(folder_.read(L"backup.bat"), "@echo off\r\n");

    // Go's own mark would show against the look with the focus on the box beneath it; the
    // others' against the look with the focus on Go.
    EXPECT_TRUE(settled_screenshot(client) == go_focused) << "a mark on Go";
    for (const Control box : {Control::Picture1, Control::Picture2, Control::Picture3}) {
        ASSERT_TRUE(tab_to(box));
        EXPECT_TRUE(settled_screenshot(client) == go_focused)
            << "a mark on control " << static_cast<int>(box);
    }
}

TEST_F(Keyboard, SpaceOnTheFocusedBrowseButtonOpensThePicker) {
    ASSERT_TRUE(tab_to(Control::Command2));
    press_key(VK_SPACE);
    const HWND picker = brelix_.wait_for_message_box();
    ASSERT_TRUE(picker) << "no folder picker";
    EXPECT_EQ(GetWindow(picker, GW_OWNER), brelix_.window());
    press_key(VK_ESCAPE);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(picker); }));
}

// What a screen reader is told, asked the way one asks: through the accessible object of
// each control's client area.
class ScreenReader : public Keyboard {
  protected:
    void SetUp() override {
        Keyboard::SetUp();
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override { CoUninitialize(); }

    struct Told {
        std::wstring name;
        long role = 0;
    };

    [[nodiscard]] Microsoft::WRL::ComPtr<IAccessible> accessible_object(Control name) const {
        Microsoft::WRL::ComPtr<IAccessible> object;
        AccessibleObjectFromWindow(control(name), static_cast<DWORD>(OBJID_CLIENT),
                                   IID_PPV_ARGS(&object));
        return object;
    }

    [[nodiscard]] Told told_about(Control name) const {
        const auto object = accessible_object(name);
        if (!object) {
            return {L"(no accessible object)", 0};
        }
        Told told;
        BSTR name_text = nullptr;
        if (object->get_accName(kSelf, &name_text) == S_OK && name_text) {
            told.name = name_text;
        }
        SysFreeString(name_text);
        VARIANT role{};
        if (SUCCEEDED(object->get_accRole(kSelf, &role)) && role.vt == VT_I4) {
            told.role = role.lVal;
        }
        return told;
    }

    static inline const VARIANT kSelf = [] {
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        return self;
    }();
};

TEST_F(ScreenReader, PicturesThatActAreNamedAndTheFieldByItsLabel) {
    const struct {
        Control control;
        const wchar_t* name;
        long role;
    } expected[] = {
        {Control::GO0, L"Go", ROLE_SYSTEM_PUSHBUTTON},
        {Control::Picture1, L"Donate", ROLE_SYSTEM_LINK},
        {Control::Picture2, L"Web site", ROLE_SYSTEM_LINK},
        {Control::Picture3, L"Mail", ROLE_SYSTEM_LINK},
        {Control::TextBox1, L"Avira Antivir Source Path", ROLE_SYSTEM_TEXT},
    };
    for (const auto& [name, text, role] : expected) {
        const Told told = told_about(name);
        EXPECT_EQ(told.name, text);
        EXPECT_EQ(told.role, role) << narrow(text);
    }
}

TEST_F(ScreenReader, TheFieldStillTellsItsTextAsItsValue) {
    const auto object = accessible_object(Control::TextBox1);
    ASSERT_TRUE(object);
    BSTR value = nullptr;
    EXPECT_EQ(object->get_accValue(kSelf, &value), S_OK);
    EXPECT_EQ(std::wstring(value ? value : L""), L"C:\\Program Files\\Avira\\Antivir Desktop");
    SysFreeString(value);
}

}  // namespace

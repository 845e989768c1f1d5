// The source-path field never stays empty, the folder picker fills it, and a path that
// would change the script's meaning is refused at Go.
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlobj.h>

namespace {

using namespace e2e;
using shell::Control;

const std::wstring kDefaultFieldText = L"C:\\Program Files\\Avira\\Antivir Desktop";
const std::string kTemplate = "@echo off\r\nrem PATHtoFOLDER\r\n";

constexpr int kPickerTree = 0x3741;
constexpr int kPickerInstruction = 0x3742;

class SourcePath : public testing::Test {
  protected:
    void SetUp() override {
        folder_.write(L"backup.bat", kTemplate);
        ASSERT_TRUE(brelix_.window());
    }

    HWND control(Control name) const { return brelix_.control(name); }
    std::wstring field_text() const { return text_of(control(Control::TextBox1)); }

    void select_whole_field() const { select_whole_text(control(Control::TextBox1)); }

    // Whether the field shows the text, once typed keys have been handled.
    bool field_shows(const std::wstring& text) const {
        return wait_until([&] { return field_text() == text; });
    }

    // Types the text over the field's whole text and waits until the field shows it.
    void type_over_field(const std::wstring& text) const {
        select_whole_field();
        type_text(text);
        ASSERT_TRUE(field_shows(text)) << narrow(field_text());
    }

    // The folder picker after a click on "...", once its tree shows.
    HWND open_picker() const {
        click(center_of(control(Control::Command2)));
        const HWND picker = brelix_.wait_for_message_box();
        if (picker) {
            wait_until([&] { return IsWindowVisible(GetDlgItem(picker, kPickerTree)) != FALSE; });
        }
        return picker;
    }

    TempFolder folder_;
    Brelix brelix_{folder_};
};

TEST_F(SourcePath, SelectingAllAndDeletingBringsBackTheDefault) {
    select_whole_field();
    press_key(VK_DELETE);
    EXPECT_TRUE(field_shows(kDefaultFieldText)) << narrow(field_text());
}

TEST_F(SourcePath, TypingOverTheSelectionLeavesJustThatCharacter) {
    select_whole_field();
    type_text(L"x");
    EXPECT_TRUE(field_shows(L"x")) << narrow(field_text());
}

TEST_F(SourcePath, BackspaceOnTheLastCharacterBringsBackTheDefault) {
    type_over_field(L"x");
    press_key(VK_BACK);
    EXPECT_TRUE(field_shows(kDefaultFieldText)) << narrow(field_text());
}

TEST_F(SourcePath, BlanksAreNotEmpty) {
    select_whole_field();
    type_text(L"   ");
    EXPECT_TRUE(field_shows(L"   ")) << narrow(field_text());
}

TEST_F(SourcePath, PickerOpensAtTheDesktopWithItsInstructionAndNothingChosen) {
    const HWND picker = open_picker();
    ASSERT_TRUE(picker) << "the folder picker did not open";
    EXPECT_EQ(text_of(GetDlgItem(picker, kPickerInstruction)), L"C:\\");
    EXPECT_EQ(GetWindow(picker, GW_OWNER), brelix_.window());
    const HWND tree = GetDlgItem(picker, kPickerTree);
    EXPECT_EQ(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0), 0) << "a folder was preselected";
    press_key(VK_ESCAPE);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(picker); }));
}

TEST_F(SourcePath, EscapeInThePickerBringsBackTheDefaultOverATypedPath) {
    type_over_field(L"D:\\Typed");
    const HWND picker = open_picker();
    ASSERT_TRUE(picker);
    move_pointer(center_of(picker));
    press_key(VK_ESCAPE);
    EXPECT_TRUE(wait_until([&] { return field_text() == kDefaultFieldText; }));
}

TEST_F(SourcePath, CancelInThePickerBringsBackTheDefault) {
    type_over_field(L"D:\\Typed");
    const HWND picker = open_picker();
    ASSERT_TRUE(picker);
    click(center_of(GetDlgItem(picker, IDCANCEL)));
    EXPECT_TRUE(wait_until([&] { return field_text() == kDefaultFieldText; }));
}

TEST_F(SourcePath, ConfirmedFolderGoesIntoTheFieldAndThenIntoTheScript) {
    wchar_t desktop[MAX_PATH]{};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop), S_OK);
    const HWND picker = open_picker();
    ASSERT_TRUE(picker);
    const HWND tree = GetDlgItem(picker, kPickerTree);
    // The tree's root is the desktop, a file-system folder.
    const LPARAM root = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    ASSERT_NE(root, 0);
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, root);
    click(center_of(GetDlgItem(picker, IDOK)));

    ASSERT_TRUE(wait_until([&] { return field_text() == desktop; })) << narrow(field_text());
    brelix_.click_go();
    ASSERT_TRUE(brelix_.wait_for_exit());
    EXPECT_EQ(folder_.read(L"backup.bat"), "@echo off\r\nrem " + narrow(desktop) + "\r\n");
}

TEST_F(SourcePath, PathWithAPipeIsRefusedAtGoAndNothingChanges) {
    type_over_field(L"C:\\a|b");
    brelix_.click_go();
    const HWND refusal = brelix_.wait_for_message_box();
    ASSERT_TRUE(refusal);
    const std::string message = narrow(message_of(refusal));
    EXPECT_NE(message.find("\"|\" at position 5"), std::string::npos) << message;
    EXPECT_NE(message.find("Nothing was changed"), std::string::npos) << message;
    move_pointer(center_of(refusal));
    press_key(VK_RETURN);

    EXPECT_TRUE(wait_until([&] { return !IsWindow(refusal); }));
    EXPECT_FALSE(brelix_.wait_for_exit(1s)) << "the program must stay open";
    EXPECT_EQ(field_text(), L"C:\\a|b");
    EXPECT_TRUE(IsWindowVisible(control(Control::GO0)));
    EXPECT_EQ(folder_.read(L"backup.bat"), kTemplate);
    EXPECT_EQ(folder_.names(), std::vector<std::wstring>{L"backup.bat"});
}

TEST_F(SourcePath, PastedTextStopsAtTheLineBreak) {
    put_on_clipboard(L"C:\\a\r\ndel /q C:\\*");
    select_whole_field();
    press_key_with(VK_CONTROL, 'V');
    EXPECT_TRUE(wait_until([&] { return field_text() == L"C:\\a"; })) << narrow(field_text());
}

TEST_F(SourcePath, LineBreakSetByAnotherProgramIsRefusedAtGo) {
    // A single-line field takes a line break only from a program that sets its text.
    const std::wstring two_commands = L"C:\\a\r\ndel /q C:\\*";
    SendMessageW(control(Control::TextBox1), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(two_commands.c_str()));
    ASSERT_EQ(field_text(), two_commands);
    brelix_.click_go();
    const HWND refusal = brelix_.wait_for_message_box();
    ASSERT_TRUE(refusal);
    EXPECT_NE(narrow(message_of(refusal)).find("line break at position 5"), std::string::npos);
    EXPECT_EQ(folder_.read(L"backup.bat"), kTemplate);
}

TEST_F(SourcePath, PathWithAmpersandAndBlanksIsWrittenAsTyped) {
    type_over_field(L"D:\\R&D Tools (x86)\\100% AV!");
    brelix_.click_go();
    ASSERT_TRUE(brelix_.wait_for_exit());
    EXPECT_EQ(brelix_.exit_code(), 0u);
    EXPECT_EQ(folder_.read(L"backup.bat"), "@echo off\r\nrem D:\\R&D Tools (x86)\\100% AV!\r\n");
}

}  // namespace

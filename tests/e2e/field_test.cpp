// The source-path field never stays empty, the folder picker fills it, and a path that
// would change the script's meaning is refused at Go.
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlobj.h>

namespace {

using namespace e2e;

const std::wstring kDefault(shell::kDefaultSourcePath);
const std::string kTemplate = "@echo off\r\nrem PATHtoFOLDER\r\n";

class Field : public testing::Test {
  protected:
    bool field_shows(const std::wstring& text) const {
        return wait_until([&] { return brelix_.field() == text; });
    }

    // The folder picker and its tree after a click on "...", once the tree shows.
    std::pair<HWND, HWND> open_picker() const {
        click(brelix_.point_in(Control::Command2));
        const HWND picker = brelix_.dialog();
        const HWND tree = GetDlgItem(picker, 0x3741);
        wait_until([&] { return IsWindowVisible(tree) != FALSE; });
        return {picker, tree};
    }

    std::wstring message_after_go() const {
        click(brelix_.point_in(Control::GO0));
        const HWND box = brelix_.dialog();
        return box ? read_and_dismiss(box) : L"(no message)";
    }

    const WorkingFolder folder_{kTemplate};
    const Brelix brelix_{folder_.path()};
};

TEST_F(Field, FallsBackToTheDefaultWhenEmptiedAndTakesThePickedFolder) {
    type_over_field(brelix_, L"x");
    EXPECT_EQ(brelix_.field(), L"x") << "typing over the whole text emptied it first";
    keys({VK_BACK});
    EXPECT_TRUE(field_shows(kDefault));
    type_over_field(brelix_, L"   ");
    EXPECT_EQ(brelix_.field(), L"   ") << "blanks are not empty";
    keys({VK_SHIFT, VK_HOME});
    keys({VK_DELETE});
    EXPECT_TRUE(field_shows(kDefault));

    // A cancel puts the default back, also over a typed path.
    type_over_field(brelix_, L"D:\\Typed");
    auto [picker, tree] = open_picker();
    ASSERT_TRUE(picker);
    EXPECT_EQ(text_of(GetDlgItem(picker, 0x3742)), L"C:\\") << "its instruction";
    EXPECT_EQ(GetWindow(picker, GW_OWNER), brelix_.window());
    EXPECT_EQ(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0), 0) << "a folder was chosen";
    move_pointer(center_of(picker));
    keys({VK_ESCAPE});
    EXPECT_TRUE(field_shows(kDefault));

    // Only folders of the file system can be confirmed; the desktop, the tree's root, is one.
    std::tie(picker, tree) = open_picker();
    ASSERT_TRUE(picker);
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
    ASSERT_TRUE(field_shows(desktop)) << testing::PrintToString(brelix_.field());

    click(brelix_.point_in(Control::GO0));
    EXPECT_EQ(brelix_.exit_code(), 0u);
    EXPECT_EQ(folder_.read(L"backup.bat"),
              "@echo off\r\nrem " + test_support::utf8(desktop) + "\r\n");
}

TEST_F(Field, RefusesAtGoWhatWouldChangeTheScriptAndWritesTheRestAsTyped) {
    type_over_field(brelix_, L"C:\\a|b");
    std::wstring message = message_after_go();
    EXPECT_NE(message.find(L"\"|\" at position 5"), std::wstring::npos);
    EXPECT_NE(message.find(L"Nothing was changed"), std::wstring::npos);

    // A line break reaches a single-line field only from a program that sets its text.
    const std::wstring two_commands = L"C:\\a\r\ndel /q C:\\*";
    SendMessageW(brelix_.control(Control::TextBox1), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(two_commands.c_str()));
    message = message_after_go();
    EXPECT_NE(message.find(L"a line break at position 5"), std::wstring::npos);
    EXPECT_EQ(folder_.read(L"backup.bat"), kTemplate);
    EXPECT_EQ(folder_.names(), std::vector<std::wstring>{L"backup.bat"});
    EXPECT_EQ(brelix_.field(), two_commands);

    const std::wstring odd = L"D:\\R&D Tools (x86)\\100% AV!\\" + std::wstring(280, L'x');
    type_over_field(brelix_, odd);
    click(brelix_.point_in(Control::GO0));
    EXPECT_EQ(brelix_.exit_code(), 0u);
    EXPECT_EQ(folder_.read(L"backup.bat"), "@echo off\r\nrem " + test_support::utf8(odd) + "\r\n");
}

}  // namespace

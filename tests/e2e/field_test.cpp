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
constexpr int kPickerTree = 0x3741;
constexpr int kPickerInstruction = 0x3742;

class Field : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(brelix_.window()); }

    bool field_shows(const std::wstring& text) const {
        return wait_until([&] { return brelix_.field() == text; });
    }

    // The folder picker and its tree after a click on "...", once the tree shows.
    std::pair<HWND, HWND> open_picker() const {
        click(brelix_.point_in(Control::Command2));
        const HWND picker = brelix_.dialog();
        const HWND tree = GetDlgItem(picker, kPickerTree);
        wait_until([&] { return IsWindowVisible(tree) != FALSE; });
        return {picker, tree};
    }

    // Presses Go and reads the message it answers with.
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
    EXPECT_TRUE(field_shows(L"x")) << "typing over the whole text left it empty";
    keys({VK_BACK});
    EXPECT_TRUE(field_shows(kDefault));
    type_over_field(brelix_, L"   ");
    EXPECT_TRUE(field_shows(L"   ")) << "blanks are not empty";
    click(brelix_.point_in(Control::TextBox1));
    keys({VK_END});
    keys({VK_SHIFT, VK_HOME});
    keys({VK_DELETE});
    EXPECT_TRUE(field_shows(kDefault));

    // A cancel puts the default back, also over a typed path.
    type_over_field(brelix_, L"D:\\Typed");
    auto [picker, tree] = open_picker();
    ASSERT_TRUE(picker);
    EXPECT_EQ(text_of(GetDlgItem(picker, kPickerInstruction)), L"C:\\");
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
    ASSERT_TRUE(brelix_.ended());
    EXPECT_EQ(folder_.read(L"backup.bat"),
              "@echo off\r\nrem " + test_support::utf8(desktop) + "\r\n");
}

TEST_F(Field, RefusesAtGoWhatWouldChangeTheScriptAndWritesTheRestAsTyped) {
    type_over_field(brelix_, L"C:\\a|b");
    std::wstring message = message_after_go();
    EXPECT_TRUE(contains(message, L"\"|\" at position 5")) << testing::PrintToString(message);
    EXPECT_TRUE(contains(message, L"Nothing was changed"));
    EXPECT_TRUE(wait_until([&] { return brelix_.dialog(0ms) == nullptr; }));
    EXPECT_EQ(brelix_.field(), L"C:\\a|b");
    EXPECT_TRUE(IsWindowVisible(brelix_.control(Control::GO0)));

    // A line break reaches a single-line field only from a program that sets its text.
    const std::wstring two_commands = L"C:\\a\r\ndel /q C:\\*";
    SendMessageW(brelix_.control(Control::TextBox1), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(two_commands.c_str()));
    message = message_after_go();
    EXPECT_TRUE(contains(message, L"a line break at position 5"))
        << testing::PrintToString(message);
    EXPECT_EQ(folder_.read(L"backup.bat"), kTemplate);
    EXPECT_EQ(folder_.names(), std::vector<std::wstring>{L"backup.bat"});

    const std::wstring odd = L"D:\\R&D Tools (x86)\\100% AV!\\" + std::wstring(280, L'x');
    type_over_field(brelix_, odd);
    ASSERT_EQ(brelix_.field(), odd);
    click(brelix_.point_in(Control::GO0));
    ASSERT_TRUE(brelix_.ended());
    EXPECT_EQ(brelix_.exit_code(), 0u);
    EXPECT_EQ(folder_.read(L"backup.bat"), "@echo off\r\nrem " + test_support::utf8(odd) + "\r\n");
}

}  // namespace

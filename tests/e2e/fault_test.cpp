// What a user's disk or a user can throw at Go: each failure ends in the failure report
// with the template exactly as it was and no new file left behind.
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>

namespace {

using namespace e2e;
using shell::Control;

// Presses Go and returns the failure report's text, after dismissing it and seeing the
// program end with the failure's exit code.
std::string failure_report_after_go(const Brelix& brelix) {
    brelix.click_go();
    const HWND report = brelix.wait_for_message_box();
    if (!report) {
        return "(no failure report)";
    }
    const std::string message = narrow(read_and_dismiss(report));
    EXPECT_TRUE(brelix.wait_for_exit());
    EXPECT_EQ(brelix.exit_code(), 1u);
    return message;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(Faults, TemplateHeldOpenByAnotherProgram) {
    const TempFolder folder;
    folder.write(L"backup.bat", kMarkerTemplate);
    const Brelix brelix(folder);
    ASSERT_TRUE(brelix.window());
    {
        const HANDLE held = CreateFileW((folder.path() + L"\\backup.bat").c_str(), GENERIC_READ, 0,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        const std::string report = failure_report_after_go(brelix);
        CloseHandle(held);
        EXPECT_TRUE(contains(report, "Could not open the file")) << report;
        EXPECT_TRUE(contains(report, "backup.bat")) << report;
    }
    EXPECT_EQ(folder.read(L"backup.bat"), kMarkerTemplate);
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"backup.bat"});
}

TEST(Faults, TemplateThatIsAFolder) {
    const TempFolder folder;
    ASSERT_TRUE(CreateDirectoryW((folder.path() + L"\\backup.bat").c_str(), nullptr));
    const Brelix brelix(folder);
    ASSERT_TRUE(brelix.window());
    const std::string report = failure_report_after_go(brelix);
    EXPECT_TRUE(contains(report, "backup.bat")) << report;
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"backup.bat"});
    EXPECT_TRUE(GetFileAttributesW((folder.path() + L"\\backup.bat").c_str()) &
                FILE_ATTRIBUTE_DIRECTORY);
}

TEST(Faults, PathLongerThanMaxPathIsWrittenAsTyped) {
    const TempFolder folder;
    folder.write(L"backup.bat", "rem PATHtoFOLDER\r\n");
    const Brelix brelix(folder);
    ASSERT_TRUE(brelix.window());
    std::wstring long_path = L"D:\\";
    while (long_path.size() < 300) {
        long_path += L"Folder name " + std::to_wstring(long_path.size()) + L"\\";
    }
    click(center_of(brelix.control(Control::TextBox1)));
    press_key(VK_END);
    press_key_with(VK_SHIFT, VK_HOME);
    type_text(long_path);
    ASSERT_TRUE(
        wait_until([&] { return text_of(brelix.control(Control::TextBox1)) == long_path; }));

    brelix.click_go();
    ASSERT_TRUE(brelix.wait_for_exit());
    EXPECT_EQ(brelix.exit_code(), 0u);
    EXPECT_EQ(folder.read(L"backup.bat"), "rem " + narrow(long_path) + "\r\n");
}

// Moves the system's cmd.exe aside for the test's duration: only in the test's own Wine
// prefix, and put back on destruction.
class CommandInterpreterHidden {
  public:
    CommandInterpreterHidden() {
        wchar_t system[MAX_PATH]{};
        GetSystemDirectoryW(system, MAX_PATH);
        path_ = std::wstring(system) + L"\\cmd.exe";
        moved_ = MoveFileW(path_.c_str(), (path_ + L".torvane-hidden").c_str()) != FALSE;
    }
    CommandInterpreterHidden(const CommandInterpreterHidden&) = delete;
    CommandInterpreterHidden& operator=(const CommandInterpreterHidden&) = delete;
    ~CommandInterpreterHidden() {
        if (moved_) {
            MoveFileW((path_ + L".torvane-hidden").c_str(), path_.c_str());
        }
    }
    [[nodiscard]] bool moved() const noexcept { return moved_; }

  private:
    std::wstring path_;
    bool moved_ = false;
};

TEST(Faults, ScriptThatCannotBeStartedStaysFilled) {
    const TempFolder folder;
    folder.write(L"backup.bat", kMarkerTemplate);
    const Brelix brelix(folder);
    ASSERT_TRUE(brelix.window());
    const CommandInterpreterHidden hidden;
    ASSERT_TRUE(hidden.moved());

    const std::string report = failure_report_after_go(brelix);
    EXPECT_TRUE(contains(report, "Could not start the script")) << report;
    EXPECT_EQ(folder.read(L"backup.bat"), "@echo off\r\necho " + kDefaultPath + ">marker.txt\r\n");
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"backup.bat"});
}

TEST(Faults, CmdPlantedInTheWorkingFolderDoesNotRunTheScript) {
    // The planted cmd.exe logs its start to planted.log; the real one writes the marker.
    const TempFolder folder;
    folder.write(L"backup.bat", kMarkerTemplate);
    ASSERT_TRUE(CopyFileW(test_support::beside_this_program(L"link_logger.exe").c_str(),
                          (folder.path() + L"\\cmd.exe").c_str(), FALSE));
    SetEnvironmentVariableW(L"TORVANE_LINK_LOG", (folder.path() + L"\\planted.log").c_str());
    const Brelix brelix(folder);
    SetEnvironmentVariableW(L"TORVANE_LINK_LOG", nullptr);
    ASSERT_TRUE(brelix.window());

    brelix.click_go();
    ASSERT_TRUE(brelix.wait_for_exit());
    EXPECT_TRUE(wait_until([&] { return folder.read(L"marker.txt") == kDefaultPath + "\r\n"; }));
    EXPECT_FALSE(folder.read(L"planted.log").has_value()) << "the planted cmd.exe ran";
}

}  // namespace

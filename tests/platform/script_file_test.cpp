// The script file layer on the real Windows file API: bytes kept exactly, the template
// never lost, and every failure reported with the template unchanged and no new file left.
#include "platform/failure.hpp"
#include "platform/script_file.hpp"
#include "platform/unique_handle.hpp"
#include "tests/support/test_support.hpp"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

class ScriptFileTest : public testing::Test {
  protected:
    void SetUp() override {
        wchar_t previous[MAX_PATH]{};
        GetCurrentDirectoryW(MAX_PATH, previous);
        previous_directory_ = previous;
        ASSERT_TRUE(SetCurrentDirectoryW(folder_.path().c_str()));
    }

    void TearDown() override { SetCurrentDirectoryW(previous_directory_.c_str()); }

    void write(const std::string& bytes) const { folder_.write(L"backup.bat", bytes); }
    std::string content() const { return folder_.read(L"backup.bat").value_or("(missing)"); }
    std::vector<std::wstring> names() const { return folder_.names(); }

    // Fills backup.bat and returns the system error code of the failure, or 0.
    static std::uint32_t fill(std::wstring_view path) {
        try {
            platform::AnsiScriptFile script(L"backup.bat");
            generate::fill_script_template(script, path);
            return 0;
        } catch (const platform::Failure& failure) {
            return failure.system_error();
        }
    }

    test_support::TempFolder folder_;
    std::wstring previous_directory_;
};

const std::vector<std::wstring> kOnlyTheTemplate{L"backup.bat"};

TEST_F(ScriptFileTest, FillsTheTemplateInPlaceKeepingItsBytes) {
    write("@echo off\r\nxcopy \"PATHtoFOLDER\" \"%~dp0copy\" /e\nrem PATHtoFOLDER\r\n");
    EXPECT_EQ(fill(L"C:\\Program Files\\AV"), 0u);
    EXPECT_EQ(content(),
              "@echo off\r\nxcopy \"C:\\Program Files\\AV\" \"%~dp0copy\" /e\nrem C:\\Program "
              "Files\\AV\r\n");
    EXPECT_EQ(names(), kOnlyTheTemplate);
}

TEST_F(ScriptFileTest, WritesPathsInTheAnsiCodePage) {
    const UINT code_page = GetACP();
    if (code_page != 1252) {
        GTEST_SKIP() << "this case is written for code page 1252, the system has " << code_page;
    }
    write("cd \"PATHtoFOLDER\"\xe9");
    EXPECT_EQ(fill(L"C:\\Caf\u00e9"), 0u);
    EXPECT_EQ(content(), "cd \"C:\\Caf\xe9\"\xe9");
}

TEST_F(ScriptFileTest, EmptyTemplateStaysEmpty) {
    write("");
    EXPECT_EQ(fill(L"C:\\AV"), 0u);
    EXPECT_EQ(content(), "");
    EXPECT_EQ(names(), kOnlyTheTemplate);
}

TEST_F(ScriptFileTest, LargeTemplateIsFilledWhole) {
    std::string bytes;
    for (int line = 0; line < 100'000; ++line) {
        bytes += "copy PATHtoFOLDER\\" + std::to_string(line) + "\r\n";
    }
    write(bytes);
    EXPECT_EQ(fill(L"D:\\X"), 0u);
    const std::string filled = content();
    EXPECT_EQ(filled.size(), bytes.size() - 100'000 * (12 - 4));
    EXPECT_EQ(filled.substr(0, 13), "copy D:\\X\\0\r\n");
    EXPECT_EQ(filled.find("PATHtoFOLDER"), std::string::npos);
}

TEST_F(ScriptFileTest, MissingTemplateFailsAndCreatesNothing) {
    EXPECT_EQ(fill(L"C:\\AV"), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(names().empty());
}

TEST_F(ScriptFileTest, FolderNamedLikeTheTemplateFails) {
    ASSERT_TRUE(CreateDirectoryW(L"backup.bat", nullptr));
    EXPECT_NE(fill(L"C:\\AV"), 0u);
    EXPECT_EQ(names(), kOnlyTheTemplate);
    EXPECT_TRUE(GetFileAttributesW(L"backup.bat") & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(ScriptFileTest, ReadOnlyTemplateIsRefusedAndKept) {
    write("rem PATHtoFOLDER\r\n");
    ASSERT_TRUE(SetFileAttributesW(L"backup.bat", FILE_ATTRIBUTE_READONLY));
    EXPECT_NE(fill(L"C:\\AV"), 0u);
    EXPECT_EQ(content(), "rem PATHtoFOLDER\r\n");
    EXPECT_EQ(names(), kOnlyTheTemplate);
}

TEST_F(ScriptFileTest, TemplateHeldWithoutSharingCannotBeRead) {
    write("rem PATHtoFOLDER\r\n");
    const platform::UniqueHandle held = platform::adopt_handle(CreateFileW(
        L"backup.bat", GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    EXPECT_EQ(fill(L"C:\\AV"), static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(names(), kOnlyTheTemplate);
}

TEST_F(ScriptFileTest, TemplateThatCannotBeReplacedIsKept) {
    // Reading is shared, but replacing needs the file to be deletable.
    write("rem PATHtoFOLDER\r\n");
    const platform::UniqueHandle held =
        platform::adopt_handle(CreateFileW(L"backup.bat", GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    EXPECT_NE(fill(L"C:\\AV"), 0u);
    EXPECT_EQ(names(), kOnlyTheTemplate);
    EXPECT_EQ(content(), "rem PATHtoFOLDER\r\n");
}

}  // namespace

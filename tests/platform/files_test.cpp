// The file layer and the code pages on the real Windows API: the template is filled in
// pieces and never lost, every failure leaves it exactly as it was with no file beside it,
// and each code page is asked the way its documentation allows.
#include "generate/template_fill.hpp"
#include "platform/ansi_text.hpp"
#include "platform/failure.hpp"
#include "platform/files.hpp"
#include "platform/unique_handle.hpp"
#include "tests/support/test_support.hpp"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

using test_support::TempFolder;

// Fills the folder's backup.bat; returns the failure's system error code, or none.
std::optional<std::uint32_t> fill(const TempFolder& folder, std::string_view path) {
    generate::TemplateFiller filler(path, {});
    try {
        platform::rewrite_file(
            folder.path() + L"\\backup.bat",
            [&](std::string_view piece, std::string& out) { filler.fill(piece, out); });
        return std::nullopt;
    } catch (const platform::Failure& failure) {
        return failure.system_error();
    }
}

TEST(RewriteFile, FillsTheTemplateInPlaceAcrossItsPieces) {
    const TempFolder folder;
    // A token across the end of the first piece of a megabyte, and an empty template.
    const std::string start(1'048'570, 'x');
    folder.write(L"backup.bat", start + "PATHtoFOLDER\r\nrem PATHtoFOLDER");
    EXPECT_EQ(fill(folder, "C:\\AV"), std::nullopt);
    EXPECT_EQ(folder.read(L"backup.bat"), start + "C:\\AV\r\nrem C:\\AV");
    folder.write(L"backup.bat", "");
    EXPECT_EQ(fill(folder, "C:\\AV"), std::nullopt);
    EXPECT_EQ(folder.read(L"backup.bat"), "");
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"backup.bat"});
}

// A template in a working folder where filling it fails; the template is left as it was.
struct Fault {
    const char* name;
    void (*arrange)(const TempFolder& folder);
    std::optional<DWORD> held_with_sharing;  // the template is held open by another program
    DWORD error;                             // 0: any
};

const std::string kTemplate = "rem PATHtoFOLDER\r\n";

void write_template(const TempFolder& folder) {
    folder.write(L"backup.bat", kTemplate);
}

const Fault kFaults[] = {
    {"Missing", [](const TempFolder&) {}, std::nullopt, ERROR_FILE_NOT_FOUND},
    {"AFolderInItsPlace",
     [](const TempFolder& folder) {
         CreateDirectoryW((folder.path() + L"\\backup.bat").c_str(), nullptr);
     },
     std::nullopt, 0},
    {"ReadOnly",
     [](const TempFolder& folder) {
         write_template(folder);
         SetFileAttributesW((folder.path() + L"\\backup.bat").c_str(), FILE_ATTRIBUTE_READONLY);
     },
     std::nullopt, ERROR_ACCESS_DENIED},
    {"HeldWithoutSharing", write_template, 0, ERROR_SHARING_VIOLATION},
    {"HeldForReadingSoItCannotBeReplaced", write_template, FILE_SHARE_READ, 0},
};

class RewriteFileFault : public testing::TestWithParam<Fault> {};

TEST_P(RewriteFileFault, FailsAndLeavesTheTemplateAsItWas) {
    const TempFolder folder;
    GetParam().arrange(folder);
    const auto before = folder.read(L"backup.bat");
    const auto names = folder.names();
    platform::UniqueHandle held;
    if (const auto sharing = GetParam().held_with_sharing) {
        held = platform::adopt_handle(CreateFileW((folder.path() + L"\\backup.bat").c_str(),
                                                  GENERIC_READ, *sharing, nullptr, OPEN_EXISTING,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
    }

    const auto error = fill(folder, "C:\\AV");
    ASSERT_NE(error, std::nullopt) << "no failure";
    if (GetParam().error != 0) {
        EXPECT_EQ(*error, GetParam().error);
    }
    held.reset();
    EXPECT_EQ(folder.read(L"backup.bat"), before);
    EXPECT_EQ(folder.names(), names);
}

INSTANTIATE_TEST_SUITE_P(Faults, RewriteFileFault, testing::ValuesIn(kFaults),
                         [](const auto& fault) { return std::string(fault.param.name); });

// A volume of 64 KB (scripts/test mounts one): the template fits, the filled script does
// not, so the write fails midway.
TEST(RewriteFile, AFullDiskLeavesTheTemplateAsItWas) {
    const auto volume = test_support::environment(L"TORVANE_SMALL_VOLUME");
    if (!volume) {
        GTEST_SKIP() << "needs TORVANE_SMALL_VOLUME, a folder on a volume of 64 KB";
    }
    const TempFolder folder(*volume);
    std::string text;
    for (int line = 0; line < 2000; ++line) {
        text += "PATHtoFOLDER\r\n";
    }
    folder.write(L"backup.bat", text);
    EXPECT_EQ(fill(folder, std::string(40, 'x')), ERROR_DISK_FULL);
    EXPECT_EQ(folder.read(L"backup.bat"), text);
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"backup.bat"});
}

TEST(CodePages, AreAskedAsTheirDocumentationAllows) {
    EXPECT_TRUE(platform::code_page_holds(CP_UTF8, L"\u00e9"));
    EXPECT_TRUE(platform::code_page_holds(CP_UTF8, L"\U0001F600"));
    EXPECT_FALSE(platform::code_page_holds(CP_UTF8, L"\xD83D")) << "half of a pair";
    EXPECT_TRUE(platform::code_page_holds(1252, L"\u00e9"));
    EXPECT_FALSE(platform::code_page_holds(1252, L"\u0101")) << "best fit to a plain a";
    EXPECT_TRUE(platform::code_page_holds(932, L"\u30bd"));
    EXPECT_EQ(platform::encode(932, L"C:\\\u30bd"), "C:\\\x83\x5c");

    const generate::LeadBytes japanese = platform::lead_bytes_of(932);
    for (const unsigned byte : {0x81u, 0x9Fu, 0xE0u, 0xFCu}) {
        EXPECT_TRUE(japanese.contains(static_cast<unsigned char>(byte))) << byte;
    }
    for (const unsigned byte : {0x80u, 0xA0u, 0xDFu, 0xFDu, unsigned{'P'}}) {
        EXPECT_FALSE(japanese.contains(static_cast<unsigned char>(byte))) << byte;
    }
    EXPECT_TRUE(platform::lead_bytes_of(1252).none());
    EXPECT_TRUE(platform::lead_bytes_of(CP_UTF8).none());
}

TEST(FailureText, NeverReportsAFailureAsSuccess) {
    const std::wstring text = platform::describe_failure(
        std::make_exception_ptr(platform::Failure(L"Could not reach the main window", L"", 0)));
    EXPECT_EQ(text.find(L"successfully"), std::wstring::npos);
    EXPECT_NE(text.find(L"Could not reach the main window"), std::wstring::npos);
    EXPECT_NE(text.find(L"no reason"), std::wstring::npos);
}

}  // namespace

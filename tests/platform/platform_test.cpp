// The platform layer on the real Windows API: the template is filled in pieces and never
// lost, each code page is asked the way its documentation allows, and system functions
// are bound only in the system folder.
#include "platform/ansi_text.hpp"
#include "platform/failure.hpp"
#include "platform/files.hpp"
#include "platform/system_function.hpp"
#include "platform/unique_handle.hpp"
#include "tests/support/test_support.hpp"

#include <gtest/gtest.h>

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
    // A token across the first megabyte's end, where a piece ends whatever power of two its
    // size, and half of one at the end.
    const std::string start(1'048'570, 'x');
    folder.write(L"backup.bat", start + "PATHtoFOLDER\r\nPATHto");
    EXPECT_EQ(fill(folder, "C:\\AV"), std::nullopt);
    EXPECT_EQ(folder.read(L"backup.bat"), start + "C:\\AV\r\nPATHto");
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"backup.bat"});
}

// Each fault makes the fill fail, and leaves the folder as it was.
struct Fault {
    const char* name;
    DWORD attributes;
    DWORD held_with_sharing;  // by another program, or kNotHeld
};
constexpr DWORD kNotHeld = ~0u;

const Fault kFaults[] = {
    {"ReadOnly", FILE_ATTRIBUTE_READONLY, kNotHeld},
    {"HeldWithoutSharing", 0, 0},
    {"HeldSoItCannotBeReplaced", 0, FILE_SHARE_READ},
};

class RewriteFileFault : public testing::TestWithParam<Fault> {};

TEST_P(RewriteFileFault, FailsAndLeavesTheTemplateAsItWas) {
    const TempFolder folder;
    const std::wstring path = folder.path() + L"\\backup.bat";
    EXPECT_NE(fill(folder, "C:\\AV"), std::nullopt) << "no template";
    folder.write(L"backup.bat", "PATHtoFOLDER");
    SetFileAttributesW(path.c_str(), GetParam().attributes);
    const auto before = folder.read(L"backup.bat");
    platform::UniqueHandle held;
    if (GetParam().held_with_sharing != kNotHeld) {
        held = platform::adopt_handle(CreateFileW(path.c_str(), GENERIC_READ,
                                                  GetParam().held_with_sharing, nullptr,
                                                  OPEN_EXISTING, 0, nullptr));
    }
    EXPECT_NE(fill(folder, "C:\\AV"), std::nullopt);
    held.reset();
    EXPECT_EQ(folder.read(L"backup.bat"), before);
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"backup.bat"});
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // so that the folder can go
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
    const std::string text = "rem PATHtoFOLDER\r\n" + std::string(30'000, 'x');
    folder.write(L"backup.bat", text);
    EXPECT_EQ(fill(folder, std::string(40'000, 'y')), ERROR_DISK_FULL);
    EXPECT_EQ(folder.read(L"backup.bat"), text);
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"backup.bat"});
}

TEST(CodePages, AreAskedAsTheirDocumentationAllows) {
    EXPECT_TRUE(platform::code_page_holds(CP_UTF8, L"\u00e9"));
    EXPECT_TRUE(platform::code_page_holds(CP_UTF8, L"\U0001F600"));
    EXPECT_FALSE(platform::code_page_holds(CP_UTF8, L"\xD83D")) << "half of a pair";
    EXPECT_TRUE(platform::code_page_holds(1252, L"\u00e9"));
    EXPECT_FALSE(platform::code_page_holds(1252, L"\u0101")) << "best fit to a plain a";
    const generate::LeadBytes japanese = platform::lead_bytes_of(932);
    EXPECT_TRUE(japanese.contains(0x81) && japanese.contains(0x9F) && japanese.contains(0xE0) &&
                japanese.contains(0xFC));
    EXPECT_FALSE(japanese.contains(0x80) || japanese.contains(0xA0) || japanese.contains(0xFD));
    EXPECT_TRUE(platform::lead_bytes_of(1252).none() && platform::lead_bytes_of(CP_UTF8).none());
}

TEST(FailureText, NeverReportsAFailureAsSuccess) {
    const std::wstring text = platform::describe_failure(
        std::make_exception_ptr(platform::Failure(L"Could not reach the main window", L"", 0)));
    EXPECT_EQ(text, L"Could not reach the main window\n\nWindows gave no reason.");
}

TEST(SystemFunction, BindsByNameInTheSystemFolderOnly) {
    platform::SystemFunction<decltype(&::GetCurrentProcessId)> process_id(L"kernel32.dll",
                                                                          "GetCurrentProcessId");
    EXPECT_EQ(process_id(), GetCurrentProcessId());
    EXPECT_NE(decltype(process_id)(L"kernel32.dll", "GetCurrentProcessId").optional(), nullptr);
    // A real library, copied into the working folder under a name the system folder lacks.
    ASSERT_TRUE(CopyFileW((platform::system_folder() + L"\\msimg32.dll").c_str(),
                          L"torvane-copy.dll", FALSE));
    platform::SystemFunction<decltype(&::AlphaBlend)> copy(L"torvane-copy.dll", "AlphaBlend");
    EXPECT_EQ(copy.optional(), nullptr);
    DeleteFileW(L"torvane-copy.dll");
}

}  // namespace

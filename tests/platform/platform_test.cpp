// The platform layer on the real Windows API: the template filled in pieces, never lost;
// the code pages asked as documented; system functions bound in the system folder only.
#include "generate/template_fill.hpp"
#include "platform/ansi_text.hpp"
#include "platform/failure.hpp"
#include "platform/files.hpp"
#include "platform/system_function.hpp"
#include "platform/unique_handle.hpp"
#include "tests/support/test_support.hpp"

#include <gtest/gtest.h>

#include <sddl.h>

#include <memory>
#include <utility>

namespace {

using test_support::TempFolder;

// Fills the folder's backup.bat; returns the failure, or none.
std::optional<platform::Failure> fill(const std::wstring& folder, std::string_view path) {
    generate::TemplateFiller filler(path, {});
    const std::string* written = nullptr;  // while the next piece is filled
    try {
        platform::rewrite_file(folder + L"\\backup.bat", [&](std::string_view piece,
                                                             std::string& out) {
            EXPECT_NE(&out, std::exchange(written, &out)) << "a piece refilled while it is written";
            filler.fill(piece, out);
        });
        return std::nullopt;
    } catch (const platform::Failure& failure) {
        return failure;
    }
}

// A security descriptor written in SDDL.
std::unique_ptr<void, decltype(&LocalFree)> descriptor(const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR made = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &made, nullptr);
    return {made, &LocalFree};
}

// The file's access list (Wine keeps it as the file's Unix mode).
std::string protection_of(const std::wstring& path) {
    std::string bytes(4096, '\0');
    DWORD size = 0;
    GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, bytes.data(), 4096, &size);
    return bytes.substr(0, size);
}

// The template held without delete sharing, so the rename fails unless a step before it does (a
// share that grants only Change refuses WRITE_DAC; Wine gives each file entries of its own); then
// hidden, open to all unlike a new file (set after the read-only flag, which resets Wine's mode).
TEST(RewriteFile, FillsTheTemplateInPlaceAcrossItsPiecesKeepingWhatProtectsItOrLeavesItAsItWas) {
    const TempFolder folder;
    const std::wstring path = folder.path() + L"\\backup.bat";
    // A token across 1 MB, where a piece of any power-of-two size ends; half of one at the end.
    const std::string start(1'048'570, 'x');
    folder.write(L"backup.bat", start + "PATHtoFOLDER\r\nPATHto");
    for (const auto& [attribute, refused, reason] :
         {std::tuple{FILE_ATTRIBUTE_READONLY, 0ul, L"read-only"},
          {FILE_ATTRIBUTE_NORMAL, 0ul, L"Could not replace"},
          {FILE_ATTRIBUTE_NORMAL, WRITE_DAC, L"access entries set on this file"}}) {
        const platform::UniqueHandle holder = platform::adopt_handle(CreateFileW(
            path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        SetFileAttributesW(path.c_str(), attribute);
        platform::refuse_at_create_for_tests(refused);
        const auto failure = fill(folder.path(), "C:\\AV");
        platform::refuse_at_create_for_tests(0);
        EXPECT_NE(failure.value().action().find(reason), std::wstring::npos) << reason;
        EXPECT_EQ(folder.read(L"backup.bat"), start + "PATHtoFOLDER\r\nPATHto");
        EXPECT_EQ(folder.entries(), 1);
    }
    ASSERT_TRUE(SetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION,
                                 descriptor(L"D:P(A;;FA;;;WD)").get()));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    const std::string protection = protection_of(path);
    EXPECT_EQ(fill(folder.path(), "C:\\AV"), std::nullopt);
    EXPECT_EQ(folder.read(L"backup.bat"), start + "C:\\AV\r\nPATHto");
    EXPECT_EQ(folder.entries(), 1);
    EXPECT_EQ(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(protection_of(path), protection);
}

// Where WRITE_DAC is refused, only the first of these lets Go go on.
TEST(AccessList, ComesByInheritanceWhereItIsNotProtectedAndEveryEntryIsInherited) {
    const wchar_t* lists[] = {L"D:AI(A;ID;FA;;;WD)(A;ID;FR;;;BU)", L"D:PAI(A;ID;FA;;;WD)",
                              L"D:AI(A;ID;FA;;;WD)(A;;FA;;;BU)", L"D:AI", L"D:NO_ACCESS_CONTROL"};
    for (const wchar_t* list : lists) {
        EXPECT_EQ(platform::list_comes_by_inheritance(descriptor(list).get()), list == lists[0])
            << list;
    }
}

// The new file's name passes MAX_PATH characters in a working folder of about 248 or more.
TEST(ExtendedLengthPath, NamesTheSameFileOnADriveOrAShare) {
    const std::wstring name = L"\\" + std::wstring(255, L'x') + L"\\backup.bat.4294967295-99.tmp";
    EXPECT_EQ(platform::extended_length_path(L"C:" + name), L"\\\\?\\C:" + name);
    EXPECT_EQ(platform::extended_length_path(L"\\\\pc\\c$" + name), L"\\\\?\\UNC\\pc\\c$" + name);
}

// scripts/test's volume of 64 KB: the template fits, the filled script does not, so the write
// fails midway; and its template linked to /proc/self/mem, whose unmapped first page fails a read.
TEST(RewriteFile, AFullDiskOrAFailedReadLeavesTheTemplateAsItWas) {
    const auto volume = test_support::environment(L"TORVANE_SMALL_VOLUME");
    const auto unreadable = test_support::environment(L"TORVANE_UNREADABLE_FOLDER");
    if (!volume || !unreadable) {
        GTEST_SKIP() << "needs the small volume and the unreadable folder of scripts/test";
    }
    const TempFolder folder(*volume);
    const std::string text = "rem PATHtoFOLDER\r\n" + std::string(30'000, 'x');
    folder.write(L"backup.bat", text);
    EXPECT_EQ(fill(folder.path(), std::string(40'000, 'y')).value().system_error(),
              ERROR_DISK_FULL);
    EXPECT_EQ(folder.read(L"backup.bat"), text);
    EXPECT_NE(fill(*unreadable, "C:\\AV"), std::nullopt);
}

TEST(CodePages, AreAskedAsTheirDocumentationAllows) {
    EXPECT_TRUE(platform::code_page_holds(CP_UTF8, L"\U0001F600"));
    EXPECT_FALSE(platform::code_page_holds(CP_UTF8, L"\xD83D")) << "half of a pair";
    EXPECT_TRUE(platform::code_page_holds(1252, L"\u00e9"));
    EXPECT_FALSE(platform::code_page_holds(1252, L"\u0101")) << "best fit to a plain a";
    EXPECT_EQ(platform::lead_byte_ranges(932),
              (std::vector<platform::ByteRange>{{0x81, 0x9F}, {0xE0, 0xFC}}));
    EXPECT_TRUE(platform::lead_byte_ranges(1252).empty() &&
                platform::lead_byte_ranges(CP_UTF8).empty());
}

TEST(FailureText, NeverReportsAFailureAsSuccess) {
    const std::wstring text = platform::describe_failure(
        std::make_exception_ptr(platform::Failure(L"Could not reach the main window", L"", 0)));
    EXPECT_EQ(text, L"Could not reach the main window\n\nWindows gave no reason.");
}

// A copy of a system library, under a name System32 lacks, in a folder made the working one.
TEST(SystemFunction, BindsByNameInTheSystemFolderOnly) {
    const TempFolder folder;
    ASSERT_TRUE(CopyFileW((platform::system_folder() + L"\\msimg32.dll").c_str(),
                          (folder.path() + L"\\torvane-copy.dll").c_str(), FALSE));
    const auto working = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    using AlphaBlendCall = platform::SystemFunction<decltype(&::AlphaBlend)>;
    EXPECT_NE(AlphaBlendCall(L"msimg32.dll", "AlphaBlend").optional(), nullptr);
    EXPECT_EQ(AlphaBlendCall(L"torvane-copy.dll", "AlphaBlend").optional(), nullptr);
    std::filesystem::current_path(working);
}

}  // namespace

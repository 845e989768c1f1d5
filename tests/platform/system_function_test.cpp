// Functions of system libraries reached by entry name, and the failure that names what
// could not be found.
#include "platform/failure.hpp"
#include "platform/system_function.hpp"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <functional>

namespace {

std::wstring subject_of_failure(const std::function<void()>& call) {
    try {
        call();
    } catch (const platform::Failure& failure) {
        return failure.action() + L": " + failure.subject();
    }
    return L"(no failure)";
}

TEST(SystemFunction, CallsTheEntryItBoundByName) {
    platform::SystemFunction<decltype(&::GetCurrentProcessId)> process_id(L"kernel32.dll",
                                                                          "GetCurrentProcessId");
    EXPECT_EQ(process_id(), GetCurrentProcessId());
    EXPECT_EQ(process_id(), GetCurrentProcessId());
}

TEST(SystemFunction, MissingEntryNamesTheEntryAndTheLibrary) {
    platform::SystemFunction<decltype(&::SHBrowseForFolderA)> missing(L"shell32",
                                                                      "SHBrowseForFolderZ");
    const std::wstring failure = subject_of_failure([&] { (void)missing(nullptr); });
    EXPECT_NE(failure.find(L"Could not find a function"), std::wstring::npos);
    EXPECT_NE(failure.find(L"SHBrowseForFolderZ in shell32"), std::wstring::npos);
}

TEST(SystemFunction, OptionalBindingFindsNothingOutsideTheSystemFolder) {
    // A real library, copied into the working folder under a name the system folder lacks.
    wchar_t system[MAX_PATH]{};
    ASSERT_NE(GetSystemDirectoryW(system, MAX_PATH), 0u);
    ASSERT_TRUE(
        CopyFileW((std::wstring(system) + L"\\msimg32.dll").c_str(), L"torvane-copy.dll", FALSE));
    platform::SystemFunction<decltype(&::AlphaBlend)> copy(L"torvane-copy.dll", "AlphaBlend");
    EXPECT_EQ(copy.optional(), nullptr);
    DeleteFileW(L"torvane-copy.dll");
    platform::SystemFunction<decltype(&::AlphaBlend)> missing(L"msimg32.dll", "AlphaBlendZ");
    EXPECT_EQ(missing.optional(), nullptr);
}

TEST(SystemFunction, MissingLibraryIsNamed) {
    platform::SystemFunction<decltype(&::CoTaskMemFree)> missing(L"torvane-no-such.dll",
                                                                 "CoTaskMemFree");
    const std::wstring failure = subject_of_failure([&] { missing(nullptr); });
    EXPECT_NE(failure.find(L"Could not load the system library: torvane-no-such.dll"),
              std::wstring::npos);
}

}  // namespace

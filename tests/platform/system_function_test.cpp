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

TEST(SystemFunction, MissingLibraryIsNamed) {
    platform::SystemFunction<decltype(&::CoTaskMemFree)> missing(L"torvane-no-such.dll",
                                                                 "CoTaskMemFree");
    const std::wstring failure = subject_of_failure([&] { missing(nullptr); });
    EXPECT_NE(failure.find(L"Could not load the system library: torvane-no-such.dll"),
              std::wstring::npos);
}

}  // namespace

// Functions of system libraries reached by entry name, only in the system folder, and the
// failure that names what could not be found.
#include "platform/failure.hpp"
#include "platform/system_function.hpp"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

using platform::SystemFunction;

TEST(SystemFunction, BindsByNameInTheSystemFolderOnly) {
    SystemFunction<decltype(&::GetCurrentProcessId)> process_id(L"kernel32.dll",
                                                                "GetCurrentProcessId");
    EXPECT_EQ(process_id(), GetCurrentProcessId());
    // A real library, copied into the working folder under a name the system folder lacks.
    wchar_t system[MAX_PATH]{};
    GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_TRUE(
        CopyFileW((std::wstring(system) + L"\\msimg32.dll").c_str(), L"torvane-copy.dll", FALSE));
    SystemFunction<decltype(&::AlphaBlend)> copy(L"torvane-copy.dll", "AlphaBlend");
    EXPECT_EQ(copy.optional(), nullptr);
    DeleteFileW(L"torvane-copy.dll");
    try {
        SystemFunction<decltype(&::AlphaBlend)>(L"msimg32.dll", "AlphaBlendZ")(
            nullptr, 0, 0, 0, 0, nullptr, 0, 0, 0, 0, BLENDFUNCTION{});
        ADD_FAILURE() << "no failure";
    } catch (const platform::Failure& failure) {
        EXPECT_EQ(failure.subject(), L"AlphaBlendZ in msimg32.dll");
    }
}

}  // namespace

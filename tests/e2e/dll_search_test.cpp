// A program unzipped into a folder that others can write to, as downloads are, and started
// there with its script: no library planted beside it under a system library's name may load.
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>

namespace {

using namespace e2e;

// Shell32, which the program loads by its full path, imports shlwapi and shcore by name;
// Wine's delay-load helper looks for others (uxtheme, comctl32) beside the program whatever
// the program has set, so only these two can show whether it kept the search to System32.
TEST(DllSearch, NoLibraryPlantedBesideTheProgramLoadsFromStartToGo) {
    if (!under_wine()) {
        GTEST_SKIP() << "tells its own Wine prefix to prefer the planted libraries (scripts/test)";
    }
    const WorkingFolder folder(kMarkerTemplate);
    const std::wstring program = folder.path() + L"\\Brelix.exe";
    ASSERT_TRUE(CopyFileW(beside_this_program(L"Brelix.exe").c_str(), program.c_str(), FALSE));
    for (const wchar_t* name : {L"\\shlwapi.dll", L"\\shcore.dll"}) {
        ASSERT_TRUE(CopyFileW(beside_this_program(L"planted_library.dll").c_str(),
                              (folder.path() + name).c_str(), FALSE));
    }
    const NativeOverWine native_shlwapi(L"shlwapi"), native_shcore(L"shcore");
    SetEnvironmentVariableW(L"TORVANE_PLANTED", (folder.path() + L"\\planted.log").c_str());
    SetEnvironmentVariableW(L"TORVANE_RECORD", (folder.path() + L"\\links.log").c_str());
    const Brelix brelix(folder.path(), L"", program);

    click(brelix.point_in(Control::Command2));
    move_pointer(center_of(brelix.dialog()));
    keys({VK_ESCAPE});
    ASSERT_TRUE(wait_until([&] { return brelix.dialog(0ms) == nullptr; }));
    ASSERT_EQ(folder.read(L"planted.log"), std::nullopt) << "loaded for the folder picker";
    click(brelix.point_in(Control::Picture2));
    EXPECT_TRUE(wait_until([&] { return folder.read(L"links.log").has_value(); }));
    click(brelix.point_in(Control::GO0));
    EXPECT_EQ(brelix.exit_code(), 0u);
    EXPECT_TRUE(wait_until([&] { return folder.read(L"marker.txt").has_value(); }));
    EXPECT_EQ(folder.read(L"planted.log"), std::nullopt);
}

}  // namespace

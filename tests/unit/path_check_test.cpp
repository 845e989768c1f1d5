#include "source_path/path_check.hpp"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

// Stands in for a code page of Latin-1 and one smiley, spelt as a UTF-16 pair on any system.
std::optional<source_path::PathProblem> problem_of(std::wstring_view path) {
    return source_path::find_path_problem(path, [](std::wstring_view character) {
        return character.size() == 1 ? character[0] < 0x100 : character == L"\xD83D\xDE00";
    });
}

TEST(PathCheck, PassesRealFoldersAndNamesTheFirstRefusedCharacterItsPositionAndWhy) {
    constexpr std::wstring_view kNoPath = L", which no folder's path can hold.";
    constexpr std::wstring_view kNoCodePage = L", which the system's code page cannot hold.";
    std::vector<std::tuple<std::wstring, std::wstring, std::wstring_view>> refused = {
        {L"\\\\?\\C::", L"\":\" at position 7", kNoPath},  // a stream's name on NTFS
        {L"C:\\a\r\ndel *", L"a line break at position 5", kNoPath},
        {L"C:\\a\nb", L"a line break at position 5", kNoPath},
        {L"C:\\a\tb", L"a tab at position 5", kNoPath},
        {L"C:\\a\"b", L"a double quote (\") at position 5", kNoPath},
        {L"C:\\a\x1f", L"the control character 31 at position 5", kNoPath},
        {L"\x7f", L"the control character 127 at position 1", kNoPath},
        {L"C:\\\u30d5\u30a9", L"\"\u30d5\" at position 4", kNoCodePage},
        // A pair is one character to the user, and half of one is no character at all.
        {L"\xD83D\xDE00\xD83D\xDE01", L"\"\xD83D\xDE01\" at position 2", kNoCodePage},
        {L"a\xD83D\x62", L"an incomplete character at position 2", kNoCodePage},
    };
    for (const wchar_t character : std::wstring_view(L"<>|?*:")) {
        const std::wstring alone(1, character);
        refused.emplace_back(L"C:\\a" + alone + L"b*", L"\"" + alone + L"\" at position 5",
                             kNoPath);
    }
    for (const std::wstring_view path :
         {L"C:\\Program Files\\Avira\\Antivir Desktop", L"D:\\R&D (old)\\100% done!\\",
          L"\\\\server\\share\\a;b,c=d^e~f", L"C:\\Caf\u00e9 \u00c5r", L"   ", L"", L"\\\\?\\C:\\x",
          L"\\\\.\\c:\\", L"\\\\?\\UNC\\server\\share"}) {
        EXPECT_FALSE(problem_of(path)) << testing::PrintToString(std::wstring(path));
    }
    for (const auto& [path, named, why] : refused) {
        const auto problem = problem_of(path);
        ASSERT_TRUE(problem) << testing::PrintToString(std::wstring(named));
        EXPECT_EQ(source_path::describe(*problem),
                  L"The source path holds " + std::wstring(named) + std::wstring(why) +
                      L"\n\nNothing was changed: correct the path and press Go again.");
    }
}

}  // namespace

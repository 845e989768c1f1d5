#include "source_path/path_check.hpp"

#include <gtest/gtest.h>

namespace {

using source_path::find_path_problem;
using source_path::PathProblem;

// Stands in for a Western code page: Latin-1 and nothing beyond.
std::optional<PathProblem> problem_of(std::wstring_view path) {
    return find_path_problem(path,
                             [](std::wstring_view c) { return c.size() == 1 && c[0] < 0x100; });
}

TEST(PathCheck, PassesEveryPathARealFolderCanHave) {
    for (const std::wstring_view path :
         {L"C:\\Program Files\\Avira\\Antivir Desktop", L"D:\\R&D (old)\\100% done!\\",
          L"\\\\server\\share\\a;b,c=d^e~f", L"C:\\Caf\u00e9 \u00c5r", L"   ", L"C:"}) {
        EXPECT_FALSE(problem_of(path)) << std::string(path.begin(), path.end());
    }
}

TEST(PathCheck, NamesTheFirstRefusedCharacterAndItsPosition) {
    const struct {
        std::wstring_view path;
        PathProblem::Kind kind;
        std::wstring_view named;
    } refused[] = {
        {L"C:\\a<b", PathProblem::Kind::NotInAnyPath, L"\"<\" at position 5"},
        {L"C:\\a>b", PathProblem::Kind::NotInAnyPath, L"\">\" at position 5"},
        {L"C:\\a\"b", PathProblem::Kind::NotInAnyPath, L"\"\"\" at position 5"},
        {L"C:\\a|b*", PathProblem::Kind::NotInAnyPath, L"\"|\" at position 5"},
        {L"C:\\a?b", PathProblem::Kind::NotInAnyPath, L"\"?\" at position 5"},
        {L"C:\\a*b", PathProblem::Kind::NotInAnyPath, L"\"*\" at position 5"},
        {L"C:\\a\r\ndel *", PathProblem::Kind::NotInAnyPath, L"a line break at position 5"},
        {L"C:\\a\nb", PathProblem::Kind::NotInAnyPath, L"a line break at position 5"},
        {L"C:\\a\tb", PathProblem::Kind::NotInAnyPath, L"a tab at position 5"},
        {L"C:\\a\x1f", PathProblem::Kind::NotInAnyPath, L"control character 31 at position 5"},
        {L"C:\\a\x7f", PathProblem::Kind::NotInAnyPath, L"control character 127 at position 5"},
        {L"C:\\\u30d5\u30a9", PathProblem::Kind::NotInCodePage, L"\"\u30d5\" at position 4"},
        // A pair is one character to the user, and half of one is no character at all.
        {L"\U0001F600\u30d5", PathProblem::Kind::NotInCodePage, L"\"\U0001F600\" at position 1"},
        {L"a\xD83D"
         L"b",
         PathProblem::Kind::NotInCodePage, L"an incomplete character at position 2"},
    };
    for (const auto& [path, kind, named] : refused) {
        const auto problem = problem_of(path);
        ASSERT_TRUE(problem) << std::string(named.begin(), named.end());
        EXPECT_EQ(problem->kind, kind);
        const std::wstring message = source_path::describe(*problem);
        EXPECT_NE(message.find(named), std::wstring::npos)
            << std::string(named.begin(), named.end());
        EXPECT_NE(message.find(L"Nothing was changed"), std::wstring::npos);
    }
}

}  // namespace

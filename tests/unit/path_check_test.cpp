#include "source_path/path_check.hpp"

#include <gtest/gtest.h>

namespace {

using source_path::find_path_problem;
using source_path::PathProblem;

// Stands in for a Western code page: Latin-1 and nothing beyond.
bool latin1_holds(wchar_t character) {
    return character < 0x100;
}

std::optional<PathProblem> problem_of(std::wstring_view path) {
    return find_path_problem(path, latin1_holds);
}

TEST(PathCheck, PassesEveryPathARealFolderCanHave) {
    for (const std::wstring_view path :
         {L"C:\\Program Files\\Avira\\Antivir Desktop", L"D:\\R&D (old)\\100% done!\\",
          L"\\\\server\\share\\a;b,c=d^e~f", L"C:\\Caf\u00e9 \u00c5r", L"   ", L"C:"}) {
        EXPECT_FALSE(problem_of(path)) << std::string(path.begin(), path.end());
    }
}

class RefusedCharacter : public testing::TestWithParam<wchar_t> {};

TEST_P(RefusedCharacter, IsNamedWithItsPosition) {
    const std::wstring path = std::wstring(L"C:\\a") + GetParam() + L"b";
    const auto problem = problem_of(path);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->kind, PathProblem::Kind::NotInAnyPath);
    EXPECT_EQ(problem->character, GetParam());
    EXPECT_EQ(problem->position, 5u);
}

INSTANTIATE_TEST_SUITE_P(NoPathHoldsThem, RefusedCharacter,
                         testing::Values(L'<', L'>', L'"', L'|', L'?', L'*', L'\n', L'\r', L'\t',
                                         L'\x01', L'\x1f', L'\x7f'));

TEST(PathCheck, RefusesACharacterTheCodePageCannotHold) {
    const auto problem = problem_of(L"C:\\\u30d5\u30a9\u30eb\u30c0");
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->kind, PathProblem::Kind::NotInCodePage);
    EXPECT_EQ(problem->character, L'\u30d5');
    EXPECT_EQ(problem->position, 4u);
}

TEST(PathCheck, ReportsTheFirstProblem) {
    const auto problem = problem_of(L"a*b|c");
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->character, L'*');
    EXPECT_EQ(problem->position, 2u);
}

TEST(PathCheck, MessageNamesTheCharacterThePlaceAndThatNothingChanged) {
    const std::wstring pipe = source_path::describe(*problem_of(L"C:\\x|y"));
    EXPECT_NE(pipe.find(L"\"|\" at position 5"), std::wstring::npos);
    EXPECT_NE(pipe.find(L"Nothing was changed"), std::wstring::npos);
    const std::wstring line_break = source_path::describe(*problem_of(L"C:\\x\r\ndel *"));
    EXPECT_NE(line_break.find(L"a line break at position 5"), std::wstring::npos);
}

}  // namespace

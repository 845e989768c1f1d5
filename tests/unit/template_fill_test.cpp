#include "generate/template_fill.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using generate::fill_template;

constexpr std::wstring_view kDefaultPath = L"C:\\Program Files\\Avira\\Antivir Desktop";

TEST(FillTemplate, ReplacesEveryTokenWithThePath) {
    EXPECT_EQ(fill_template(L"xcopy \"PATHtoFOLDER\" D:\\copy\r\ndir PATHtoFOLDER\r\n", L"C:\\AV"),
              L"xcopy \"C:\\AV\" D:\\copy\r\ndir C:\\AV\r\n");
}

TEST(FillTemplate, TokensBackToBackGiveThePathTwice) {
    EXPECT_EQ(fill_template(L"PATHtoFOLDERPATHtoFOLDER", L"C:\\A"), L"C:\\AC:\\A");
}

TEST(FillTemplate, MatchesTheTokenInsideWordsAndQuotes) {
    EXPECT_EQ(fill_template(L"set X=prePATHtoFOLDERpost", L"Y"), L"set X=preYpost");
    EXPECT_EQ(fill_template(L"\"PATHtoFOLDER\"", L"Y"), L"\"Y\"");
}

TEST(FillTemplate, LeavesOtherSpellingsOfTheTokenAlone) {
    const std::wstring text = L"pathtofolder PATHTOFOLDER PathToFolder PATHtoFOLDE PATHto FOLDER";
    EXPECT_EQ(fill_template(text, L"C:\\AV"), text);
}

TEST(FillTemplate, DoesNotExpandATokenInsideThePath) {
    EXPECT_EQ(fill_template(L"[PATHtoFOLDER] [PATHtoFOLDER]", L"a PATHtoFOLDER b"),
              L"[a PATHtoFOLDER b] [a PATHtoFOLDER b]");
}

TEST(FillTemplate, FindsTokensLeftToRightWithoutOverlap) {
    // The token's own letters around a token are no token once it is taken out.
    EXPECT_EQ(fill_template(L"PATHtoPATHtoFOLDERFOLDER", L"X"), L"PATHtoXFOLDER");
}

TEST(FillTemplate, InsertsAPathWithBlanksWithoutQuotes) {
    EXPECT_EQ(fill_template(L"cd /d PATHtoFOLDER", kDefaultPath),
              L"cd /d C:\\Program Files\\Avira\\Antivir Desktop");
}

TEST(FillTemplate, KeepsEveryKindOfLineEndAndTheFinalOne) {
    const std::wstring lines = L"a\r\nb\nc\rd\r\n\r\n";
    EXPECT_EQ(fill_template(lines, L"X"), lines);
    EXPECT_EQ(fill_template(L"PATHtoFOLDER\r\n", L"X"), L"X\r\n");
    EXPECT_EQ(fill_template(L"PATHtoFOLDER", L"X"), L"X");
}

TEST(FillTemplate, EmptyTemplateGivesEmptyText) {
    EXPECT_EQ(fill_template(L"", L"X"), L"");
}

TEST(FillTemplate, EmptyPathRemovesTheTokens) {
    EXPECT_EQ(fill_template(L"<PATHtoFOLDER>", L""), L"<>");
}

TEST(FillTemplate, FillingTwiceLeavesTheFirstResult) {
    const std::wstring once = fill_template(L"copy PATHtoFOLDER\\*.dat", kDefaultPath);
    EXPECT_EQ(fill_template(once, kDefaultPath), once);
}

TEST(FillTemplate, HandlesLargeTemplates) {
    std::wstring text;
    std::wstring expected;
    for (int line = 0; line < 200'000; ++line) {
        text += L"copy \"PATHtoFOLDER\\f" + std::to_wstring(line) + L"\" x\r\n";
        expected += L"copy \"C:\\AV\\f" + std::to_wstring(line) + L"\" x\r\n";
    }
    EXPECT_EQ(fill_template(text, L"C:\\AV"), expected);
}

TEST(FillTemplate, KeepsCharactersOutsideAscii) {
    EXPECT_EQ(fill_template(L"\u00e9PATHtoFOLDER\u8868", L"\u30d5\u30a9\u30eb\u30c0"),
              L"\u00e9\u30d5\u30a9\u30eb\u30c0\u8868");
}

// A script file held in memory, which records what the filling did to it.
class MemoryScript final : public generate::ScriptFile {
  public:
    explicit MemoryScript(std::wstring content) : content(std::move(content)) {}
    std::wstring read_text() override {
        ++reads;
        if (fail_reading) {
            throw std::runtime_error("cannot read");
        }
        return content;
    }
    void replace_text(const generate::FilledText& filled) override {
        ++writes;
        content = filled.str();
    }

    std::wstring content;
    int reads = 0;
    int writes = 0;
    bool fail_reading = false;
};

TEST(FillScriptTemplate, WritesTheFilledTextBackOnce) {
    MemoryScript script(L"xcopy PATHtoFOLDER E:\\\r\n");
    generate::fill_script_template(script, L"C:\\AV");
    EXPECT_EQ(script.content, L"xcopy C:\\AV E:\\\r\n");
    EXPECT_EQ(script.reads, 1);
    EXPECT_EQ(script.writes, 1);
}

TEST(FillScriptTemplate, WritesNothingWhenTheReadFails) {
    MemoryScript script(L"PATHtoFOLDER");
    script.fail_reading = true;
    EXPECT_THROW(generate::fill_script_template(script, L"C:\\AV"), std::runtime_error);
    EXPECT_EQ(script.writes, 0);
    EXPECT_EQ(script.content, L"PATHtoFOLDER");
}

}  // namespace

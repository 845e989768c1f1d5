#include "generate/template_fill.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using generate::ByteRange;
using generate::LeadBytes;

constexpr ByteRange kJapaneseLeadBytes[] = {{0x81, 0x9F}, {0xE0, 0xFC}};  // code page 932
const LeadBytes kSingleByte;
const LeadBytes kJapanese(kJapaneseLeadBytes);

struct Case {
    const char* what;
    std::string text;
    std::string path;
    const LeadBytes& lead_bytes;
    std::string filled;
};

const Case kCases[] = {
    {"every token", "xcopy \"PATHtoFOLDER\" D:\\copy\r\ndir PATHtoFOLDER\r\n", "C:\\AV",
     kSingleByte, "xcopy \"C:\\AV\" D:\\copy\r\ndir C:\\AV\r\n"},
    {"back to back", "PATHtoFOLDERPATHtoFOLDER", "C:\\A", kSingleByte, "C:\\AC:\\A"},
    {"inside a word", "set X=prePATHtoFOLDERpost", "Y", kSingleByte, "set X=preYpost"},
    {"other spellings", "pathtofolder PATHTOFOLDER PATHtoFOLDE PATHto FOLDER", "X", kSingleByte,
     "pathtofolder PATHTOFOLDER PATHtoFOLDE PATHto FOLDER"},
    {"no overlap", "PATHtoPATHtoFOLDERFOLDER", "X", kSingleByte, "PATHtoXFOLDER"},
    {"no rescan of the path", "[PATHtoFOLDER]", "a PATHtoFOLDER b", kSingleByte,
     "[a PATHtoFOLDER b]"},
    {"blanks, no quotes", "cd /d PATHtoFOLDER", "C:\\Program Files\\Avira\\Antivir Desktop",
     kSingleByte, "cd /d C:\\Program Files\\Avira\\Antivir Desktop"},
    {"line ends as they are", "a\r\nb\nc\rPATHtoFOLDER\r\n\r\n", "X", kSingleByte,
     "a\r\nb\nc\rX\r\n\r\n"},
    {"no final line end", "PATHtoFOLDER", "X", kSingleByte, "X"},
    {"empty template", "", "X", kSingleByte, ""},
    {"empty path", "<PATHtoFOLDER>", "", kSingleByte, "<>"},
    {"bytes a single-byte code page leaves undefined", "\x81\x8D\x8F\x90\x9DPATHtoFOLDER", "X",
     kSingleByte, "\x81\x8D\x8F\x90\x9DX"},
    {"a trail byte P is no token", "\x83PATHtoFOLDER PATHtoFOLDER", "X", kJapanese,
     "\x83PATHtoFOLDER X"},
    {"characters with two encodings kept", "\xED\x40PATHtoFOLDER\x87\x90", "\x83\x5C", kJapanese,
     "\xED\x40\x83\x5C\x87\x90"},
    {"a lone lead byte at the end", "PATHtoFOLDER\x83", "X", kJapanese, "X\x83"},
};

// Every case once whole and once at every split into two pieces, and byte by byte: the
// ends of pieces must change nothing.
TEST(FillTemplate, FillsEveryCaseInAnyPieces) {
    for (const Case& c : kCases) {
        EXPECT_EQ(generate::fill_template(c.text, c.path, c.lead_bytes), c.filled) << c.what;
        for (std::size_t split = 0; split <= c.text.size(); ++split) {
            generate::TemplateFiller filler(c.path, c.lead_bytes);
            std::string filled;
            filler.fill(std::string_view(c.text).substr(0, split), filled);
            filler.fill(std::string_view(c.text).substr(split), filled);
            filler.fill({}, filled);
            EXPECT_EQ(filled, c.filled) << c.what << ", split at " << split;
        }
        generate::TemplateFiller filler(c.path, c.lead_bytes);
        std::string filled;
        for (const char byte : c.text) {
            filler.fill(std::string_view(&byte, 1), filled);
        }
        filler.fill({}, filled);
        EXPECT_EQ(filled, c.filled) << c.what << ", byte by byte";
    }
}

TEST(FillTemplate, FillingTwiceLeavesTheFirstResult) {
    const std::string once = generate::fill_template("copy PATHtoFOLDER\\*.dat", "C:\\AV");
    EXPECT_EQ(generate::fill_template(once, "C:\\AV"), once);
}

}  // namespace

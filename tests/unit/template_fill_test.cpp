#include "generate/template_fill.hpp"

#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr generate::ByteRange kJapaneseLeadBytes[] = {{0x81, 0x9F}, {0xE0, 0xFC}};  // 932

// The template, the path, whether code page 932's lead bytes apply (else none), the filled text.
using Case = std::tuple<std::string, std::string, bool, std::string>;

const Case kCases[] = {
    {"xcopy \"PATHtoFOLDER\" D:\\\r\ndir PATHtoFOLDER\r\n", "C:\\AV", false,
     "xcopy \"C:\\AV\" D:\\\r\ndir C:\\AV\r\n"},
    {"PATHtoFOLDERPATHtoFOLDER", "C:\\A", false, "C:\\AC:\\A"},
    {"set X=prePATHtoFOLDERpost", "Y", false, "set X=preYpost"},
    {"pathtofolder PATHTOFOLDER PATHtoFOLDE PATHto FOLDER", "X", false,
     "pathtofolder PATHTOFOLDER PATHtoFOLDE PATHto FOLDER"},
    {"PATHtoPATHtoFOLDERFOLDER", "X", false, "PATHtoXFOLDER"},
    {"[PATHtoFOLDER]", "a PATHtoFOLDER b", false, "[a PATHtoFOLDER b]"},
    {"cd /d PATHtoFOLDER", "C:\\Program Files\\AV", false, "cd /d C:\\Program Files\\AV"},
    {"a\r\nb\nc\rPATHtoFOLDER\r\n\r\n", "X", false, "a\r\nb\nc\rX\r\n\r\n"},
    {"PATHtoFOLDER", "X", false, "X"},
    {"", "X", false, ""},
    {"<PATHtoFOLDER>", "", false, "<>"},
    // Bytes that code page 1252 leaves undefined.
    {"\x81\x8D\x8F\x90\x9DPATHtoFOLDER", "X", false, "\x81\x8D\x8F\x90\x9DX"},
    // A trail byte that reads as P; characters that code page 932 encodes twice; a lead
    // byte with nothing after it.
    {"\x83PATHtoFOLDER PATHtoFOLDER", "X", true, "\x83PATHtoFOLDER X"},
    {"\xED\x40PATHtoFOLDER\x87\x90", "\x83\x5C", true, "\xED\x40\x83\x5C\x87\x90"},
    {"PATHtoFOLDER\x83", "X", true, "X\x83"},
};

TEST(FillTemplate, FillsEveryCaseWholeAndInAnyPieces) {
    for (const auto& [text, path, japanese, filled] : kCases) {
        const generate::LeadBytes lead_bytes =
            japanese ? generate::LeadBytes(kJapaneseLeadBytes) : generate::LeadBytes();
        // A first piece of each length, the whole among them, then the rest byte by byte.
        for (std::size_t split = 1; split <= std::max<std::size_t>(text.size(), 1); ++split) {
            generate::TemplateFiller filler(path, lead_bytes);
            std::string out;
            std::string piece_out = "left from before";
            const auto fill = [&](std::string_view piece) {
                filler.fill(piece, piece_out);
                out += piece_out;
            };
            fill(std::string_view(text).substr(0, split));
            for (std::size_t at = split; at < text.size(); ++at) {
                fill(std::string_view(text).substr(at, 1));
            }
            fill({});
            EXPECT_EQ(out, filled) << text << ", first piece " << split;
        }
    }
}

}  // namespace

// Fuzzes the template filling, in pieces of 1 to 128 bytes, against a naive reference.
// Input: the first byte chooses the lead bytes (its lowest bit: none, as in code page 1252,
// or those of code page 932) and the size of the pieces (the other bits); the second gives
// the path's length; the path follows, then the template.
#include "generate/template_fill.hpp"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr generate::ByteRange kJapaneseLeadBytes[] = {{0x81, 0x9F}, {0xE0, 0xFC}};

// At each place either the whole token starts there, or a double-byte character is copied
// whole, or one byte is copied.
std::string naive_fill(std::string_view text, std::string_view path,
                       const generate::LeadBytes& lead_bytes) {
    std::string filled;
    for (std::size_t at = 0; at < text.size();) {
        if (text.substr(at).starts_with(generate::kTemplateToken)) {
            filled += path;
            at += generate::kTemplateToken.size();
        } else {
            const std::size_t length =
                lead_bytes.contains(static_cast<unsigned char>(text[at])) ? 2 : 1;
            filled += text.substr(at, length);
            at += length;
        }
    }
    return filled;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const generate::LeadBytes lead_bytes =
        data[0] & 1 ? generate::LeadBytes(kJapaneseLeadBytes) : generate::LeadBytes();
    const std::size_t piece_size = (data[0] >> 1) + 1u;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::string_view path = rest.substr(0, data[1]);
    const std::string_view text = rest.substr(path.size());

    generate::TemplateFiller filler(path, lead_bytes);
    std::string in_pieces, piece_out;
    for (std::size_t at = 0; at < text.size(); at += piece_size) {
        filler.fill(text.substr(at, piece_size), piece_out);
        in_pieces += piece_out;
    }
    filler.fill({}, piece_out);
    in_pieces += piece_out;
    if (in_pieces != naive_fill(text, path, lead_bytes)) {
        std::abort();
    }
    return 0;
}

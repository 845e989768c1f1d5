#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace generate {

inline constexpr std::string_view kTemplateToken = "PATHtoFOLDER";

// A range of byte values, both ends included, as the system lists a code page's lead bytes.
struct ByteRange {
    unsigned char first;
    unsigned char last;
};

// The bytes that begin a double-byte character in a code page. Single-byte code pages and
// UTF-8 have none: in UTF-8 no byte of a longer sequence is an ASCII letter.
class LeadBytes {
  public:
    LeadBytes() = default;
    explicit LeadBytes(std::span<const ByteRange> ranges);
    [[nodiscard]] bool contains(unsigned char byte) const noexcept { return lead_[byte]; }
    [[nodiscard]] bool none() const noexcept { return none_; }

  private:
    std::array<bool, 256> lead_{};
    bool none_ = true;
};

// Puts the source path, already in the template's code page, in place of every
// kTemplateToken: matched byte for byte and case-sensitively, from left to right without
// overlap, never inside a double-byte character, and never inside an inserted path. Every
// other byte is copied as it stands; the template is never decoded, so no byte of it can
// change. The template may arrive in pieces of any size.
class TemplateFiller {
  public:
    TemplateFiller(std::string_view path, const LeadBytes& lead_bytes);

    // Puts the filled form of the piece in out, in place of what out held; out's storage is
    // reused, so a caller that passes the same string for every piece seldom allocates.
    // Bytes at the end of a piece that may begin a token or a double-byte character wait
    // for the next piece. An empty piece ends the template: what waits is put as it stands.
    void fill(std::string_view piece, std::string& out);

  private:
    class Output;

    void fill_with_waiting(std::string_view piece, Output& out);
    std::size_t copy_to_next_token_or_lead_byte(std::string_view text, std::size_t at,
                                                Output& out) const;
    std::size_t fill_decided(std::string_view text, bool more_follows, Output& out) const;

    std::string path_;
    LeadBytes lead_bytes_;
    std::string waiting_;
};

}  // namespace generate

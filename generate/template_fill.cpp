#include "generate/template_fill.hpp"

#include <algorithm>
#include <cstring>

namespace generate {
namespace {

// The text is read and copied a machine word at a time: the library's memchr and memcpy
// cost more than the work itself on runs as short as those between tokens.
using Word = std::size_t;
constexpr Word kOnes = ~Word{0} / 0xFF;  // 0x01 in every byte
constexpr Word kHighBits = kOnes << 7;   // 0x80 in every byte

Word load_word(const char* bytes) noexcept {
    Word word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

void store_word(char* bytes, Word word) noexcept {
    std::memcpy(bytes, &word, sizeof word);
}

void copy_bytes(char* to, std::string_view bytes) noexcept {
    const char* from = bytes.data();
    std::size_t left = bytes.size();
    for (; left >= sizeof(Word); left -= sizeof(Word), from += sizeof(Word), to += sizeof(Word)) {
        store_word(to, load_word(from));
    }
    for (; left != 0; --left) {
        *to++ = *from++;
    }
}

}  // namespace

// The filled bytes, written into the caller's string as plain storage: its whole capacity
// is used before it grows, and it is cut to length at the end.
class TemplateFiller::Output {
  public:
    explicit Output(std::string& bytes) : bytes_(bytes) { bytes_.resize(bytes_.capacity()); }

    void put(std::string_view more) {
        copy_bytes(room_for(more.size()), more);
        size_ += more.size();
    }

    // Copies the text from at up to the first byte equal to wanted, and returns where that
    // byte stands, or the text's size. Each word is copied as it is searched; the bytes of
    // the last one from that byte on are counted as not copied, and are written over.
    std::size_t copy_until(std::string_view text, std::size_t at, char wanted) {
        char* const to = room_for(text.size() - at);
        const Word pattern = kOnes * static_cast<unsigned char>(wanted);
        const std::size_t start = at;
        for (; text.size() - at >= sizeof(Word); at += sizeof(Word)) {
            const Word word = load_word(text.data() + at);
            store_word(to + (at - start), word);
            // The word holds wanted where the difference has a zero byte.
            const Word difference = word ^ pattern;
            if ((difference - kOnes) & ~difference & kHighBits) {
                break;
            }
        }
        for (; at < text.size() && text[at] != wanted; ++at) {
            to[at - start] = text[at];
        }
        size_ += at - start;
        return at;
    }

    void cut_to_length() { bytes_.resize(size_); }

  private:
    char* room_for(std::size_t more) {
        if (bytes_.size() - size_ < more) {
            bytes_.resize(std::max(2 * bytes_.size(), size_ + more));
        }
        return bytes_.data() + size_;
    }

    std::string& bytes_;
    std::size_t size_ = 0;
};

LeadBytes::LeadBytes(std::span<const ByteRange> ranges) {
    for (const ByteRange& range : ranges) {
        for (unsigned byte = range.first; byte <= range.last; ++byte) {
            lead_[byte] = true;
            none_ = false;
        }
    }
}

TemplateFiller::TemplateFiller(std::string_view path, const LeadBytes& lead_bytes)
    : path_(path), lead_bytes_(lead_bytes) {}

void TemplateFiller::fill(std::string_view piece, std::string& out) {
    Output output(out);
    fill_with_waiting(piece, output);
    output.cut_to_length();
}

void TemplateFiller::fill_with_waiting(std::string_view piece, Output& out) {
    if (!waiting_.empty()) {
        // A token's length of the piece decides every byte that waits.
        const std::size_t waited = waiting_.size();
        waiting_.append(piece.substr(0, kTemplateToken.size()));
        const std::size_t done = fill_decided(waiting_, !piece.empty(), out);
        if (done < waited) {
            waiting_.erase(0, done);  // the piece was too short to decide them
            return;
        }
        piece.remove_prefix(done - waited);
        waiting_.clear();
    }
    const std::size_t done = fill_decided(piece, !piece.empty(), out);
    waiting_.assign(piece.substr(done));
}

// Copies the text from at up to the next byte that may begin a token or a double-byte
// character, and returns where it stands, or the text's size if there is none.
std::size_t TemplateFiller::copy_to_next_token_or_lead_byte(std::string_view text, std::size_t at,
                                                            Output& out) const {
    if (lead_bytes_.none()) {
        return out.copy_until(text, at, kTemplateToken.front());
    }
    const std::size_t start = at;
    while (at < text.size() && text[at] != kTemplateToken.front() &&
           !lead_bytes_.contains(static_cast<unsigned char>(text[at]))) {
        ++at;
    }
    out.put(text.substr(start, at - start));
    return at;
}

// Fills text from its start and returns how many bytes it has decided. When more bytes
// follow, it stops at a token or double-byte character that the text's end cuts off.
std::size_t TemplateFiller::fill_decided(std::string_view text, bool more_follows,
                                         Output& out) const {
    std::size_t at = 0;
    while ((at = copy_to_next_token_or_lead_byte(text, at, out)) < text.size()) {
        const std::string_view rest = text.substr(at);
        if (rest.starts_with(kTemplateToken)) {
            out.put(path_);
            at += kTemplateToken.size();
            continue;
        }
        const bool token_start = rest.front() == kTemplateToken.front();
        if (more_follows && (token_start ? kTemplateToken.starts_with(rest) : rest.size() == 1)) {
            break;
        }
        // A byte like the token's first that begins none, or a double-byte character. At the
        // template's very end a lead byte has no trail byte to pair with, and no token can
        // start inside it: it is copied as it stands.
        const std::string_view character = rest.substr(0, token_start ? 1 : 2);
        out.put(character);
        at += character.size();
    }
    return at;
}

}  // namespace generate

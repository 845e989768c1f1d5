#include "generate/template_fill.hpp"

#include <algorithm>

namespace generate {

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

// Where the next byte that may begin a token or a double-byte character stands, or the
// text's size if there is none. Without lead bytes the search runs at the speed of memchr.
std::size_t TemplateFiller::next_token_or_lead_byte(std::string_view text,
                                                    std::size_t at) const noexcept {
    if (lead_bytes_.none()) {
        return std::min(text.find(kTemplateToken.front(), at), text.size());
    }
    while (at < text.size() && text[at] != kTemplateToken.front() &&
           !lead_bytes_.contains(static_cast<unsigned char>(text[at]))) {
        ++at;
    }
    return at;
}

// Fills text from its start and returns how many bytes it has decided. When more bytes
// follow, it stops at a token or double-byte character that the text's end cuts off.
std::size_t TemplateFiller::fill_decided(std::string_view text, bool more_follows,
                                         std::string& out) const {
    std::size_t copied = 0;  // bytes before this are in out already
    std::size_t at = 0;
    while ((at = next_token_or_lead_byte(text, at)) < text.size()) {
        if (text[at] == kTemplateToken.front()) {
            const std::string_view rest = text.substr(at);
            if (rest.starts_with(kTemplateToken)) {
                out.append(text.substr(copied, at - copied));
                out.append(path_);
                at += kTemplateToken.size();
                copied = at;
                continue;
            }
            if (more_follows && kTemplateToken.starts_with(rest)) {
                break;
            }
            ++at;
        } else {
            if (more_follows && at + 1 == text.size()) {
                break;
            }
            // At the template's very end a lead byte has no trail byte to pair with, and no
            // token can start inside it: it is copied as it stands.
            at = std::min(at + 2, text.size());
        }
    }
    out.append(text.substr(copied, at - copied));
    return at;
}

}  // namespace generate

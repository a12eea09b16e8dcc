#include "text/lzw.h"

namespace vx {

LzwDecoder::LzwDecoder(std::size_t expectedCodes) {
    if (expectedCodes > kLzwOutputLimit) {
        bad_ = true;
        return;
    }
    starts_.reserve(expectedCodes);
    out_.reserve(expectedCodes);
}

bool LzwDecoder::Add(std::uint64_t code) {
    if (bad_) return false;
    const std::size_t here = out_.size();
    if (starts_.empty()) {
        // The first code has no predecessor; only its low byte counts.
        starts_.push_back(0);
        out_.push_back(std::uint8_t(code));
        return true;
    }
    // Codes 256 .. 256 + j - 1 exist at the j-th code, the last of them being defined by this very code
    // (its string is the previous string followed by its own first byte).
    const std::size_t j = starts_.size();
    if (code >= 256 + std::uint64_t(j)) {
        bad_ = true;
        return false;
    }
    std::size_t from = 0, length = 1;
    if (code >= 256) {
        const std::size_t k = std::size_t(code - 256);
        from = starts_[k];
        length = (k + 1 < j ? starts_[k + 1] : here) - from + 1;
    }
    if (here + length > kLzwOutputLimit) {
        bad_ = true;
        return false;
    }
    starts_.push_back(std::uint32_t(here));
    if (code < 256) {
        out_.push_back(std::uint8_t(code));
    } else {
        // Forward, byte by byte: the string of the code being defined overlaps its own first byte.
        out_.resize(here + length);
        for (std::size_t i = 0; i < length; ++i) out_[here + i] = out_[from + i];
    }
    return true;
}

std::vector<std::uint8_t> LzwDecoder::Finish() {
    if (bad_) return {};
    return std::move(out_);
}

}  // namespace vx

std::vector<std::uint8_t> LzwDecode(std::span<const std::uint64_t> codes) {
    vx::LzwDecoder decoder(codes.size());
    for (std::uint64_t code : codes)
        if (!decoder.Add(code)) return {};
    return decoder.Finish();
}

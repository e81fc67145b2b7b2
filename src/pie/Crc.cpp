// CRC table construction and byte-wise update for any width from 8 to 32 bits.
#include "pie/Crc.h"

#include <stdexcept>

namespace tv {
namespace {

std::uint32_t Reflect(std::uint32_t value, unsigned bits) noexcept {
    std::uint32_t result = 0;
    for (unsigned i = 0; i < bits; ++i) {
        result = (result << 1) | (value & 1u);
        value >>= 1;
    }
    return result;
}

}  // namespace

CrcEngine::CrcEngine(const CrcParameters& parameters) : params_(parameters) {
    if (params_.width < 8 || params_.width > 32) throw std::invalid_argument("CrcEngine: width must be 8..32");
    const unsigned width = params_.width;
    mask_ = width == 32 ? 0xFFFFFFFFu : ((1u << width) - 1u);
    const std::uint32_t top = 1u << (width - 1);
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t entry = (params_.reflected ? Reflect(i, 8) : i) << (width - 8);
        for (int round = 0; round < 8; ++round) {
            const bool carry = (entry & top) != 0;
            entry = (entry << 1) & mask_;
            if (carry) entry ^= params_.polynomial & mask_;
        }
        table_[i] = params_.reflected ? Reflect(entry, width) : entry;
    }
}

std::uint32_t CrcEngine::FreshValue() const noexcept {
    const std::uint32_t init = params_.reflected ? Reflect(params_.initial & mask_, params_.width) : params_.initial;
    return (init ^ params_.finalXor) & mask_;
}

std::uint32_t CrcEngine::Update(std::uint32_t value, const void* bytes, std::size_t length) const noexcept {
    const auto* p = static_cast<const unsigned char*>(bytes);
    value ^= params_.finalXor;
    value &= mask_;
    if (params_.reflected) {
        for (std::size_t i = 0; i < length; ++i) value = table_[(value ^ p[i]) & 0xFFu] ^ (value >> 8);
    } else {
        const unsigned shift = params_.width - 8u;
        for (std::size_t i = 0; i < length; ++i)
            value = (table_[((value >> shift) & 0xFFu) ^ p[i]] ^ (value << 8)) & mask_;
    }
    return (value ^ params_.finalXor) & mask_;
}

}  // namespace tv

// Table-driven parameterised CRC (tv::CrcEngine) and a running checksum bound to an engine (tv::Crc).
// The pie's name colouring keeps one engine set up as the standard CRC-32 and one tv::Crc over it:
// Reset(), Update(name bytes), Value().
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tv {

struct CrcParameters {
    std::uint32_t polynomial;  // normal (non-reflected) form
    std::uint32_t initial;
    std::uint32_t finalXor;
    bool reflected;      // input and output
    std::uint8_t width;  // 8..32 bits
};

// CRC-32 as zlib computes it (ISO-HDLC).
inline constexpr CrcParameters kCrc32{0x04C11DB7u, 0xFFFFFFFFu, 0xFFFFFFFFu, true, 32};

class CrcEngine {
public:
    explicit CrcEngine(const CrcParameters& parameters);

    const CrcParameters& Parameters() const noexcept { return params_; }
    // The register value a fresh tv::Crc holds (already combined with the final XOR).
    std::uint32_t FreshValue() const noexcept;
    // Continues a CRC: `value` and the result are in the combined (final-XORed) form.
    std::uint32_t Update(std::uint32_t value, const void* bytes, std::size_t length) const noexcept;

private:
    CrcParameters params_;
    std::uint32_t mask_;
    std::array<std::uint32_t, 256> table_{};
};

class Crc {
public:
    explicit Crc(const CrcEngine& engine) noexcept : engine_(&engine), value_(engine.FreshValue()) {}

    void Reset() noexcept { value_ = engine_->FreshValue(); }
    void Update(const void* bytes, std::size_t length) noexcept { value_ = engine_->Update(value_, bytes, length); }
    std::uint32_t Value() const noexcept { return value_; }

private:
    const CrcEngine* engine_;
    std::uint32_t value_;
};

}  // namespace tv

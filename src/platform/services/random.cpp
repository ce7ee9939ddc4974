#include "platform/services/random.h"

namespace kelvane::services {

namespace {
constexpr std::uint32_t mask24 = 0xFFFFFFu;
constexpr float scale24 = 1.0F / 16777216.0F; // 2^-24
} // namespace

float SystemRandom::next() {
    // A 24-bit linear congruential generator with a fixed start: every state fits a float's mantissa exactly, so the
    // quotient below is exact and never rounds up to 1.0.
    state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & mask24;
    return static_cast<float>(state_) * scale24;
}

} // namespace kelvane::services

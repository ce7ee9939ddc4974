#pragma once

#include <cstdint>

namespace kelvane::services {

// Uniform in [0, 1), single precision. Never seeded from the clock: the same sequence at each start.
class RandomService {
public:
    virtual ~RandomService() = default;
    virtual float next() = 0;
};

class SystemRandom final : public RandomService {
public:
    float next() override;

private:
    std::uint32_t state_ = 0x50000u; // fixed start: the sequence is the same at every run of the program
};

} // namespace kelvane::services

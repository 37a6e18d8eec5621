#pragma once

#include <cstdint>

namespace norvale {

// Random numbers from the system's cryptographic generator, for values an attacker on the
// network must not guess.
class RandomSource {
public:
    virtual ~RandomSource() = default;

    // Raises std::runtime_error when the system's generator fails.
    virtual std::uint32_t Random32() = 0;
};

} // namespace norvale

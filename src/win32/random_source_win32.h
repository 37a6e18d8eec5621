#pragma once

#include "core/platform/random_source.h"

namespace norvale::win32 {

// The system's preferred cryptographic generator (BCryptGenRandom).
class Win32RandomSource final : public RandomSource {
public:
    std::uint32_t Random32() override;
};

} // namespace norvale::win32

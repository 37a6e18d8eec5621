#include "core/text/integer_text.h"

#include "core/text/ascii.h"

#include <cstdint>
#include <limits>

namespace norvale {

std::optional<int> ParseDecimalInteger(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    const long long limit = negative
                                ? -static_cast<long long>(std::numeric_limits<std::int32_t>::min())
                                : std::numeric_limits<std::int32_t>::max();
    long long value = 0;
    for (const char c : text) {
        if (!IsDigitAscii(c)) {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace norvale

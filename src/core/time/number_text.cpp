#include "core/time/number_text.h"

#include "core/text/ascii.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace norvale {
namespace {

constexpr int kSignificantDigits = 15;
constexpr int kSmallestFixedExponent = -5;

} // namespace

std::string FormatGeneralNumber(double value) {
    if (!std::isfinite(value)) {
        return "0";
    }
    if (value == 0) {
        return "0";
    }
    // Correctly rounded digits "d.dddddddddddddde±x" from the standard library.
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, kSignificantDigits - 1);
    std::string_view sci(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = sci.find('e');
    const int exponent = std::atoi(std::string(sci.substr(e + 1)).c_str());

    std::string out;
    std::string_view mantissa = sci.substr(0, e);
    if (mantissa.front() == '-') {
        out += '-';
        mantissa.remove_prefix(1);
    }
    std::string digits;
    for (const char c : mantissa) {
        if (c != '.') {
            digits += c;
        }
    }
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }

    if (exponent < kSmallestFixedExponent || exponent >= kSignificantDigits) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += exponent < 0 ? "E-" : "E+";
        out += std::to_string(std::abs(exponent));
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const auto whole = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= whole) {
            out += digits;
            out.append(whole - digits.size(), '0');
        } else {
            out.append(digits, 0, whole);
            out += '.';
            out.append(digits, whole);
        }
    }
    return out;
}

std::optional<double> ParseGeneralNumber(std::string_view text, std::string_view decimalSeparator) {
    // The stored text always has "."; it is read as if written with the locale's separator.
    std::string localised;
    for (const char c : text) {
        if (c == '.') {
            localised += decimalSeparator;
        } else {
            localised += c;
        }
    }
    return ParseLocaleNumber(localised, decimalSeparator);
}

std::optional<double> ParseLocaleNumber(std::string_view text, std::string_view decimalSeparator) {
    // Normalise to the "." form that std::from_chars reads, accepting one separator at most.
    const std::string_view trimmed = TrimBlanks(text);
    std::string normalised;
    bool seenSeparator = false;
    for (std::size_t i = 0; i < trimmed.size();) {
        if (!decimalSeparator.empty() && trimmed.substr(i).starts_with(decimalSeparator)) {
            if (seenSeparator) {
                return std::nullopt;
            }
            seenSeparator = true;
            normalised += '.';
            i += decimalSeparator.size();
            continue;
        }
        const char c = trimmed[i++];
        if (!(IsDigitAscii(c) || c == '+' || c == '-' || c == 'e' || c == 'E')) {
            return std::nullopt;
        }
        normalised += c;
    }
    std::string_view number = normalised;
    if (number.starts_with('+')) {
        number.remove_prefix(1); // from_chars takes no plus sign on the mantissa
        if (number.starts_with('-')) {
            return std::nullopt;
        }
    }
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc{} || end != number.data() + number.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace norvale

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace norvale {

// The general number text of stored doubles: at most 15 significant digits, no trailing
// zeros, "." as the decimal separator whatever the locale, and exponent notation ("E" with a
// signed exponent) only below 0.00001 or from 10^15 on. 1.5 days is "1.5", zero is "0".
std::string FormatGeneralNumber(double value);

// Reads such a text the way the settings always have: every "." becomes the locale's
// decimal separator and the result must be one number written with that separator,
// surrounding blanks allowed. nullopt when it is not (and for NaN or infinite results).
std::optional<double> ParseGeneralNumber(std::string_view text, std::string_view decimalSeparator);

// Reads one decimal number (optional sign, fraction after the locale's decimal separator,
// optional exponent) with surrounding blanks allowed; a "." that is not the locale's
// separator makes it no number. nullopt for anything else and for NaN or infinite results.
std::optional<double> ParseLocaleNumber(std::string_view text, std::string_view decimalSeparator);

} // namespace norvale

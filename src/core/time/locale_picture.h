#pragma once

#include <string>
#include <string_view>

namespace norvale {

// Translates the platform's locale pictures ("M/d/yyyy", "h:mm:ss tt", "dd.MM.yyyy",
// "HH'h'mm") into the format language, so the locale's short date and long time formats
// drive both the formatter and the parser. Occurrences of the locale's separator become the
// separator token; other text stays literal.
std::string DatePictureToFormat(std::string_view picture, std::string_view dateSeparator);
std::string TimePictureToFormat(std::string_view picture, std::string_view timeSeparator);

} // namespace norvale

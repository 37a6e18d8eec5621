#pragma once

#include <string>
#include <string_view>

namespace norvale {

// The text of the application's error report: the error's own text, with a "." added when
// its last character sorts after ".". Texts are UTF-8, so a last character beyond ASCII ends
// in a byte above "." and gets the full stop as well.
std::string ErrorReportText(std::string_view errorText);

} // namespace norvale

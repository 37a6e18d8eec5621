#include "core/shell/error_report.h"

namespace norvale {

std::string ErrorReportText(std::string_view errorText) {
    std::string text(errorText);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
        text += '.';
    }
    return text;
}

} // namespace norvale

#include "win32/error_report_win32.h"

#include "core/shell/error_report.h"
#include "win32/main_window.h"
#include "win32/wide_text.h"

namespace norvale::win32 {

void ShowErrorReport(HWND owner, std::string_view errorText) {
    MessageBoxW(owner, ToWide(ErrorReportText(errorText)).c_str(), kAppTitle, MB_OK | MB_ICONERROR);
}

} // namespace norvale::win32

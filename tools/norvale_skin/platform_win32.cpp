#include "tools/norvale_skin/platform.h"
#include "win32/file_system_win32.h"
#include "win32/gdi_text_rasterizer.h"
#include "win32/locale_format_settings.h"
#include "win32/msxml_document.h"

namespace norvale::tools {

std::unique_ptr<XmlDocument> MakeXmlDocument() {
    return win32::MakeMsxmlDocument();
}

std::unique_ptr<FileSystem> MakeFileSystem() {
    return std::make_unique<win32::Win32FileSystem>();
}

std::unique_ptr<TextRasterizer> MakeTextRasterizer() {
    return std::make_unique<win32::GdiTextRasterizer>();
}

FormatSettings UserFormatSettings() {
    return win32::ReadUserFormatSettings();
}

} // namespace norvale::tools

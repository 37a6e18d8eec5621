#include "linux/file_system_posix.h"
#include "linux/freetype_text_rasterizer.h"
#include "linux/pugixml_document.h"
#include "tools/norvale_skin/platform.h"

namespace norvale::tools {

std::unique_ptr<XmlDocument> MakeXmlDocument() {
    return linux_adapter::MakePugixmlDocument();
}

std::unique_ptr<FileSystem> MakeFileSystem() {
    return std::make_unique<linux_adapter::PosixFileSystem>();
}

std::unique_ptr<TextRasterizer> MakeTextRasterizer() {
    return std::make_unique<linux_adapter::FreeTypeTextRasterizer>();
}

FormatSettings UserFormatSettings() {
    return FormatSettings::EnglishUnitedStates();
}

} // namespace norvale::tools

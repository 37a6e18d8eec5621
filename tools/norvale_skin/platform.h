#pragma once

#include "core/platform/file_system.h"
#include "core/platform/text_rasterizer.h"
#include "core/platform/xml_document.h"
#include "core/time/format_settings.h"

#include <memory>

namespace norvale::tools {

// The platform's adapters the skin tool reads and measures with.
std::unique_ptr<XmlDocument> MakeXmlDocument();
std::unique_ptr<FileSystem> MakeFileSystem();
std::unique_ptr<TextRasterizer> MakeTextRasterizer();
FormatSettings UserFormatSettings();

} // namespace norvale::tools

#pragma once

#include "core/platform/xml_document.h"

#include <memory>

namespace norvale::win32 {

// The skin documents read with MSXML 6 through COM, with XPath node selection.
std::unique_ptr<XmlDocument> MakeMsxmlDocument();

} // namespace norvale::win32

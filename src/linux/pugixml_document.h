#pragma once

#include "core/platform/xml_document.h"

#include <memory>

namespace norvale::linux_adapter {

// The skin documents read with pugixml, whose XPath engine answers every query the skin
// format uses.
std::unique_ptr<XmlDocument> MakePugixmlDocument();

} // namespace norvale::linux_adapter

#include "contract/xml_document_contract.h"
#include "linux/pugixml_document.h"

namespace norvale::testing {

std::vector<XmlAdapter> XmlAdapters() {
    return {{"pugixml", &linux_adapter::MakePugixmlDocument, true}};
}

} // namespace norvale::testing

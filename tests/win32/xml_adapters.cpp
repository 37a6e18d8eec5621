#include "contract/xml_document_contract.h"
#include "win32/msxml_document.h"

namespace norvale::testing {

// NOTE: Wine's MSXML reports a parse error as E_FAIL with line 0 and reason "error"; MSXML on
// Windows gives line and position, and the adapter passes them on whenever they are there.
std::vector<XmlAdapter> XmlAdapters() {
    return {{"msxml6", &win32::MakeMsxmlDocument, false}};
}

} // namespace norvale::testing

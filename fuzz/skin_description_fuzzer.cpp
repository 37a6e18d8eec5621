#include "core/skin/skin_description.h"
#include "linux/pugixml_document.h"

#include <cstdint>
#include <string_view>
#include <vector>

// Any byte string as "skin.xml": either an XmlError, or a description with a list of
// problems; never a crash, whatever the locale's decimal separator.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace norvale;
    static const auto document = linux_adapter::MakePugixmlDocument();
    try {
        document->LoadText(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const XmlError&) {
        return 0;
    }
    FormatSettings settings = FormatSettings::EnglishUnitedStates();
    for (const char* separator : {".", ","}) {
        settings.DecimalSeparator = separator;
        std::vector<std::string> problems;
        ReadSkinDescription(*document, settings, problems);
    }
    document->Close();
    return 0;
}

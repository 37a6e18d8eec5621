#include "linux/pugixml_document.h"

#include "core/text/ascii.h"

#include <algorithm>
#include <cstdio>
#include <pugixml.hpp>

namespace norvale::linux_adapter {
namespace {

// pugixml reports a byte offset into the UTF-8 text; people read lines and positions in
// characters (both from 1).
std::string DescribeAt(std::string_view text, std::ptrdiff_t offset, const char* what) {
    int line = 1;
    int position = 1;
    const auto end = static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, offset));
    for (std::size_t i = 0; i < end && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            position = 1;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++position; // a continuation byte is part of the character before it
        }
    }
    return "line " + std::to_string(line) + ", position " + std::to_string(position) + ": " + what;
}

class PugixmlDocument final : public XmlDocument {
public:
    void Load(const std::string& path) override {
        FDocument.reset();
        // Parse from our own buffer so that errors can be placed by line.
        std::string text;
        if (!ReadFile(path, text)) {
            throw XmlError("cannot open file");
        }
        Parse(text);
    }

    void LoadText(std::string_view xml) override { Parse(xml); }

    std::optional<std::string> SelectValue(const std::string& xpath) const override {
        pugi::xpath_node found;
        try {
            found = FDocument.select_node(xpath.c_str());
        } catch (const pugi::xpath_exception&) {
            return std::nullopt;
        }
        if (found.attribute()) {
            return std::string(TrimBlanks(found.attribute().value()));
        }
        const pugi::xml_node node = found.node();
        if (!node) {
            return std::nullopt;
        }
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
            return std::string(TrimBlanks(node.value()));
        }
        for (const pugi::xml_node child : node.children()) {
            if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
                return std::string(TrimBlanks(child.value()));
            }
        }
        return std::string();
    }

    void Close() override { FDocument.reset(); }

private:
    static bool ReadFile(const std::string& path, std::string& text) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) {
            return false;
        }
        char buffer[16384];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
            text.append(buffer, n);
        }
        const bool ok = std::ferror(file) == 0;
        std::fclose(file);
        return ok;
    }

    void Parse(std::string_view xml) {
        FDocument.reset();
        const pugi::xml_parse_result result = FDocument.load_buffer(
            xml.data(), xml.size(), pugi::parse_default | pugi::parse_doctype);
        if (!result) {
            FDocument.reset();
            throw XmlError(DescribeAt(xml, result.offset, result.description()));
        }
        for (const pugi::xml_node node : FDocument.children()) {
            if (node.type() == pugi::node_doctype) {
                const std::ptrdiff_t at = node.offset_debug();
                FDocument.reset();
                throw XmlError(DescribeAt(xml, at, kDoctypeRefused));
            }
        }
    }

    pugi::xml_document FDocument;
};

} // namespace

std::unique_ptr<XmlDocument> MakePugixmlDocument() {
    return std::make_unique<PugixmlDocument>();
}

} // namespace norvale::linux_adapter

#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace norvale {

// A document that could not be read; the text names the line and position where the parser
// gives them.
class XmlError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Both readers refuse a document with a DOCTYPE: a skin must read alike everywhere, and a DTD
// can expand entities without bound.
inline constexpr char kDoctypeRefused[] = "a DOCTYPE is not allowed";

// An XML document answering XPath queries for single values, as the skin reader asks them.
class XmlDocument {
public:
    virtual ~XmlDocument() = default;

    // Parses a file (UTF-8 path) or a UTF-8 text (XmlTextAsUtf8 makes one of any file's
    // bytes), replacing any document held before; positions in errors count characters. Throws
    // XmlError when the file cannot be read, is not well-formed or has a DOCTYPE.
    virtual void Load(const std::string& path) = 0;
    virtual void LoadText(std::string_view xml) = 0;

    // The value of the first node the expression selects, in document order: an attribute's
    // value, a text node's text, or an element's first text child, each without surrounding
    // white space (an element without text gives ""). nullopt when nothing matches or no
    // document is loaded.
    virtual std::optional<std::string> SelectValue(const std::string& xpath) const = 0;

    // Releases the document.
    virtual void Close() = 0;
};

} // namespace norvale

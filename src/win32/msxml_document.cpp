#include "win32/msxml_document.h"

#include "core/text/ascii.h"
#include "win32/wide_text.h"
#include "win32/win32_common.h"

#include <msxml2.h>
#include <objbase.h>
#include <utility>

namespace norvale::win32 {
namespace {

// NOTE: mingw-w64's headers declare IXMLDOMDocument2 but its libraries lack the IID.
constexpr IID kIidXmlDomDocument2 = {
    0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

// Owns one COM interface reference.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* Get() const { return FPointer; }
    T* operator->() const { return FPointer; }
    T** Out() {
        Reset();
        return &FPointer;
    }
    void Swap(ComPtr& other) { std::swap(FPointer, other.FPointer); }
    void Reset() {
        if (FPointer) {
            FPointer->Release();
            FPointer = nullptr;
        }
    }

private:
    T* FPointer = nullptr;
};

// Owns a BSTR.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const std::wstring& text) : FText(SysAllocStringLen(text.data(), Length(text))) {}
    ~Bstr() { SysFreeString(FText); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR Get() const { return FText; }
    BSTR* Out() {
        SysFreeString(FText);
        FText = nullptr;
        return &FText;
    }
    std::string Utf8() const {
        return FText ? ToUtf8(std::wstring_view(FText, SysStringLen(FText))) : std::string();
    }

private:
    static UINT Length(const std::wstring& text) { return static_cast<UINT>(text.size()); }
    BSTR FText = nullptr;
};

std::string Trimmed(const Bstr& text) {
    return std::string(TrimBlanks(text.Utf8()));
}

class MsxmlDocument final : public XmlDocument {
public:
    MsxmlDocument() {
        // S_FALSE (already initialised on this thread) also needs its CoUninitialize.
        const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        FComInitialised = SUCCEEDED(init);
    }

    ~MsxmlDocument() override {
        FDocument.Reset();
        if (FComInitialised) {
            CoUninitialize();
        }
    }

    MsxmlDocument(const MsxmlDocument&) = delete;
    MsxmlDocument& operator=(const MsxmlDocument&) = delete;

    void Load(const std::string& path) override {
        CreateDocument();
        VARIANT source;
        VariantInit(&source);
        source.vt = VT_BSTR;
        Bstr file(ToWide(path));
        source.bstrVal = file.Get();
        VARIANT_BOOL ok = VARIANT_FALSE;
        const HRESULT hr = FDocument->load(source, &ok);
        CheckParsed(hr, ok);
    }

    void LoadText(std::string_view xml) override {
        CreateDocument();
        Bstr text(ToWide(xml));
        VARIANT_BOOL ok = VARIANT_FALSE;
        const HRESULT hr = FDocument->loadXML(text.Get(), &ok);
        CheckParsed(hr, ok);
    }

    std::optional<std::string> SelectValue(const std::string& xpath) const override {
        if (!FDocument.Get()) {
            return std::nullopt;
        }
        Bstr query(ToWide(xpath));
        ComPtr<IXMLDOMNode> node;
        if (FDocument->selectSingleNode(query.Get(), node.Out()) != S_OK || !node.Get()) {
            return std::nullopt;
        }
        DOMNodeType type = NODE_INVALID;
        node->get_nodeType(&type);
        if (type == NODE_ATTRIBUTE || type == NODE_TEXT || type == NODE_CDATA_SECTION) {
            Bstr text;
            node->get_text(text.Out());
            return Trimmed(text);
        }
        // An element: its first text child.
        ComPtr<IXMLDOMNode> child;
        node->get_firstChild(child.Out());
        while (child.Get()) {
            child->get_nodeType(&type);
            if (type == NODE_TEXT || type == NODE_CDATA_SECTION) {
                Bstr text;
                child->get_text(text.Out());
                return Trimmed(text);
            }
            ComPtr<IXMLDOMNode> next;
            child->get_nextSibling(next.Out());
            child.Swap(next);
        }
        return std::string();
    }

    void Close() override { FDocument.Reset(); }

private:
    void CreateDocument() {
        FDocument.Reset();
        CLSID clsid;
        if (FAILED(CLSIDFromProgID(L"Msxml2.DOMDocument.6.0", &clsid)) ||
            FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIidXmlDomDocument2,
                                    reinterpret_cast<void**>(FDocument.Out())))) {
            throw XmlError("MSXML 6 is not available");
        }
        FDocument->put_async(VARIANT_FALSE);
        FDocument->put_validateOnParse(VARIANT_FALSE);
        FDocument->put_resolveExternals(VARIANT_FALSE);
        VARIANT prohibit;
        VariantInit(&prohibit);
        prohibit.vt = VT_BOOL;
        prohibit.boolVal = VARIANT_TRUE;
        SetProperty(L"ProhibitDTD", prohibit);
        Bstr xpath(L"XPath");
        VARIANT language;
        VariantInit(&language);
        language.vt = VT_BSTR;
        language.bstrVal = xpath.Get();
        SetProperty(L"SelectionLanguage", language);
    }

    void SetProperty(const wchar_t* name, VARIANT value) {
        Bstr property(name);
        FDocument->setProperty(property.Get(), value);
    }

    // Turns a failed parse into an XmlError with the parser's line, position and reason; a
    // document with a DOCTYPE is refused as the other reader refuses it.
    // NOTE: MSXML 6 on Windows prohibits DTDs by default, but Wine's MSXML parses them; the
    // document's doctype node is checked as well.
    void CheckParsed(HRESULT hr, VARIANT_BOOL ok) {
        if (SUCCEEDED(hr) && ok == VARIANT_TRUE) {
            ComPtr<IXMLDOMDocumentType> doctype;
            if (FDocument->get_doctype(doctype.Out()) == S_OK && doctype.Get()) {
                FDocument.Reset();
                throw XmlError(kDoctypeRefused);
            }
            return;
        }
        std::string message = "cannot read the document";
        ComPtr<IXMLDOMParseError> error;
        if (SUCCEEDED(FDocument->get_parseError(error.Out())) && error.Get()) {
            long line = 0;
            long position = 0;
            Bstr reason;
            error->get_line(&line);
            error->get_linepos(&position);
            error->get_reason(reason.Out());
            message = Trimmed(reason);
            if (line > 0) {
                message = "line " + std::to_string(line) + ", position " +
                          std::to_string(position) + ": " + message;
            }
        }
        FDocument.Reset();
        throw XmlError(message);
    }

    bool FComInitialised = false;
    ComPtr<IXMLDOMDocument2> FDocument;
};

} // namespace

std::unique_ptr<XmlDocument> MakeMsxmlDocument() {
    return std::make_unique<MsxmlDocument>();
}

} // namespace norvale::win32

#include "contract/xml_document_contract.h"

#include "support/temp_folder.h"

#include <filesystem>
#include <fstream>

namespace norvale::testing {
namespace {

constexpr char kSkin[] = R"(<?xml version="1.0" encoding="utf-8"?>
<skin>
  <clockface width="150" height="150">  face.png
  </clockface>
  <buttons>buttons.png</buttons>
  <glass><![CDATA[glass.png]]></glass>
  <hours>
    <filename>hour.png</filename>
    <bitmapCenter x="4" y="42.5"/>
    <position x="75" y="75"/>
  </hours>
  <sounds><chime>sound\chime.mp3</chime></sounds>
  <label id="weekday" text="WEDNESDAY" x="60" y="85" align="center">
    <font name="DejaVu Sans" size="8" color="$C29CA0"/>
  </label>
  <label id="title" text="Time" x="45" y="77" width="89" height="11" align="Center">
    <font name="" size="abc" color="clWhite"/>
  </label>
  <label id="title" text="second title" x="1" y="2" align="left">
    <font name="Other" size="9" color="clRed"/>
  </label>
  <empty></empty>
  <nested><!-- note --><inner>x</inner>tail</nested>
  <label id="date" text="d&#233;c. &amp; &lt;7&gt;" x="79" y="123" align="right">
    <font name="DejaVu Sans" size="7" color="$67594A"/>
  </label>
  <button id="left" x="10" y="67" width="24" height="16"/>
  <button id="right" x="110" y="67" width="24" height="16"/>
</skin>
)";

TEST_P(XmlDocumentContract, SelectsElementTextWithoutSurroundingBlanks) {
    auto doc = MakeDocument();
    doc->LoadText(kSkin);
    EXPECT_EQ(doc->SelectValue("skin/clockface/text()"), "face.png");
    EXPECT_EQ(doc->SelectValue("skin/clockface"), "face.png");
    EXPECT_EQ(doc->SelectValue("skin/buttons/text()"), "buttons.png");
    EXPECT_EQ(doc->SelectValue("skin/glass"), "glass.png");
    EXPECT_EQ(doc->SelectValue("skin/hours/filename/text()"), "hour.png");
    EXPECT_EQ(doc->SelectValue("skin/sounds/chime/text()"), "sound\\chime.mp3");
    // An element's first text child, past comments and child elements.
    EXPECT_EQ(doc->SelectValue("skin/nested"), "tail");
    EXPECT_EQ(doc->SelectValue("skin/empty"), "");
}

TEST_P(XmlDocumentContract, SelectsAttributesAndTheFirstMatchInDocumentOrder) {
    auto doc = MakeDocument();
    doc->LoadText(kSkin);
    EXPECT_EQ(doc->SelectValue("skin/clockface/@width"), "150");
    EXPECT_EQ(doc->SelectValue("skin/hours/bitmapCenter/@y"), "42.5");
    EXPECT_EQ(doc->SelectValue("skin/label[@id=\"title\"]/@text"), "Time");
    EXPECT_EQ(doc->SelectValue("skin/label[@id=\"title\"]/@align"), "Center");
    EXPECT_EQ(doc->SelectValue("skin/label[@id=\"title\"]/font/@name"), "");
    EXPECT_EQ(doc->SelectValue("skin/label[@id=\"title\"]/font/@color"), "clWhite");
    EXPECT_EQ(doc->SelectValue("skin/label[@id=\"weekday\"]/font/@color"), "$C29CA0");
    EXPECT_EQ(doc->SelectValue("skin/button[@id=\"right\"]/@x"), "110");
    EXPECT_EQ(doc->SelectValue("skin/label[@id=\"date\"]/@text"), "d\xC3\xA9"
                                                                  "c. & <7>");
}

TEST_P(XmlDocumentContract, AbsentNodesGiveNothing) {
    auto doc = MakeDocument();
    EXPECT_EQ(doc->SelectValue("skin/clockface"), std::nullopt); // nothing loaded yet
    doc->LoadText(kSkin);
    EXPECT_EQ(doc->SelectValue("skin/digital_glass/text()"), std::nullopt);
    EXPECT_EQ(doc->SelectValue("skin/label[@id=\"time\"]/@text"), std::nullopt);
    EXPECT_EQ(doc->SelectValue("skin/label[@id=\"title\"]/@width"), "89");
    EXPECT_EQ(doc->SelectValue("skin/label[@id=\"weekday\"]/@width"), std::nullopt);
    EXPECT_EQ(doc->SelectValue("skin/Clockface"), std::nullopt); // names are case-sensitive
    EXPECT_EQ(doc->SelectValue("skin/empty/text()"), std::nullopt);
    doc->Close();
    EXPECT_EQ(doc->SelectValue("skin/clockface"), std::nullopt);
}

TEST_P(XmlDocumentContract, MalformedDocumentsNameWhereTheyBreak) {
    auto doc = MakeDocument();
    const char* broken[] = {
        "<skin>\n  <clockface>face.png</clockface>\n  <glass>glass.png</skin>\n",
        "<skin>\n<label id=\"a\" x=5/>\n</skin>",
        "<skin><unclosed></skin",
        "",
    };
    for (const char* text : broken) {
        try {
            doc->LoadText(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const XmlError& e) {
            const std::string message = e.what();
            EXPECT_FALSE(message.empty());
            if (text[0] != '\0' && GetParam().ReportsPosition) {
                EXPECT_NE(message.find("line "), std::string::npos) << message;
                EXPECT_NE(message.find("position "), std::string::npos) << message;
            }
        }
        EXPECT_EQ(doc->SelectValue("skin/clockface"), std::nullopt);
    }
}

// A DTD would let one reader expand entities the other refuses; neither takes one.
TEST_P(XmlDocumentContract, RefusesADoctype) {
    auto doc = MakeDocument();
    const char* withDoctype[] = {
        "<!DOCTYPE skin>\n<skin><clockface>face.png</clockface></skin>",
        "<?xml version=\"1.0\"?>\n<!DOCTYPE skin [<!ENTITY f \"face.png\">]>\n"
        "<skin><clockface>&f;</clockface></skin>",
        "<!DOCTYPE skin SYSTEM \"skin.dtd\"><skin><clockface>face.png</clockface></skin>",
    };
    for (const char* text : withDoctype) {
        EXPECT_THROW(doc->LoadText(text), XmlError) << text;
        EXPECT_EQ(doc->SelectValue("skin/clockface"), std::nullopt) << text;
    }
    doc->LoadText("<skin><clockface>face.png</clockface></skin>");
    EXPECT_EQ(doc->SelectValue("skin/clockface"), "face.png");
}

TEST_P(XmlDocumentContract, LoadsFilesAndReportsMissingOnes) {
    const TempFolder temp;
    const auto& folder = temp.Path();
    const auto path = folder / "skin.xml";
    {
        std::ofstream out(path, std::ios::binary);
        out << kSkin;
    }
    auto doc = MakeDocument();
    doc->Load(path.string());
    EXPECT_EQ(doc->SelectValue("skin/button[@id=\"left\"]/@height"), "16");
    EXPECT_THROW(doc->Load((folder / "absent.xml").string()), XmlError);
    EXPECT_EQ(doc->SelectValue("skin/clockface"), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Adapters, XmlDocumentContract, ::testing::ValuesIn(XmlAdapters()));

} // namespace
} // namespace norvale::testing

#include "contract/xml_document_contract.h"
#include "core/skin/skin_description.h"

#include <gtest/gtest.h>

namespace norvale::testing {
namespace {

// A complete skin; tests replace single lines to break or vary it.
std::string SkinXml(const std::string& from = "", const std::string& to = "") {
    std::string xml = R"(<skin>
<clockface width="150" height="150">face.png</clockface>
<buttons>buttons.png</buttons>
<glass>glass.png</glass>
<digital_glass>dglass.png</digital_glass>
<pmam>ampm.png</pmam>
<hours><filename>hour.png</filename><bitmapCenter x="4" y="42.5"/><position x="75" y="75"/></hours>
<minutes><filename>minute.png</filename><bitmapCenter x="2.5" y="51"/><position x="75" y="75"/></minutes>
<seconds><filename>second.png</filename><bitmapCenter x="3.5" y="61"/><position x="75.5" y="74"/></seconds>
<sounds><chime>sound\chime.mp3</chime></sounds>
<label id="title" text="clock" x="45" y="77" width="89" height="11" align="center"><font name="Sans" size="7" color="$C29CA0"/></label>
<label id="weekday" text="WEDNESDAY" x="60" y="85" align="center"><font name="Sans" size="8" color="clSilver"/></label>
<label id="time" text="00:00:00" x="57" y="102" align="center"><font name="Digital" size="14" color="$96BED3"/></label>
<label id="timebg" text="88:88:88" x="57" y="102" align="center"><font name="Digital" size="14" color="3962932"/></label>
<label id="date" text="date" x="79" y="123" align="right"><font name="Sans" size="7" color="clBtnFace"/></label>
<label id="ampm" text="AMPM" x="131" y="101" align="left"><font name="Sans" size="8" color="clwhite"/></label>
<button id="left" x="10" y="67" width="24" height="16"/>
<button id="right" x="110" y="67" width="24" height="16"/>
</skin>)";
    if (!from.empty()) {
        const std::size_t at = xml.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        xml.replace(at, from.size(), to);
    }
    return xml;
}

class SkinDescriptionTest : public XmlDocumentContract {
protected:
    SkinDescription Read(const std::string& xml, std::vector<std::string>& problems) {
        FDocument = MakeDocument();
        FDocument->LoadText(xml);
        return ReadSkinDescription(*FDocument, fs, problems);
    }

    FormatSettings fs = FormatSettings::EnglishUnitedStates();

private:
    std::unique_ptr<XmlDocument> FDocument;
};

TEST_P(SkinDescriptionTest, ReadsEveryEntryOfACompleteSkin) {
    std::vector<std::string> problems;
    const SkinDescription skin = Read(SkinXml(), problems);
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_EQ(skin.ClockFace, "face.png");
    EXPECT_EQ(skin.FaceWidth, 150);
    EXPECT_EQ(skin.DigitalGlass, "dglass.png");
    EXPECT_EQ(skin.Hours.BitmapCenter.Y, 42.5);
    EXPECT_EQ(skin.Seconds.Position.X, 75.5);
    EXPECT_EQ(skin.Chime, "sound\\chime.mp3");
    EXPECT_EQ(skin.Labels[0].Width, 89);
    EXPECT_EQ(skin.Labels[2].Text, "00:00:00");
    EXPECT_EQ(skin.Labels[2].Width, std::nullopt);
    EXPECT_EQ(skin.Labels[2].Font.Color, 0x96BED3u);
    EXPECT_EQ(skin.Labels[3].Font.Color, 3'962'932u);
    EXPECT_EQ(skin.Labels[1].Font.Color, 0xC0C0C0u);
    EXPECT_EQ(skin.Labels[4].Font.Color, 0xFF00000Fu); // a system colour
    EXPECT_EQ(skin.Labels[5].Font.Color, 0xFFFFFFu);   // names ignore case
    EXPECT_EQ(skin.Labels[4].Align, "right");
    EXPECT_EQ(skin.FaceButtons[1].Left, 110);
    EXPECT_EQ(skin.FaceButtons[0].Height, 16);
}

TEST_P(SkinDescriptionTest, UnparsableNumbersTakeTheirDefaults) {
    std::vector<std::string> problems;
    SkinDescription skin = Read(SkinXml("width=\"89\"", "width=\"abc\""), problems);
    EXPECT_EQ(skin.Labels[0].Width, 89);
    skin = Read(SkinXml("x=\"10\"", "x=\"1O\""), problems);
    EXPECT_EQ(skin.FaceButtons[0].Left, 62);
    skin = Read(SkinXml("size=\"14\"", "size=\"14pt\""), problems);
    EXPECT_EQ(skin.Labels[2].Font.Size, 62);
    skin = Read(SkinXml("<clockface width=\"150\"", "<clockface width=\"wide\""), problems);
    EXPECT_EQ(skin.FaceWidth, 600);
    skin = Read(SkinXml("position x=\"75.5\"", "position x=\"\""), problems);
    EXPECT_EQ(skin.Seconds.Position.X, 75);
    EXPECT_TRUE(problems.empty());
}

TEST_P(SkinDescriptionTest, RealsUseTheLocalesDecimalSeparator) {
    std::vector<std::string> problems;
    const std::string xml = SkinXml("x=\"2.5\" y=\"51\"", "x=\"2,5\" y=\"51.5\"");
    SkinDescription skin = Read(xml, problems);
    EXPECT_EQ(skin.Minutes.BitmapCenter.X, 2.5); // the default: "2,5" is no number here
    EXPECT_EQ(skin.Minutes.BitmapCenter.Y, 51.5);
    fs.DecimalSeparator = ",";
    skin = Read(xml, problems);
    EXPECT_EQ(skin.Minutes.BitmapCenter.X, 2.5);
    EXPECT_EQ(skin.Minutes.BitmapCenter.Y, 51); // the default: "51.5" is no number here
    skin = Read(SkinXml("y=\"61\"", "y=\"60,75\""), problems);
    EXPECT_EQ(skin.Seconds.BitmapCenter.Y, 60.75);
    EXPECT_TRUE(problems.empty());
}

TEST_P(SkinDescriptionTest, AnOptionalDigitalGlassMayBeLeftOut) {
    std::vector<std::string> problems;
    const SkinDescription skin =
        Read(SkinXml("<digital_glass>dglass.png</digital_glass>", ""), problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(skin.DigitalGlass, std::nullopt);
}

TEST_P(SkinDescriptionTest, AnAuthorAndADescriptionAreOptionalAndBoundedInCharacters) {
    std::vector<std::string> problems;
    SkinDescription skin = Read(SkinXml(), problems);
    EXPECT_EQ(skin.Author, "");
    EXPECT_EQ(skin.Description, "");
    skin = Read(SkinXml("<skin>", "<skin><author> Ann &amp; Bo </author><description>Steel, "
                                  "60 \xC3\xA9t\xC3\xA9s</description>"),
                problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(skin.Author, "Ann & Bo");
    EXPECT_EQ(skin.Description, "Steel, 60 \xC3\xA9t\xC3\xA9s");
    std::string author;
    for (int i = 0; i < 64; ++i) {
        author += "\xC3\xA9"; // two bytes, one character
    }
    Read(SkinXml("<skin>", "<skin><author>" + author + "</author>"), problems);
    EXPECT_TRUE(problems.empty());
    Read(SkinXml("<skin>", "<skin><author>" + author + "e</author><description>" +
                               std::string(257, 'd') + "</description>"),
         problems);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0], "element skin/author is longer than 64 characters");
    EXPECT_EQ(problems[1], "element skin/description is longer than 256 characters");
}

TEST_P(SkinDescriptionTest, EachMissingRequiredEntryIsAProblem) {
    const std::pair<std::string, std::string> cases[] = {
        {"<glass>glass.png</glass>", "element skin/glass"},
        {"<pmam>ampm.png</pmam>", "element skin/pmam"},
        {"<filename>minute.png</filename>", "element skin/minutes/filename"},
        {"<sounds><chime>sound\\chime.mp3</chime></sounds>", "element skin/sounds/chime"},
        {" height=\"150\"", "attribute height of skin/clockface"},
        {" x=\"4\"", "attribute x of skin/hours/bitmapCenter"},
        {" align=\"left\"", "attribute align of skin/label[@id=\"ampm\"]"},
        {"<font name=\"Digital\" size=\"14\" color=\"$96BED3\"/>",
         "element skin/label[@id=\"time\"]/font"},
        {"<button id=\"right\" x=\"110\" y=\"67\" width=\"24\" height=\"16\"/>",
         "element skin/button[@id=\"right\"]"},
        {"<label id=\"date\"", "element skin/label[@id=\"date\"]"},
    };
    for (const auto& [remove, expected] : cases) {
        std::vector<std::string> problems;
        const std::string replacement = remove.starts_with("<label") ? "<label id=\"other\"" : "";
        Read(SkinXml(remove, replacement), problems);
        ASSERT_EQ(problems.size(), 1u) << remove;
        EXPECT_EQ(problems[0], "missing " + expected);
    }
}

TEST_P(SkinDescriptionTest, AColourThatIsNoColourIsAProblem) {
    for (const char* bad : {"white", "$", "$12G", "#FFFFFF", "", "12.5", "$123456789"}) {
        std::vector<std::string> problems;
        Read(SkinXml("color=\"clwhite\"", std::string("color=\"") + bad + "\""), problems);
        ASSERT_EQ(problems.size(), 1u) << bad;
        EXPECT_EQ(problems[0], "\"" + std::string(bad) +
                                   "\" is not a colour (attribute color of "
                                   "skin/label[@id=\"ampm\"]/font)");
    }
}

INSTANTIATE_TEST_SUITE_P(Reading, SkinDescriptionTest, ::testing::ValuesIn(XmlAdapters()));

} // namespace
} // namespace norvale::testing

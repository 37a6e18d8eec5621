#include "contract/platform_file_system.h"
#include "contract/xml_document_contract.h"
#include "core/clock/clock_window.h"
#include "core/skin/skin_loader.h"
#include "core/text/utf16.h"
#include "support/fake_clock.h"
#include "support/fake_clock_window_host.h"
#include "support/fake_registry.h"
#include "support/fake_text_rasterizer.h"
#include "support/png_builder.h"
#include "support/temp_folder.h"
#include "support/test_skin.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace norvale::testing {
namespace {

namespace fs = std::filesystem;
void WritePng(const fs::path& path, int width, int height) {
    fs::create_directories(path.parent_path());
    std::vector<std::uint8_t> row;
    for (int x = 0; x < width; ++x) {
        row.insert(row.end(), {200, 100, 50, static_cast<std::uint8_t>(x % 2 ? 255 : 128)});
    }
    const auto bytes =
        PngBuilder()
            .Header(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), 8, 6)
            .ImageData(RepeatRows(row, height))
            .End()
            .Bytes();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

class SkinLoaderTest : public XmlDocumentContract {
protected:
    SkinLoaderTest() {
        text.CharWidth = 5;
        text.LineHeight = 10;
        MakeSkin("good", kTestSkinXml);
    }

    void MakeSkin(const std::string& name, const std::string& xml) {
        const fs::path skin = folder / "face" / name;
        fs::create_directories(skin);
        std::ofstream(skin / "skin.xml", std::ios::binary) << xml;
        WritePng(skin / "face.png", 150, 140);
        WritePng(skin / "buttons.png", 60, 10);
        WritePng(skin / "glass.png", 150, 140);
        WritePng(skin / "dglass.png", 150, 140);
        WritePng(skin / "ampm.png", 24, 10);
        WritePng(skin / "hands" / "hour.png", 8, 52);
        WritePng(skin / "hands" / "minute.png", 5, 59);
        WritePng(skin / "second.png", 7, 78);
    }

    std::unique_ptr<TSkin> Load(const std::string& name) {
        return LoadSkin(name, {folder, *files, *xml, settings, text}, labels, buttons);
    }

    // The message of a load that must fail, with labels and buttons unchanged.
    std::string Failure(const std::string& name) {
        const int titleLeft = labels[lTitle].Left;
        const int buttonLeft = buttons[0].Left;
        try {
            Load(name);
        } catch (const SkinError& e) {
            EXPECT_EQ(labels[lTitle].Left, titleLeft);
            EXPECT_EQ(buttons[0].Left, buttonLeft);
            return e.what();
        }
        ADD_FAILURE() << "the skin " << name << " loaded";
        return {};
    }

    FakeTextRasterizer text;
    FormatSettings settings = FormatSettings::EnglishUnitedStates();
    std::unique_ptr<XmlDocument> xml = MakeDocument();
    std::unique_ptr<FileSystem> files = MakePlatformFileSystem();
    // One folder per test and run: tests run in parallel, here and in other checkouts.
    TempFolder temp;
    fs::path folder = temp.Path();
    TCursorKind cursor = TCursorKind::Default;
    std::array<TWindowLabel, kLabelCount> labels = InitialLabels(text);
    std::array<TSknButton, 2> buttons{TSknButton(10, 67, 24, 16, cursor),
                                      TSknButton(110, 67, 24, 16, cursor)};
};

TEST_P(SkinLoaderTest, TheFaceImageFixesTheWindowSize) {
    const auto skin = Load("good");
    EXPECT_EQ(skin->Width(), 150); // clockface width 600 and height 400 do not count
    EXPECT_EQ(skin->Height(), 140);
    EXPECT_EQ(skin->TextLayer.Bitmap().Width(), 150);
    EXPECT_EQ(skin->Frame.Height(), 140);
    EXPECT_EQ(skin->ZoomFrame.Width(), 150);
    EXPECT_EQ(skin->ButtonGlyphs.Width(), 60);
    ASSERT_TRUE(skin->DigitalGlass);
    EXPECT_EQ(skin->HourHand.Bitmap().Height(), 52);
    EXPECT_EQ(skin->MinuteHand.Bitmap().Width(), 5);
    EXPECT_EQ(skin->SecondHand.Position().X, 70);
    EXPECT_EQ(skin->HourHand.BitmapCenter().Y, 42.5f);
    EXPECT_EQ(skin->ChimeFileName, folder / "sound\\chime.mp3");
}

// The bitmaps are drawn for the window's scale inside the load, where a failure is the skin's.
TEST_P(SkinLoaderTest, TheLoadDrawsTheBitmapsForTheContextsScale) {
    const auto skin = LoadSkin("good", {folder, *files, *xml, settings, text, DisplayScale(192)},
                               labels, buttons);
    EXPECT_EQ(skin->Scale, DisplayScale(192));
    EXPECT_EQ(skin->Width(), 300);
    EXPECT_EQ(skin->Frame.Height(), 280);
}

TEST_P(SkinLoaderTest, LabelsAndButtonsTakeTheSkinsValues) {
    Load("good");
    // The title never resizes; the others take the size of their text in their new font.
    EXPECT_EQ(labels[lTitle].Width, 89);
    EXPECT_EQ(labels[lTitle].Text(), "clock");
    EXPECT_EQ(labels[lTime].Width, 8 * 5);
    EXPECT_EQ(labels[lTime].Height, 10);
    EXPECT_EQ(labels[lTime].Left, 57);
    EXPECT_EQ(labels[lTime].Font().Name, "Digital");
    EXPECT_EQ(labels[lWeekDay].Font().Color, 0xC0C0C0u);
    // "date" is right-aligned: it keeps the right edge the skin's x and its old width gave.
    EXPECT_EQ(labels[lDate].Alignment, TAlignment::Right);
    EXPECT_EQ(labels[lDate].Left + labels[lDate].Width, 79 + 23);
    EXPECT_EQ(labels[lDate].Font().Name, "hooge 05_55 Cyr2"); // an empty name keeps the family
    EXPECT_EQ(labels[lAmPm].Alignment, TAlignment::Left);
    EXPECT_EQ(buttons[0].Left, 12);
    EXPECT_EQ(buttons[1].Height, 11);
}

TEST_P(SkinLoaderTest, ASkinWithoutDigitalGlassHasNone) {
    std::string xml = kTestSkinXml;
    xml.erase(xml.find("<digital_glass>"),
              std::string("<digital_glass>dglass.png</digital_glass>").size());
    MakeSkin("plain", xml);
    EXPECT_FALSE(Load("plain")->DigitalGlass);
}

TEST_P(SkinLoaderTest, AFailedLoadNamesTheSkinTheFileAndTheFault) {
    Load("good");
    fs::create_directories(folder / "face" / "empty");
    EXPECT_EQ(Failure("empty"),
              "The skin \"empty\" cannot be loaded.\nface\\empty\\skin.xml: the file is missing");

    std::string broken = kTestSkinXml;
    broken.replace(broken.find("color=\"clWhite\""), 15, "color=\"white\"");
    broken.erase(broken.find("<glass>glass.png</glass>"), 24);
    MakeSkin("broken", broken);
    EXPECT_EQ(Failure("broken"),
              "The skin \"broken\" cannot be loaded.\n"
              "face\\broken\\skin.xml: missing element skin/glass\n"
              "face\\broken\\skin.xml: \"white\" is not a colour (attribute color of "
              "skin/label[@id=\"ampm\"]/font)");

    MakeSkin("malformed", "<skin><clockface>face.png</skin>");
    const std::string malformed = Failure("malformed");
    EXPECT_EQ(malformed.rfind("The skin \"malformed\" cannot be loaded.\n"
                              "face\\malformed\\skin.xml: ",
                              0),
              0u)
        << malformed;

    MakeSkin("nohand", kTestSkinXml);
    fs::remove(folder / "face" / "nohand" / "second.png");
    const std::string missing = Failure("nohand");
    EXPECT_NE(missing.find("second.png"), std::string::npos) << missing;
    EXPECT_EQ(missing.rfind("The skin \"nohand\" cannot be loaded.\n", 0), 0u);

    MakeSkin("badpng", kTestSkinXml);
    std::ofstream(folder / "face" / "badpng" / "glass.png", std::ios::binary) << "not a png";
    EXPECT_NE(Failure("badpng").find("glass.png"), std::string::npos);
}

// A skin.xml in UTF-16 reads as its UTF-8 twin with either reader, and a fault in it is
// placed by line and character.
TEST_P(SkinLoaderTest, ASkinXmlInUtf16ReadsAsInUtf8) {
    const auto writeUtf16 = [&](const std::string& name, const std::string& xml) {
        MakeSkin(name, "");
        std::string bytes = "\xFF\xFE";
        for (const char16_t unit : Utf8ToUtf16(xml)) {
            bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        }
        std::ofstream(folder / "face" / name / "skin.xml", std::ios::binary) << bytes;
    };
    std::string xml = kTestSkinXml;
    xml.replace(xml.find("text=\"clock\""), 12, "text=\"Z\xC3\xBCrich\"");
    writeUtf16("wide", "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n" + xml);
    EXPECT_EQ(Load("wide")->Width(), 150);
    EXPECT_EQ(labels[lTitle].Text(), "Z\xC3\xBCrich");

    writeUtf16("wrong", "<skin>\n<!-- Z\xC3\xBCrich \xF0\x9F\x95\x90 -->\n  <glass x=>");
    const std::string fault = Failure("wrong");
    EXPECT_EQ(fault.rfind("The skin \"wrong\" cannot be loaded.\nface\\wrong\\skin.xml: ", 0), 0u);
    if (GetParam().ReportsPosition) {
        EXPECT_NE(fault.find("line 3, position 12"), std::string::npos) << fault;
    }
}

TEST_P(SkinLoaderTest, ListsTheSkinFoldersOnly) {
    MakeSkin("second", kTestSkinXml);
    std::ofstream(folder / "face" / "notes.txt") << "not a skin";
    auto names = ListSkinFolders(folder);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"good", "second"}));
    EXPECT_TRUE(ListSkinFolders(folder / "nowhere").empty());
}

TEST_P(SkinLoaderTest, AStartFallsBackToTheDefaultSkinThenToAPlaceholder) {
    MakeSkin("norvale", kTestSkinXml);
    std::string name = "gone";
    std::vector<std::string> messages;
    auto skin =
        LoadStartupSkin(name, {folder, *files, *xml, settings, text}, labels, buttons, messages);
    EXPECT_EQ(name, "norvale");
    EXPECT_EQ(skin->Height(), 140);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("\"gone\""), std::string::npos);

    name = "good";
    messages.clear();
    skin = LoadStartupSkin(name, {folder, *files, *xml, settings, text}, labels, buttons, messages);
    EXPECT_EQ(name, "good");
    EXPECT_TRUE(messages.empty());

    fs::remove_all(folder / "face" / "norvale");
    name = "gone";
    skin = LoadStartupSkin(name, {folder, *files, *xml, settings, text}, labels, buttons, messages);
    // One message tells of both failures.
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("\"gone\""), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find("\n\nThe skin \"norvale\""), std::string::npos) << messages[0];
    EXPECT_EQ(name, "norvale");
    EXPECT_EQ(skin->Width(), 150); // the placeholder: a round face and nothing more
    EXPECT_EQ(AlphaOf(skin->FaceBitmap.At(75, 75)), 230);
    EXPECT_EQ(AlphaOf(skin->FaceBitmap.At(0, 0)), 0);
    EXPECT_EQ(skin->HourHand.Bitmap().Width(), 0);
    EXPECT_EQ(skin->TextLayer.Bitmap().Width(), 150);
}

// A skin on a drive that is not there yet: the start shows the default skin in its place, and
// the user's choice stays stored for the next start, until the user picks another skin.
TEST_P(SkinLoaderTest, AStartKeepsTheChosenSkinThatFailedToLoad) {
    MakeSkin("norvale", kTestSkinXml);
    FakeClock clock;
    FakeRegistry registry;
    const TVeskRegistryTimeZones zones(registry, true);
    FakeClockWindowHost host;
    TfrmMain window(clock, zones, host, text);
    window.SetDefaults();
    window.FClockSkin = "gone";
    std::vector<std::string> messages;
    window.LoadStartSkin({folder, *files, *xml, settings, text}, messages);
    EXPECT_EQ(window.FShownSkin, "norvale");
    EXPECT_EQ(window.FClockSkin, "gone");
    EXPECT_EQ(window.Skin()->Height(), 140);
    EXPECT_EQ(messages.size(), 1u);

    MakeSkin("gone", kTestSkinXml); // the drive is back
    messages.clear();
    window.LoadStartSkin({folder, *files, *xml, settings, text}, messages);
    EXPECT_EQ(window.FShownSkin, "gone");
    EXPECT_TRUE(messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Loading, SkinLoaderTest, ::testing::ValuesIn(XmlAdapters()));

} // namespace
} // namespace norvale::testing

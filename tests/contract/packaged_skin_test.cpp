// A package's skin loaded for a preview through the clock's own loader, from memory, with
// either XML reader: its fonts lie on the disk only while the preview lives.
#include "contract/xml_document_contract.h"
#include "core/skin/package_preview.h"
#include "support/fake_file_system.h"
#include "support/fake_text_rasterizer.h"
#include "support/test_skin_package.h"

#include <gtest/gtest.h>

namespace norvale::testing {
namespace {

class PackagedSkinTest : public XmlDocumentContract {
protected:
    SkinPackage Package(const std::string& zip) {
        return ReadSkinPackage({reinterpret_cast<const std::uint8_t*>(zip.data()), zip.size()},
                               "x.nvskin");
    }

    std::unique_ptr<PackagedSkin> Load(const SkinPackage& package) {
        text.Files = &disk;
        return std::make_unique<PackagedSkin>(
            package, "x.nvskin",
            PackagePreviewContext{disk, "/preview", *xml, settings, text, DisplayScale(192)},
            labels, buttons);
    }

    // The files on the disk whose names end in `name`.
    std::size_t OnDisk(const std::string& name) const {
        return static_cast<std::size_t>(
            std::count_if(disk.Files.begin(), disk.Files.end(),
                          [&](const auto& file) { return file.first.ends_with(name); }));
    }

    FakeFileSystem disk;
    FakeTextRasterizer text;
    FormatSettings settings = FormatSettings::EnglishUnitedStates();
    std::unique_ptr<XmlDocument> xml = MakeDocument();
    TCursorKind cursor = TCursorKind::Default;
    std::array<TWindowLabel, kLabelCount> labels = InitialLabels(text);
    std::array<TSknButton, 2> buttons{TSknButton(10, 67, 24, 16, cursor),
                                      TSknButton(110, 67, 24, 16, cursor)};
};

TEST_P(PackagedSkinTest, APackagesSkinLoadsFromMemoryWithItsFontsOnTheDiskWhileShown) {
    const SkinPackage package = Package(TestSkinPackage());
    auto preview = Load(package);
    EXPECT_EQ(preview->Skin().Width(), 300); // drawn at 200 % from its @2x face
    EXPECT_EQ(labels[lTitle].Text(), "clock");
    EXPECT_EQ(buttons[1].Height, 11);
    ASSERT_EQ(text.PrivateFonts.size(), 1u);
    EXPECT_EQ(OnDisk("f.ttf"), 1u);
    EXPECT_EQ(OnDisk(".txt"), 0u); // only what the font engine reads goes to the disk
    preview.reset();
    EXPECT_TRUE(text.PrivateFonts.empty());
    EXPECT_EQ(OnDisk("f.ttf"), 0u);
}

TEST_P(PackagedSkinTest, AFaultOfThePackagesSkinNamesThePackageAndTheFile) {
    SkinPackage package = Package(TestSkinPackage());
    for (SkinPackageFile& file : package.Files) {
        if (file.Path == "hands/minute.png") {
            file.Bytes = "not a png";
        }
    }
    try {
        Load(package);
        FAIL() << "a broken skin loaded";
    } catch (const SkinError& e) {
        EXPECT_EQ(
            std::string(e.what()),
            "The skin \"test\" cannot be loaded.\nx.nvskin/test/hands/minute.png: not a PNG file");
    }
    EXPECT_TRUE(text.PrivateFonts.empty());
}

INSTANTIATE_TEST_SUITE_P(Previews, PackagedSkinTest, ::testing::ValuesIn(XmlAdapters()));

} // namespace
} // namespace norvale::testing

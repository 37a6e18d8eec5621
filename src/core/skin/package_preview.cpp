#include "core/skin/package_preview.h"

#include "core/skin/skin_image.h"

namespace norvale {

// The platform's text output, except that a font added from the package is first written to
// the font folder, and the file removed again when the font is taken back.
class PackagedSkin::FontFiles final : public TextRasterizer {
public:
    FontFiles(TextRasterizer& engine, FileSystem& package, FileSystem& disk,
              std::filesystem::path folder)
        : FEngine(engine), FPackage(package), FDisk(disk), FFolder(std::move(folder)) {}

    TextExtent MeasureText(const TextFont& font, std::string_view text) const override {
        return FEngine.MeasureText(font, text);
    }

    void PaintText(Bitmap32& target, const TextFont& font, std::uint32_t colour,
                   std::string_view text, int left, int top) const override {
        FEngine.PaintText(target, font, colour, text, left, top);
    }

    bool AddPrivateFont(const std::filesystem::path& file) override {
        const std::optional<std::string> bytes = FPackage.Read(PathText(file));
        if (!bytes) {
            return false;
        }
        const std::filesystem::path written = FFolder / file.filename();
        try {
            const std::unique_ptr<WritableFile> out = FDisk.Create(PathText(written));
            out->Write(*bytes);
            out->Flush();
            out->Close();
        } catch (const FileError&) {
            FDisk.Remove(PathText(written));
            throw;
        }
        if (!FEngine.AddPrivateFont(written)) {
            FDisk.Remove(PathText(written));
            return false;
        }
        FWritten[file] = written;
        return true;
    }

    void RemovePrivateFont(const std::filesystem::path& file) override {
        const auto found = FWritten.find(file);
        if (found != FWritten.end()) {
            FEngine.RemovePrivateFont(found->second);
            FDisk.Remove(PathText(found->second));
            FWritten.erase(found);
        }
    }

private:
    TextRasterizer& FEngine;
    FileSystem& FPackage;
    FileSystem& FDisk;
    std::filesystem::path FFolder;
    std::map<std::filesystem::path, std::filesystem::path> FWritten; // package path -> disk
};

PackagedSkin::PackagedSkin(const SkinPackage& package, std::string_view shownPackage,
                           const PackagePreviewContext& context,
                           std::array<TWindowLabel, kLabelCount>& labels,
                           std::array<TSknButton, 2>& buttons)
    : FFiles(package), FFonts(std::make_unique<FontFiles>(context.Rasterizer, FFiles, context.Files,
                                                          context.FontFolder)) {
    const SkinLoadContext load{FFiles.Root(),
                               FFiles,
                               context.Xml,
                               context.Settings,
                               *FFonts,
                               context.Scale,
                               context.DecodeEveryVariant};
    FSkin =
        LoadSkinFolder(FFiles.SkinFolder(), std::string(shownPackage) + "/" + package.Name + "/",
                       package.Name, load, labels, buttons);
}

PackagedSkin::~PackagedSkin() = default;

} // namespace norvale

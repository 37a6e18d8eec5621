#include "core/skin/skin_loader.h"

#include "core/raster/png_decoder.h"
#include "core/raster/skin_image.h"
#include "core/skin/skin_description.h"
#include "core/skin/skin_fonts.h"

#include <algorithm>
#include <cmath>
#include <system_error>

namespace norvale {
namespace {

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// What a label looks like before any skin: box, text, family, size and colour.
struct InitialLabel {
    int Left, Top, Width, Height;
    const char* Text;
    const char* Family;
    int Size; // points; 19, 9, 11 and 13 pixels high at 96 dots per inch
    std::uint32_t Color;
};

constexpr InitialLabel kInitialLabels[kLabelCount] = {
    {45, 77, 89, 11, "clock", "hooge 05_55 Cyr2", 7, 0xC29CA0},
    {60, 85, 64, 13, "WEDNESDAY", "hooge 05_55 Cyr2", 10, 0xC29CA0},
    {57, 102, 68, 19, "00:00:00", "Digital", 14, 0x96BED3},
    {57, 102, 68, 19, "88:88:88", "Digital", 14, 0x3C3434},
    {79, 123, 23, 11, "date", "hooge 05_55 Cyr2", 7, 0x67594A},
    {131, 101, 30, 13, "AMPM", "hooge 05_55 Cyr2", 10, 0xC29CA0},
};

void ApplyLabel(TWindowLabel& label, const LabelDescription& skin) {
    label.SetText(skin.Text);
    label.Left = skin.Left;
    label.Top = skin.Top;
    if (skin.Width) {
        label.Width = *skin.Width;
    }
    if (skin.Height) {
        label.Height = *skin.Height;
    }
    if (skin.Align == "center") {
        label.Alignment = TAlignment::Center;
    } else if (skin.Align == "left") {
        label.Alignment = TAlignment::Left;
    } else if (skin.Align == "right") {
        label.Alignment = TAlignment::Right;
    }
    if (!skin.Font.Name.empty()) {
        label.SetFontName(skin.Font.Name);
    }
    label.SetFontSize(skin.Font.Size);
    label.SetFontColor(skin.Font.Color);
}

void LoadHand(TRotLayer& hand, const HandDescription& skin,
              const std::filesystem::path& skinFolder) {
    LoadSkinImage(hand.Bitmap(), skin.FileName, 0x000000, skinFolder);
    hand.SetBitmapCenter(
        {static_cast<float>(skin.BitmapCenter.X), static_cast<float>(skin.BitmapCenter.Y)});
    hand.SetPosition({static_cast<float>(skin.Position.X), static_cast<float>(skin.Position.Y)});
}

std::unique_ptr<TSkin> LoadImages(const SkinDescription& skin,
                                  const std::filesystem::path& skinFolder,
                                  const std::filesystem::path& programFolder) {
    auto loaded = std::make_unique<TSkin>();
    loaded->FaceBitmap.SetSize(skin.FaceWidth, skin.FaceHeight);
    LoadSkinImage(loaded->FaceBitmap, skin.ClockFace, 0x000000, skinFolder);
    LoadSkinImage(loaded->ButtonGlyphs, skin.Buttons, 0x808080, skinFolder);
    LoadSkinImage(loaded->Glass, skin.Glass, 0xFFFFFF, skinFolder);
    if (skin.DigitalGlass) {
        loaded->DigitalGlass.emplace();
        LoadSkinImage(*loaded->DigitalGlass, *skin.DigitalGlass, 0xFFFFFF, skinFolder);
    }
    LoadSkinImage(loaded->AmPmImage, skin.AmPm, 0x000000, skinFolder);
    const int w = loaded->Width();
    const int h = loaded->Height();
    loaded->TextLayer.Bitmap().SetSize(w, h);
    loaded->Frame.SetSize(w, h);
    loaded->ZoomFrame.SetSize(w, h);
    LoadHand(loaded->HourHand, skin.Hours, skinFolder);
    LoadHand(loaded->MinuteHand, skin.Minutes, skinFolder);
    LoadHand(loaded->SecondHand, skin.Seconds, skinFolder);
    loaded->ChimeFileName =
        programFolder / std::filesystem::path(std::u8string(skin.Chime.begin(), skin.Chime.end()));
    return loaded;
}

} // namespace

std::array<TWindowLabel, kLabelCount> InitialLabels(const TextRasterizer& rasterizer) {
    const auto make = [&](LabelIndex i) {
        const InitialLabel& l = kInitialLabels[i];
        return TWindowLabel(rasterizer, i != lTitle, l.Left, l.Top, l.Width, l.Height, l.Text,
                            TextFont{l.Family, l.Size, l.Color});
    };
    return {make(lTitle), make(lWeekDay), make(lTime), make(lTimeBg), make(lDate), make(lAmPm)};
}

std::unique_ptr<TSkin> LoadSkinFolder(const std::filesystem::path& skinFolder,
                                      const std::string& shownFolder, const std::string& name,
                                      const SkinLoadContext& context,
                                      std::array<TWindowLabel, kLabelCount>& labels,
                                      std::array<TSknButton, 2>& buttons) {
    const std::string failed = "The skin \"" + name + "\" cannot be loaded.\n";
    const std::filesystem::path xmlPath = skinFolder / "skin.xml";
    std::error_code error;
    if (!std::filesystem::is_regular_file(xmlPath, error)) {
        throw SkinError(failed + shownFolder + "skin.xml: the file is missing");
    }
    SkinDescription skin;
    try {
        context.Xml.Load(PathText(xmlPath));
        std::vector<std::string> problems;
        skin = ReadSkinDescription(context.Xml, context.Settings, problems);
        context.Xml.Close();
        if (!problems.empty()) {
            std::string message = failed;
            for (const std::string& problem : problems) {
                message += shownFolder + "skin.xml: " + problem + "\n";
            }
            message.pop_back();
            throw SkinError(message);
        }
    } catch (const XmlError& e) {
        context.Xml.Close();
        throw SkinError(failed + shownFolder + "skin.xml: " + e.what());
    }

    std::unique_ptr<TSkin> loaded;
    try {
        loaded = LoadImages(skin, skinFolder, context.ProgramFolder);
    } catch (const PngError& e) {
        throw SkinError(failed + e.what());
    }

    // The skin's own fonts come before any label measures its text in them.
    LoadSkinFonts(skinFolder, context.Rasterizer);

    // Only a complete skin reaches the window's labels and buttons.
    auto newLabels = labels;
    for (std::size_t i = 0; i < newLabels.size(); ++i) {
        ApplyLabel(newLabels[i], skin.Labels[i]);
    }
    labels = newLabels;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const BoxDescription& box = skin.FaceButtons[i];
        buttons[i].Left = box.Left;
        buttons[i].Top = box.Top;
        buttons[i].Width = box.Width;
        buttons[i].Height = box.Height;
    }
    return loaded;
}

std::unique_ptr<TSkin> LoadSkin(const std::string& name, const SkinLoadContext& context,
                                std::array<TWindowLabel, kLabelCount>& labels,
                                std::array<TSknButton, 2>& buttons) {
    const std::filesystem::path folder =
        context.ProgramFolder / "face" /
        std::filesystem::path(std::u8string(name.begin(), name.end()));
    return LoadSkinFolder(folder, "face\\" + name + "\\", name, context, labels, buttons);
}

std::unique_ptr<TSkin> LoadStartupSkin(std::string& skinName, const SkinLoadContext& context,
                                       std::array<TWindowLabel, kLabelCount>& labels,
                                       std::array<TSknButton, 2>& buttons,
                                       std::vector<std::string>& messages) {
    for (const std::string& name : {skinName, std::string(kDefaultSkin)}) {
        try {
            auto skin = LoadSkin(name, context, labels, buttons);
            skinName = name;
            return skin;
        } catch (const SkinError& e) {
            messages.emplace_back(e.what());
        }
        if (name == kDefaultSkin) {
            break;
        }
    }
    skinName = kDefaultSkin;
    return PlaceholderSkin();
}

std::unique_ptr<TSkin> PlaceholderSkin() {
    constexpr int kSize = 150;
    constexpr double kRadius = kSize / 2.0 - 1;
    auto skin = std::make_unique<TSkin>();
    skin->FaceBitmap.SetSize(kSize, kSize);
    // A dark disc with an anti-aliased edge: coverage from the distance to the rim.
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double dx = x + 0.5 - kSize / 2.0;
            const double dy = y + 0.5 - kSize / 2.0;
            const double coverage = std::clamp(kRadius - std::sqrt(dx * dx + dy * dy), 0.0, 1.0);
            const auto a = static_cast<std::uint32_t>(std::lround(coverage * 230));
            const std::uint32_t grey = 40 * a / 255;
            skin->FaceBitmap.At(x, y) = MakePixel(grey, grey, grey, a);
        }
    }
    skin->TextLayer.Bitmap().SetSize(kSize, kSize);
    skin->Frame.SetSize(kSize, kSize);
    skin->ZoomFrame.SetSize(kSize, kSize);
    return skin;
}

std::vector<std::string> ListSkinFolders(const std::filesystem::path& programFolder) {
    std::vector<std::string> names;
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(programFolder / "face", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (it->is_directory(error)) {
            names.push_back(PathText(it->path().filename()));
        }
    }
    return names;
}

} // namespace norvale

#include "core/skin/skin_loader.h"

#include "core/raster/png_decoder.h"
#include "core/skin/skin_description.h"
#include "core/skin/skin_fonts.h"

#include <system_error>

namespace norvale {
namespace {

// What a label looks like before any skin: box, text, family, size and colour.
struct InitialLabel {
    int Left, Top, Width, Height;
    const char* Text;
    const char* Family;
    int Size; // points; 19, 9 and 11 pixels high at 96 dots per inch
    std::uint32_t Color;
};

constexpr InitialLabel kInitialLabels[kLabelCount] = {
    {45, 77, 89, 11, "clock", "hooge 05_55 Cyr2", 7, 0xC29CA0},
    {60, 85, 64, 13, "WEDNESDAY", "hooge 05_55 Cyr2", 8, 0xC29CA0},
    {57, 102, 68, 19, "00:00:00", "Digital", 14, 0x96BED3},
    {57, 102, 68, 19, "88:88:88", "Digital", 14, 0x3C3434},
    {79, 123, 23, 11, "date", "hooge 05_55 Cyr2", 7, 0x67594A},
    {131, 101, 30, 13, "AMPM", "hooge 05_55 Cyr2", 8, 0xC29CA0},
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

HandSource ReadHand(const HandDescription& skin, const std::filesystem::path& skinFolder) {
    return {ReadSkinImageFiles(skin.FileName, 0x000000, skinFolder),
            {static_cast<float>(skin.BitmapCenter.X), static_cast<float>(skin.BitmapCenter.Y)},
            {static_cast<float>(skin.Position.X), static_cast<float>(skin.Position.Y)}};
}

std::unique_ptr<TSkin> LoadImages(const SkinDescription& skin,
                                  const std::filesystem::path& skinFolder,
                                  const std::filesystem::path& programFolder) {
    auto loaded = std::make_unique<TSkin>();
    SkinSources& sources = loaded->Sources.emplace();
    sources.Face = ReadSkinImageFiles(skin.ClockFace, 0x000000, skinFolder);
    sources.Buttons = ReadSkinImageFiles(skin.Buttons, 0x808080, skinFolder);
    sources.Glass = ReadSkinImageFiles(skin.Glass, 0xFFFFFF, skinFolder);
    if (skin.DigitalGlass) {
        sources.DigitalGlass = ReadSkinImageFiles(*skin.DigitalGlass, 0xFFFFFF, skinFolder);
    }
    sources.AmPm = ReadSkinImageFiles(skin.AmPm, 0x000000, skinFolder);
    sources.Hours = ReadHand(skin.Hours, skinFolder);
    sources.Minutes = ReadHand(skin.Minutes, skinFolder);
    sources.Seconds = ReadHand(skin.Seconds, skinFolder);
    loaded->ChimeFileName =
        programFolder / std::filesystem::path(std::u8string(skin.Chime.begin(), skin.Chime.end()));
    PrepareSkin(*loaded, DisplayScale());
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
    auto skin = std::make_unique<TSkin>();
    PrepareSkin(*skin, DisplayScale());
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

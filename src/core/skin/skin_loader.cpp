#include "core/skin/skin_loader.h"

#include "core/raster/png_decoder.h"
#include "core/skin/skin_description.h"
#include "core/skin/skin_folder.h"
#include "core/skin/skin_fonts.h"
#include "core/skin/skin_limits.h"
#include "core/text/utf16.h"

#include <new>
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
    label.SetFont(skin.Font.Name, skin.Font.Size, skin.Font.Color);
}

// A label's box as its text sized it must stay within the limits every box of a skin keeps,
// before anything is drawn for it.
void CheckBox(const TWindowLabel& label, const char* id, const std::string& shownXml) {
    const auto within = [](int value, int low) {
        return value >= low && value <= kMaxSkinCoordinate;
    };
    if (!within(label.Left, -kMaxSkinCoordinate) || !within(label.Top, -kMaxSkinCoordinate) ||
        !within(label.Width, 0) || !within(label.Height, 0)) {
        throw SkinFileError(shownXml + ": the label \"" + id + "\" is " +
                            std::to_string(label.Width) + " x " + std::to_string(label.Height) +
                            " pixels at " + std::to_string(label.Left) + "," +
                            std::to_string(label.Top) + " with its text, outside the limits of " +
                            std::to_string(kMaxSkinCoordinate));
    }
}

HandSource ReadHand(const HandDescription& skin, SkinFolder& folder, bool decodeVariants) {
    return {ReadSkinImageFiles(skin.FileName, 0x000000, kHandWeight, folder, decodeVariants),
            {static_cast<float>(skin.BitmapCenter.X), static_cast<float>(skin.BitmapCenter.Y)},
            {static_cast<float>(skin.Position.X), static_cast<float>(skin.Position.Y)}};
}

// The chime is the one file named relative to the program folder; it too stays inside.
std::filesystem::path ChimePath(const std::string& chime, const SkinLoadContext& context,
                                const std::string& shownXml) {
    SkinFolder program(context.Files, context.ProgramFolder, "", "program folder");
    try {
        if (auto found = program.Find(chime)) {
            return std::move(*found);
        }
    } catch (const SkinFileError& e) {
        throw SkinFileError(shownXml + ": the chime " + e.what());
    }
    // A missing chime is reported when it plays.
    return context.ProgramFolder / std::filesystem::path(std::u8string(chime.begin(), chime.end()));
}

std::unique_ptr<TSkin> LoadImages(const SkinDescription& skin, SkinFolder& folder,
                                  const SkinLoadContext& context, const std::string& shownXml) {
    auto loaded = std::make_unique<TSkin>();
    SkinSources& sources = loaded->Sources.emplace();
    const bool all = context.DecodeEveryVariant;
    sources.Face = ReadSkinImageFiles(skin.ClockFace, 0x000000, kFaceWeight, folder, all);
    sources.Buttons = ReadSkinImageFiles(skin.Buttons, 0x808080, kDrawnImageWeight, folder, all);
    sources.Glass = ReadSkinImageFiles(skin.Glass, 0xFFFFFF, kDrawnImageWeight, folder, all);
    if (skin.DigitalGlass) {
        sources.DigitalGlass =
            ReadSkinImageFiles(*skin.DigitalGlass, 0xFFFFFF, kDrawnImageWeight, folder, all);
    }
    sources.AmPm = ReadSkinImageFiles(skin.AmPm, 0x000000, 0, folder, all);
    sources.Hours = ReadHand(skin.Hours, folder, all);
    sources.Minutes = ReadHand(skin.Minutes, folder, all);
    sources.Seconds = ReadHand(skin.Seconds, folder, all);
    loaded->ChimeFileName = ChimePath(skin.Chime, context, shownXml);
    PrepareSkin(*loaded, context.Scale);
    return loaded;
}

SkinDescription ReadDescription(SkinFolder& folder, const SkinLoadContext& context,
                                const std::string& shownXml) {
    // Both readers get UTF-8, so that they see the same characters and the reader's line and
    // position count characters, whatever encoding the file has.
    const std::string text = XmlTextAsUtf8(folder.Read("skin.xml", kMaxSkinXmlBytes));
    std::vector<std::string> problems;
    SkinDescription skin;
    try {
        context.Xml.LoadText(text);
        skin = ReadSkinDescription(context.Xml, context.Settings, problems);
        context.Xml.Close();
    } catch (const XmlError& e) {
        context.Xml.Close();
        throw SkinFileError(shownXml + ": " + e.what());
    }
    if (!problems.empty()) {
        std::string message;
        for (const std::string& problem : problems) {
            message.append(shownXml).append(": ").append(problem).append("\n");
        }
        message.pop_back();
        throw SkinFileError(message);
    }
    return skin;
}

// Loads the skin; every fault is thrown as it comes, for the caller to turn into a SkinError.
std::unique_ptr<TSkin> LoadFolder(SkinFolder& folder, const SkinLoadContext& context,
                                  std::array<TWindowLabel, kLabelCount>& labels,
                                  std::array<TSknButton, 2>& buttons) {
    const std::string shownXml = folder.Shown("skin.xml");
    const SkinDescription skin = ReadDescription(folder, context, shownXml);
    std::unique_ptr<TSkin> loaded = LoadImages(skin, folder, context, shownXml);
    loaded->Author = skin.Author;
    loaded->Description = skin.Description;

    // The skin's own fonts come before any label measures its text in them.
    loaded->Fonts = LoadSkinFonts(folder, context.Rasterizer);

    // Only a complete skin reaches the window's labels and buttons.
    auto newLabels = labels;
    for (std::size_t i = 0; i < newLabels.size(); ++i) {
        ApplyLabel(newLabels[i], skin.Labels[i]);
        CheckBox(newLabels[i], kSkinLabelIds[i], shownXml);
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
    const std::string failed = "The skin \"" + EscapeControls(name) + "\" cannot be loaded.\n";
    SkinFolder folder(context.Files, skinFolder, shownFolder, "skin folder", kMaxSkinBytes);
    try {
        return LoadFolder(folder, context, labels, buttons);
    } catch (const std::bad_alloc&) {
        throw SkinError(failed + "The skin needs more memory than is free.");
    } catch (const std::exception& e) {
        throw SkinError(failed + e.what());
    }
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
    // Every failure goes into one message, so that a start shows one box at most.
    std::string failures;
    const auto report = [&] {
        if (!failures.empty()) {
            messages.push_back(failures);
        }
    };
    for (const std::string& name : {skinName, std::string(kDefaultSkin)}) {
        try {
            auto skin = LoadSkin(name, context, labels, buttons);
            skinName = name;
            report();
            return skin;
        } catch (const SkinError& e) {
            failures += (failures.empty() ? "" : "\n\n") + std::string(e.what());
        }
        if (name == kDefaultSkin) {
            break;
        }
    }
    skinName = kDefaultSkin;
    report();
    return PlaceholderSkin();
}

std::unique_ptr<TSkin> FallbackSkin(std::string& skinName, const SkinLoadContext& context,
                                    std::array<TWindowLabel, kLabelCount>& labels,
                                    std::array<TSknButton, 2>& buttons, std::string& message) {
    if (skinName != kDefaultSkin) {
        try {
            auto skin = LoadSkin(kDefaultSkin, context, labels, buttons);
            skinName = kDefaultSkin;
            return skin;
        } catch (const SkinError& e) {
            message += "\n\n" + std::string(e.what());
        }
    }
    skinName = kDefaultSkin;
    // The labels may be what broke the frame.
    labels = InitialLabels(context.Rasterizer);
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

#pragma once

#include "core/platform/bitmap32.h"
#include "core/platform/file_system.h"
#include "core/platform/text_rasterizer.h"
#include "core/platform/xml_document.h"
#include "core/raster/display_scale.h"
#include "core/raster/label_text.h"
#include "core/raster/rot_layer.h"
#include "core/skin/skin_button.h"
#include "core/skin/skin_fonts.h"
#include "core/skin/skin_image.h"
#include "core/skin/window_label.h"
#include "core/time/format_settings.h"

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace norvale {

inline constexpr char kDefaultSkin[] = "norvale";

// Indices of the window's labels, in the order a skin applies them.
enum LabelIndex { lTitle, lWeekDay, lTime, lTimeBg, lDate, lAmPm, kLabelCount };

// A hand as the skin describes it: its image, the pivot inside the image and the point of the
// face the pivot sits on, in skin pixels.
struct HandSource {
    SkinImageFiles Files;
    FloatPoint BitmapCenter;
    FloatPoint Position;
};

// What the skin's files hold, from which its bitmaps are drawn at any display scale.
struct SkinSources {
    SkinImageFiles Face;
    SkinImageFiles Buttons;
    SkinImageFiles Glass;
    std::optional<SkinImageFiles> DigitalGlass;
    SkinImageFiles AmPm;
    HandSource Hours;
    HandSource Minutes;
    HandSource Seconds;
};

// Everything a skin load replaces as a whole. The window's labels and face buttons live on
// across loads (a skin may leave a label's width and height as they were). The bitmaps are
// drawn for the display scale Scale, in physical pixels.
struct TSkin {
    std::optional<SkinSources> Sources; // none for the placeholder face
    std::string Author;                 // as skin.xml gives them; empty when it does not
    std::string Description;
    DisplayScale Scale;
    Bitmap32 FaceBitmap;
    Bitmap32 ButtonGlyphs;
    Bitmap32 Glass;
    std::optional<Bitmap32> DigitalGlass;
    // The AM/PM image is kept in Sources only: it is read but never drawn.
    TRotLayer TextLayer; // never turned; the renderer draws labels, buttons and hands here
    Bitmap32 Frame;
    Bitmap32 ZoomFrame;
    TRotLayer HourHand;
    TRotLayer MinuteHand;
    TRotLayer SecondHand;
    std::filesystem::path ChimeFileName;
    SkinFontSet Fonts; // taken back from the rasterizer with the skin
    // Each label's text as last drawn in this skin's fonts, in LabelIndex order.
    std::array<LabelRaster, kLabelCount> LabelRasters;

    // The window's size, in physical pixels.
    int Width() const { return FaceBitmap.Width(); }
    int Height() const { return FaceBitmap.Height(); }
    // Where the hands turn, in skin pixels.
    FloatPoint HandsPivot() const { return Sources ? Sources->Hours.Position : FloatPoint{}; }
};

// Draws the skin's bitmaps (and sizes its layers and frames) for the display scale, from its
// sources; the skin's images at a scale are made here once, never per frame, and a variant is
// decoded the first time a scale draws from it.
void PrepareSkin(TSkin& skin, DisplayScale scale);

// A skin that cannot be loaded; what() is the message the user sees, naming the skin, the
// file and every fault found.
class SkinError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SkinLoadContext {
    std::filesystem::path ProgramFolder; // holds face\ and sound\ .
    FileSystem& Files;                   // every file of a skin is read through it
    XmlDocument& Xml;
    const FormatSettings& Settings;
    TextRasterizer& Rasterizer; // takes the fonts a skin carries
    // The scale the skin's bitmaps are drawn for; drawing them is part of the load, so that
    // running out of memory there too is the skin's fault.
    DisplayScale Scale = DisplayScale();
    // Every variant decoded at the load, as a checker wants it, rather than only those a scale
    // draws from: a variant's damaged compressed data is then a fault of the load too.
    bool DecodeEveryVariant = false;
};

// The window's labels as they are before any skin, and its two face buttons.
std::array<TWindowLabel, kLabelCount> InitialLabels(const TextRasterizer& rasterizer);

// Loads the skin folder face\<name> into new objects, drawn at the context's scale. Labels and
// buttons are changed only when the whole skin loaded, so after a SkinError the previous skin stays
// fully in place. Any failure at all, also running out of memory, is a SkinError.
std::unique_ptr<TSkin> LoadSkin(const std::string& name, const SkinLoadContext& context,
                                std::array<TWindowLabel, kLabelCount>& labels,
                                std::array<TSknButton, 2>& buttons);

// The same for any skin folder (the skin checker's way in); messages name its files with
// shownFolder in front.
std::unique_ptr<TSkin> LoadSkinFolder(const std::filesystem::path& skinFolder,
                                      const std::string& shownFolder, const std::string& name,
                                      const SkinLoadContext& context,
                                      std::array<TWindowLabel, kLabelCount>& labels,
                                      std::array<TSknButton, 2>& buttons);

// Loads the skin a start asks for: the stored one, else the default skin, else a plain
// placeholder face, so the clock always has something to show and its menu stays reachable.
// skinName becomes the skin that loaded (the default when the stored one failed); the
// failures' messages, if any, are added to messages for the user as one message.
std::unique_ptr<TSkin> LoadStartupSkin(std::string& skinName, const SkinLoadContext& context,
                                       std::array<TWindowLabel, kLabelCount>& labels,
                                       std::array<TSknButton, 2>& buttons,
                                       std::vector<std::string>& messages);

// The skin that replaces one whose frames fail to draw: the default skin, unless that is the
// one that failed or it will not load, else the placeholder face with the labels as they were
// before any skin. skinName becomes the skin chosen; a failure to load the default skin is
// added to message.
std::unique_ptr<TSkin> FallbackSkin(std::string& skinName, const SkinLoadContext& context,
                                    std::array<TWindowLabel, kLabelCount>& labels,
                                    std::array<TSknButton, 2>& buttons, std::string& message);

// A plain round face of the default size with nothing else, for when no skin loads; drawn at
// 100 %.
std::unique_ptr<TSkin> PlaceholderSkin();

// The skin folders under face\, in the order the file system lists them.
std::vector<std::string> ListSkinFolders(const std::filesystem::path& programFolder);

} // namespace norvale

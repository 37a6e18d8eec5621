#pragma once

#include "core/platform/xml_document.h"
#include "core/skin/skin_values.h"
#include "core/time/format_settings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace norvale {

struct PointF {
    double X = 0;
    double Y = 0;
};

struct HandDescription {
    std::string FileName;
    PointF BitmapCenter; // pivot inside the hand image
    PointF Position;     // where the pivot sits on the face
};

struct FontDescription {
    std::string Name; // empty keeps the label's current family
    std::int32_t Size = 0;
    Colour Color = 0;
};

struct LabelDescription {
    std::string Text;
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::optional<std::int32_t> Width; // absent keeps the label's width
    std::optional<std::int32_t> Height;
    std::string Align; // "center", "left", "right"; anything else keeps the alignment
    FontDescription Font;
};

struct BoxDescription {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};

// The label ids of a skin, in the order the loader applies them.
inline constexpr std::array<const char*, 6> kSkinLabelIds = {"title",  "weekday", "time",
                                                             "timebg", "date",    "ampm"};
inline constexpr std::array<const char*, 2> kSkinButtonIds = {"left", "right"};

// Everything "skin.xml" says, read but not yet applied.
struct SkinDescription {
    std::string Author;      // who made the skin; empty when skin.xml does not say
    std::string Description; // one line about it; empty when skin.xml does not say
    std::string ClockFace;
    std::int32_t FaceWidth = 600;
    std::int32_t FaceHeight = 400;
    std::string Buttons;
    std::string Glass;
    std::optional<std::string> DigitalGlass;
    std::string AmPm;
    HandDescription Hours;
    HandDescription Minutes;
    HandDescription Seconds;
    std::string Chime; // relative to the program folder
    std::array<LabelDescription, kSkinLabelIds.size()> Labels;
    std::array<BoxDescription, kSkinButtonIds.size()> FaceButtons;
};

// Reads a loaded "skin.xml". Values that are present but do not parse take their defaults;
// every absent required entry and every bad colour is added to problems, so a checker can
// list them all. The description is usable only when problems stayed empty.
SkinDescription ReadSkinDescription(const XmlDocument& xml, const FormatSettings& fs,
                                    std::vector<std::string>& problems);

} // namespace norvale

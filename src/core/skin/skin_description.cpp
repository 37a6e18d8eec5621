#include "core/skin/skin_description.h"

#include "core/skin/skin_limits.h"
#include "core/text/integer_text.h"
#include "core/text/utf16.h"
#include "core/time/number_text.h"

namespace norvale {
namespace {

class Reader {
public:
    Reader(const XmlDocument& xml, const FormatSettings& fs, std::vector<std::string>& problems)
        : FXml(xml), FSettings(fs), FProblems(problems) {}

    // A required value: its text, or a problem and "".
    std::string Required(const std::string& xpath) {
        if (auto value = FXml.SelectValue(xpath)) {
            return *value;
        }
        FProblems.push_back("missing " + Describe(xpath));
        return {};
    }

    std::optional<std::string> Optional(const std::string& xpath) const {
        return FXml.SelectValue(xpath);
    }

    // The text of an element naming a file: a problem when it is missing, empty or longer
    // than any file name.
    std::string FileName(const std::string& xpath) {
        auto value = Optional(xpath);
        if (!value) {
            // text() selects nothing in an element that is there but empty.
            const std::string element = xpath.substr(0, xpath.rfind('/'));
            FProblems.push_back((Optional(element) ? "empty " : "missing ") + Describe(xpath));
            return {};
        }
        return CheckedFileName(xpath, std::move(*value));
    }

    // The same for an element that may be absent.
    std::optional<std::string> OptionalFileName(const std::string& xpath) {
        auto value = Optional(xpath);
        if (!value) {
            return std::nullopt;
        }
        return CheckedFileName(xpath, std::move(*value));
    }

    std::string CheckedFileName(const std::string& xpath, std::string value) {
        if (value.empty()) {
            FProblems.push_back("empty " + Describe(xpath));
        } else if (value.size() > kMaxSkinFileName) {
            FProblems.push_back(Describe(xpath) + " is longer than " +
                                std::to_string(kMaxSkinFileName) + " bytes");
            value.clear();
        }
        return value;
    }

    // A text of at most `most` characters; a longer one is a problem.
    std::string Text(const std::string& xpath, std::size_t most) {
        return Limited(xpath, Required(xpath), most);
    }

    // The same for a text that may be absent: "" then.
    std::string OptionalText(const std::string& xpath, std::size_t most) {
        return Limited(xpath, Optional(xpath).value_or(""), most);
    }

    std::string Limited(const std::string& xpath, std::string text, std::size_t most) {
        if (Utf8Prefix(text, most).size() < text.size()) {
            FProblems.push_back(Describe(xpath) + " is longer than " + std::to_string(most) +
                                " characters");
        }
        return text;
    }

    // An integer within [low, high]; a value outside is a problem and gives the fallback.
    std::int32_t Integer(const std::string& xpath, std::int32_t fallback, std::int32_t low,
                         std::int32_t high) {
        return Bounded(xpath, ParseDecimalInteger(Required(xpath)).value_or(fallback), fallback,
                       low, high);
    }

    std::optional<std::int32_t> OptionalInteger(const std::string& xpath, std::int32_t fallback,
                                                std::int32_t low, std::int32_t high) {
        if (const auto text = Optional(xpath)) {
            return Bounded(xpath, ParseDecimalInteger(*text).value_or(fallback), fallback, low,
                           high);
        }
        return std::nullopt;
    }

    // A real within kMaxSkinCoordinate of 0; a value outside, infinity or NaN is a problem.
    double Real(const std::string& xpath, double fallback) {
        const double value =
            ParseLocaleNumber(Required(xpath), FSettings.DecimalSeparator).value_or(fallback);
        if (!(value >= -kMaxSkinCoordinate && value <= kMaxSkinCoordinate)) {
            FProblems.push_back(Describe(xpath) + " lies outside " +
                                Range(-kMaxSkinCoordinate, kMaxSkinCoordinate));
            return fallback;
        }
        return value;
    }

    Colour Color(const std::string& xpath) {
        const auto text = Optional(xpath);
        if (!text) {
            FProblems.push_back("missing " + Describe(xpath));
            return 0;
        }
        const auto colour = ParseSkinColour(*text);
        if (!colour) {
            FProblems.push_back(Quoted(*text) + " is not a colour (" + Describe(xpath) + ")");
            return 0;
        }
        return *colour;
    }

    std::int32_t Bounded(const std::string& xpath, std::int32_t value, std::int32_t fallback,
                         std::int32_t low, std::int32_t high) {
        if (value < low || value > high) {
            FProblems.push_back(Describe(xpath) + " is " + std::to_string(value) + ", outside " +
                                Range(low, high));
            return fallback;
        }
        return value;
    }

    // A value of the skin as a message shows it: quoted, its control characters escaped, and
    // cut after a few words.
    static std::string Quoted(std::string_view text) {
        constexpr std::size_t kShown = 32;
        const std::string_view shown = Utf8Prefix(text, kShown);
        return "\"" + EscapeControls(shown) + (shown.size() < text.size() ? "...\"" : "\"");
    }

    static std::string Range(std::int32_t low, std::int32_t high) {
        return std::to_string(low) + " to " + std::to_string(high);
    }

    // "skin/label[@id="time"]/font/@color" reads as "attribute color of
    // skin/label[@id="time"]/font".
    static std::string Describe(const std::string& xpath) {
        const std::size_t slash = xpath.rfind('/');
        const std::string last = xpath.substr(slash + 1);
        const std::string parent = xpath.substr(0, slash);
        if (last.starts_with('@')) {
            return "attribute " + last.substr(1) + " of " + parent;
        }
        if (last == "text()") {
            return "element " + parent;
        }
        return "element " + xpath;
    }

private:
    const XmlDocument& FXml;
    const FormatSettings& FSettings;
    std::vector<std::string>& FProblems;
};

HandDescription ReadHand(Reader& in, const std::string& name, PointF centre) {
    const std::string base = "skin/" + name;
    HandDescription hand;
    hand.FileName = in.FileName(base + "/filename/text()");
    hand.BitmapCenter.X = in.Real(base + "/bitmapCenter/@x", centre.X);
    hand.BitmapCenter.Y = in.Real(base + "/bitmapCenter/@y", centre.Y);
    hand.Position.X = in.Real(base + "/position/@x", 75);
    hand.Position.Y = in.Real(base + "/position/@y", 75);
    return hand;
}

LabelDescription ReadLabel(Reader& in, const std::string& id) {
    const std::string base = "skin/label[@id=\"" + id + "\"]";
    LabelDescription label;
    if (!in.Optional(base)) {
        in.Required(base); // one problem for the whole label rather than one per attribute
        return label;
    }
    label.Text = in.Text(base + "/@text", kMaxSkinLabelText);
    label.Left = in.Integer(base + "/@x", 62, -kMaxSkinCoordinate, kMaxSkinCoordinate);
    label.Top = in.Integer(base + "/@y", 55, -kMaxSkinCoordinate, kMaxSkinCoordinate);
    label.Width = in.OptionalInteger(base + "/@width", 89, 0, kMaxSkinCoordinate);
    label.Height = in.OptionalInteger(base + "/@height", 11, 0, kMaxSkinCoordinate);
    label.Align = in.Required(base + "/@align");
    if (!in.Optional(base + "/font")) {
        in.Required(base + "/font");
        return label;
    }
    label.Font.Name = in.Required(base + "/font/@name");
    label.Font.Size = in.Integer(base + "/font/@size", 62, 1, kMaxSkinFontSize);
    label.Font.Color = in.Color(base + "/font/@color");
    return label;
}

BoxDescription ReadButton(Reader& in, const std::string& id) {
    const std::string base = "skin/button[@id=\"" + id + "\"]";
    BoxDescription box;
    if (!in.Optional(base)) {
        in.Required(base);
        return box;
    }
    box.Left = in.Integer(base + "/@x", 62, -kMaxSkinCoordinate, kMaxSkinCoordinate);
    box.Top = in.Integer(base + "/@y", 62, -kMaxSkinCoordinate, kMaxSkinCoordinate);
    box.Width = in.Integer(base + "/@width", 62, 0, kMaxSkinCoordinate);
    box.Height = in.Integer(base + "/@height", 62, 0, kMaxSkinCoordinate);
    return box;
}

} // namespace

SkinDescription ReadSkinDescription(const XmlDocument& xml, const FormatSettings& fs,
                                    std::vector<std::string>& problems) {
    Reader in(xml, fs, problems);
    SkinDescription skin;
    skin.Author = in.OptionalText("skin/author/text()", kMaxSkinAuthor);
    skin.Description = in.OptionalText("skin/description/text()", kMaxSkinDescription);
    skin.ClockFace = in.FileName("skin/clockface/text()");
    skin.Buttons = in.FileName("skin/buttons/text()");
    skin.Glass = in.FileName("skin/glass/text()");
    skin.DigitalGlass = in.OptionalFileName("skin/digital_glass/text()");
    skin.AmPm = in.FileName("skin/pmam/text()");
    skin.Hours = ReadHand(in, "hours", {4, 42.5});
    skin.Minutes = ReadHand(in, "minutes", {2.5, 51});
    skin.Seconds = ReadHand(in, "seconds", {3.5, 61});
    skin.Chime = in.FileName("skin/sounds/chime/text()");
    skin.FaceWidth = in.Integer("skin/clockface/@width", 600, 0, kMaxSkinSide);
    skin.FaceHeight = in.Integer("skin/clockface/@height", 400, 0, kMaxSkinSide);
    for (std::size_t i = 0; i < kSkinLabelIds.size(); ++i) {
        skin.Labels[i] = ReadLabel(in, kSkinLabelIds[i]);
    }
    for (std::size_t i = 0; i < kSkinButtonIds.size(); ++i) {
        skin.FaceButtons[i] = ReadButton(in, kSkinButtonIds[i]);
    }
    return skin;
}

} // namespace norvale

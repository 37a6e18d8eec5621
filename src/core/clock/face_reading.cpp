#include "core/clock/face_reading.h"

namespace norvale {

TFaceReading ReadFace(const TFrameTexts& texts, bool weekDayShown) {
    std::string value = texts.Time;
    if (!texts.AmPm.empty()) {
        value += " " + texts.AmPm;
    }
    if (!texts.Date.empty()) {
        value += ", " + texts.Date;
    }
    if (weekDayShown && !texts.WeekDay.empty()) {
        value += ", " + texts.WeekDay;
    }
    std::string name = texts.Title.empty() ? value : texts.Title + " " + value;
    return {std::move(name), std::move(value)};
}

std::string TrayHintWithReading(std::string_view hint, const TFaceReading& reading) {
    std::string text = std::string(hint) + "\n";
    // A "|" would end the tip there: the label's own shows as a broken bar.
    for (const char c : reading.Name) {
        text += c == '|' ? std::string("\u00A6") : std::string(1, c);
    }
    return text;
}

} // namespace norvale

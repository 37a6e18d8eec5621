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
    const std::size_t firstLine = hint.find('\n');
    std::string text(hint.substr(0, firstLine));
    text += "\n";
    // A "|" would end the tip there: the label's own shows as a broken bar.
    for (const char c : reading.Name) {
        text += c == '|' ? std::string("\u00A6") : std::string(1, c);
    }
    if (firstLine != std::string_view::npos) {
        text += hint.substr(firstLine);
    }
    return text;
}

} // namespace norvale

#include "core/timezone/world_clock.h"

namespace norvale {
namespace {

bool IsBlank(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

// The text of a quoted word starting at text[pos], which is the opening quote; pos ends
// past the closing quote, or at the end when there is none.
std::string QuotedWord(std::string_view text, std::size_t& pos) {
    std::string word;
    ++pos;
    while (pos < text.size()) {
        if (text[pos] == '"') {
            if (pos + 1 < text.size() && text[pos + 1] == '"') {
                word += '"';
                pos += 2;
                continue;
            }
            ++pos;
            break;
        }
        word += text[pos++];
    }
    return word;
}

} // namespace

std::string ExtractField(std::string s, std::string_view delimiter, int n) {
    int i = 1;
    std::string field;
    if (!s.empty()) {
        while (i <= n) {
            const std::size_t p = s.find(delimiter);
            if (p == std::string::npos) {
                field = s;
                break;
            }
            field = s.substr(0, p);
            s.erase(0, p + 1);
            ++i;
        }
    }
    return i < n ? std::string() : field;
}

std::vector<std::string> SplitDelimitedText(std::string_view text) {
    std::vector<std::string> items;
    std::size_t pos = 0;
    const auto skipBlanks = [&] {
        while (pos < text.size() && IsBlank(text[pos])) {
            ++pos;
        }
    };
    skipBlanks();
    while (pos < text.size()) {
        if (text[pos] == '"') {
            items.push_back(QuotedWord(text, pos));
        } else {
            const std::size_t start = pos;
            while (pos < text.size() && text[pos] != ',' && !IsBlank(text[pos])) {
                ++pos;
            }
            items.emplace_back(text.substr(start, pos - start));
        }
        skipBlanks();
        if (pos < text.size() && text[pos] == ',') {
            if (pos + 1 == text.size()) {
                items.emplace_back();
            }
            ++pos;
            skipBlanks();
        }
    }
    return items;
}

TfrmWorldClock::TfrmWorldClock(const TVeskRegistryTimeZones& zones) {
    FListZones.reserve(static_cast<std::size_t>(zones.ZoneCount()));
    for (int i = 0; i < zones.ZoneCount(); ++i) {
        FListZones.push_back(zones.ZoneAt(i).DisplayName);
    }
}

void TfrmWorldClock::SetListZonesItemIndex(int index) {
    FListZonesIndex = index >= 0 && index < static_cast<int>(FListZones.size()) ? index : -1;
}

void TfrmWorldClock::SelectZone(int position) {
    if (position < static_cast<int>(FListZones.size())) {
        SetListZonesItemIndex(position);
    }
    ListZonesClick();
}

void TfrmWorldClock::ListZonesClick() {
    if (FListZonesIndex < 0) {
        return;
    }
    const std::string places =
        ExtractField(FListZones[static_cast<std::size_t>(FListZonesIndex)], ")", 2);
    FClockLabelItems = SplitDelimitedText(places);
    if (!FClockLabelItems.empty()) {
        FClockLabel = FClockLabelItems.front();
    }
}

void TfrmWorldClock::bResetClick() {
    FClockLabel = "Clock";
    FListZonesIndex = -1;
}

} // namespace norvale

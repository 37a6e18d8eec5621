#pragma once

#include "core/timezone/zone_database.h"

#include <string>
#include <string_view>
#include <vector>

namespace norvale {

// The n-th (from 1) delimiter-separated field of s: with ")" and 2, the text between the
// first and the second ")", or from the first ")" to the end; empty when s has fewer fields.
std::string ExtractField(std::string s, std::string_view delimiter, int n);

// Comma-delimited text as a list's items: commas and blanks (codes 1 to 32) both separate
// words, a word in double quotes keeps its blanks ("" inside stands for one quote), and a
// comma at the very end adds an empty item.
std::vector<std::string> SplitDelimitedText(std::string_view text);

// The World Clock dialog's state: the zone list box and the label combo box, as the user and
// the clock window change them. The platform's dialog shows it and feeds the user's input
// back.
class TfrmWorldClock {
public:
    // Fills the list with every zone's display name, so list index and zone position agree.
    explicit TfrmWorldClock(const TVeskRegistryTimeZones& zones);

    const std::vector<std::string>& ListZonesItems() const { return FListZones; }
    const std::vector<std::string>& ClockLabelItems() const { return FClockLabelItems; }

    // The user selected a list item (-1: none).
    void SetListZonesItemIndex(int index);

    // Selects a zone position when it is in the list (-1 or below clears the selection,
    // a position past the end keeps it), then runs ListZonesClick.
    void SelectZone(int position);
    int SelectedZone() const { return FListZonesIndex; }
    void SetClockLabel(std::string label) { FClockLabel = std::move(label); }
    const std::string& GetClockLabel() const { return FClockLabel; }

    // Offers the selected zone's place names as labels and takes the first one. A name
    // without place names offers nothing and keeps the label as it is.
    void ListZonesClick();
    // The label "Clock" and no zone: the computer's own time.
    void bResetClick();

private:
    std::vector<std::string> FListZones;
    int FListZonesIndex = -1;
    std::vector<std::string> FClockLabelItems;
    std::string FClockLabel;
};

} // namespace norvale

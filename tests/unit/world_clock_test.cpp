#include "core/timezone/world_clock.h"
#include "support/fake_registry.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

using testing::FakeRegistry;
using Words = std::vector<std::string>;

TEST(ExtractField, TakesThePlaceNamesAfterTheFirstParenthesis) {
    EXPECT_EQ(ExtractField("(GMT+01:00) Amsterdam, Berlin", ")", 2), " Amsterdam, Berlin");
    // A second ")" ends the field.
    EXPECT_EQ(ExtractField("(UTC-05:00) Eastern Time (US & Canada)", ")", 2),
              " Eastern Time (US & Canada");
    EXPECT_EQ(ExtractField("(UTC-05:00) a) b) c", ")", 2), " a");
    EXPECT_EQ(ExtractField("(UTC)", ")", 2), "");
}

TEST(ExtractField, IsEmptyWhenThereAreTooFewFields) {
    EXPECT_EQ(ExtractField("Coordinated Universal Time", ")", 2), "");
    EXPECT_EQ(ExtractField("", ")", 2), "");
    EXPECT_EQ(ExtractField("", ")", 1), "");
    EXPECT_EQ(ExtractField("a)b)c", ")", 4), "");
    EXPECT_EQ(ExtractField("a)b)c", ")", 3), "c");
    EXPECT_EQ(ExtractField("no delimiter", ")", 1), "no delimiter");
}

TEST(SplitDelimitedText, BlanksAndCommasBothSeparateWords) {
    EXPECT_EQ(SplitDelimitedText(" Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna"),
              (Words{"Amsterdam", "Berlin", "Bern", "Rome", "Stockholm", "Vienna"}));
    EXPECT_EQ(SplitDelimitedText(" Eastern Time (US & Canada"),
              (Words{"Eastern", "Time", "(US", "&", "Canada"}));
    EXPECT_EQ(SplitDelimitedText(" Greenwich Mean Time : Dublin, Edinburgh, Lisbon"),
              (Words{"Greenwich", "Mean", "Time", ":", "Dublin", "Edinburgh", "Lisbon"}));
    EXPECT_EQ(SplitDelimitedText("a,,b\t\nc"), (Words{"a", "", "b", "c"}));
    EXPECT_TRUE(SplitDelimitedText("   ").empty());
    EXPECT_TRUE(SplitDelimitedText("").empty());
}

TEST(SplitDelimitedText, ACommaAtTheVeryEndAddsAnEmptyWord) {
    EXPECT_EQ(SplitDelimitedText("Paris,"), (Words{"Paris", ""}));
    EXPECT_EQ(SplitDelimitedText("Paris, "), (Words{"Paris"})); // not the last character
}

TEST(SplitDelimitedText, QuotesKeepBlanksAndDoubledQuotesStandForOne) {
    EXPECT_EQ(SplitDelimitedText(R"("New York", "say ""hi""",x)"),
              (Words{"New York", R"(say "hi")", "x"}));
    EXPECT_EQ(SplitDelimitedText(R"("open ended)"), (Words{"open ended"}));
    EXPECT_EQ(SplitDelimitedText(R"("a"b)"), (Words{"a", "b"}));
}

class WorldClockTest : public ::testing::Test {
protected:
    void Zone(const std::string& id, const std::string& display) {
        const std::string path = std::string(TimeZonesKeyPath(true)) + "\\" + id;
        registry.SetValue(RegistryRoot::LocalMachine, path, "Display", RegistryValueType::String,
                          display);
        registry.SetValue(RegistryRoot::LocalMachine, path, "TZI", RegistryValueType::Binary,
                          std::string(kTziSize, '\0'));
    }
    void SetUp() override {
        Zone("Eastern Standard Time", "(UTC-05:00) Eastern Time (US & Canada)");
        Zone("GMT Standard Time", "(GMT) Greenwich Mean Time : Dublin, Edinburgh, Lisbon");
        Zone("W. Europe Standard Time",
             "(GMT+01:00) Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna");
        Zone("Plain", "(UTC+02:00)");
    }
    // The list position of a zone by its place names.
    int Position(const TfrmWorldClock& form, std::string_view part) {
        const auto& items = form.ListZonesItems();
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].find(part) != std::string::npos) {
                return static_cast<int>(i);
            }
        }
        ADD_FAILURE() << "no zone " << part;
        return -1;
    }

    FakeRegistry registry;
};

TEST_F(WorldClockTest, ListsTheZonesInTheirListOrder) {
    const TVeskRegistryTimeZones zones(registry, true);
    const TfrmWorldClock form(zones);
    ASSERT_EQ(form.ListZonesItems().size(), 4u);
    for (int i = 0; i < zones.ZoneCount(); ++i) {
        EXPECT_EQ(form.ListZonesItems()[static_cast<std::size_t>(i)], zones.ZoneAt(i).DisplayName);
    }
    EXPECT_EQ(form.SelectedZone(), -1);
}

TEST_F(WorldClockTest, ClickingAZoneOffersItsPlacesAndTakesTheFirst) {
    const TVeskRegistryTimeZones zones(registry, true);
    TfrmWorldClock form(zones);
    form.SetListZonesItemIndex(Position(form, "Amsterdam"));
    form.ListZonesClick();
    EXPECT_EQ(form.GetClockLabel(), "Amsterdam");
    EXPECT_EQ(form.ClockLabelItems(),
              (Words{"Amsterdam", "Berlin", "Bern", "Rome", "Stockholm", "Vienna"}));

    form.SetListZonesItemIndex(Position(form, "Eastern"));
    form.ListZonesClick();
    EXPECT_EQ(form.GetClockLabel(), "Eastern");
    EXPECT_EQ(form.ClockLabelItems(), (Words{"Eastern", "Time", "(US", "&", "Canada"}));
}

TEST_F(WorldClockTest, AZoneWithoutPlaceNamesKeepsTheLabel) {
    const TVeskRegistryTimeZones zones(registry, true);
    TfrmWorldClock form(zones);
    form.SetClockLabel("Mine");
    form.SelectZone(Position(form, "(UTC+02:00)"));
    EXPECT_EQ(form.GetClockLabel(), "Mine");
    EXPECT_TRUE(form.ClockLabelItems().empty());
}

TEST_F(WorldClockTest, SelectZoneThenSetClockLabelOpensWithTheCurrentLabel) {
    const TVeskRegistryTimeZones zones(registry, true);
    TfrmWorldClock form(zones);
    const int gmt = Position(form, "Greenwich");
    form.SelectZone(gmt);
    form.SetClockLabel("Time");
    EXPECT_EQ(form.SelectedZone(), gmt);
    EXPECT_EQ(form.GetClockLabel(), "Time");
    EXPECT_EQ(form.ClockLabelItems(),
              (Words{"Greenwich", "Mean", "Time", ":", "Dublin", "Edinburgh", "Lisbon"}));
}

TEST_F(WorldClockTest, SelectZoneMinusOneClearsAndPastTheEndKeeps) {
    const TVeskRegistryTimeZones zones(registry, true);
    TfrmWorldClock form(zones);
    form.SelectZone(4); // past the end with nothing selected: still nothing
    EXPECT_EQ(form.SelectedZone(), -1);
    EXPECT_TRUE(form.ClockLabelItems().empty());

    const int eastern = Position(form, "Eastern");
    form.SelectZone(eastern);
    form.SelectZone(4);
    EXPECT_EQ(form.SelectedZone(), eastern);
    form.SelectZone(-1);
    EXPECT_EQ(form.SelectedZone(), -1);
    EXPECT_FALSE(form.ClockLabelItems().empty()); // the offered words stay
}

TEST_F(WorldClockTest, ResetMeansTheComputersOwnTimeUnderClock) {
    const TVeskRegistryTimeZones zones(registry, true);
    TfrmWorldClock form(zones);
    form.SelectZone(Position(form, "Amsterdam"));
    form.bResetClick();
    EXPECT_EQ(form.SelectedZone(), -1);
    EXPECT_EQ(form.GetClockLabel(), "Clock");
    EXPECT_EQ(form.ClockLabelItems().size(), 6u); // the drop-down keeps its words
}

TEST_F(WorldClockTest, TheLabelIsKeptExactlyAsTyped) {
    const TVeskRegistryTimeZones zones(registry, true);
    TfrmWorldClock form(zones);
    form.SetClockLabel("  Home ");
    EXPECT_EQ(form.GetClockLabel(), "  Home ");
    form.SetClockLabel("");
    EXPECT_EQ(form.GetClockLabel(), "");
}

} // namespace
} // namespace norvale

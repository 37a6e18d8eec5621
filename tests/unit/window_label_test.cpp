#include "core/skin/window_label.h"
#include "support/fake_text_rasterizer.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

class WindowLabelTest : public ::testing::Test {
protected:
    WindowLabelTest() {
        text.CharWidth = 6;
        text.LineHeight = 12;
    }

    TWindowLabel Make(bool autoSize) {
        return TWindowLabel(text, autoSize, 57, 102, 68, 19, "88:88:88",
                            TextFont{"Digital", 14, 0x3C3434});
    }

    testing::FakeTextRasterizer text;
};

TEST_F(WindowLabelTest, TakesTheSizeOfANewText) {
    TWindowLabel label = Make(true);
    label.SetText("00:00");
    EXPECT_EQ(label.Width, 30);
    EXPECT_EQ(label.Height, 12);
    EXPECT_EQ(label.Left, 57);
    EXPECT_EQ(label.Top, 102);
}

TEST_F(WindowLabelTest, ARightAlignedLabelKeepsItsRightEdge) {
    TWindowLabel label = Make(true);
    label.Alignment = TAlignment::Right;
    label.SetText("0:00"); // 24 wide: the left edge moves right by 68 - 24
    EXPECT_EQ(label.Left, 101);
    EXPECT_EQ(label.Left + label.Width, 57 + 68);
    text.CharWidth = 9; // a wider font keeps the right edge too
    label.SetFontSize(20);
    EXPECT_EQ(label.Width, 36);
    EXPECT_EQ(label.Left + label.Width, 57 + 68);
}

TEST_F(WindowLabelTest, MeasuresOnlyOnARealChange) {
    TWindowLabel label = Make(true);
    label.SetText("88:88:88");
    label.SetFontName("Digital");
    label.SetFontSize(14);
    label.SetFontColor(0x3C3434);
    label.Alignment = TAlignment::Right;
    label.Width = 5;
    label.Left = 1;
    EXPECT_EQ(text.Measured, 0);
    EXPECT_EQ(label.Width, 5);
    label.SetFontColor(0xFFFFFF); // a colour cannot change the text's size
    EXPECT_EQ(text.Measured, 0);
    label.SetFontName("Other");
    label.SetText("1");
    EXPECT_EQ(text.Measured, 2);
    label.SetFont("Third", 20, 0x123456); // family and size at once: one measure
    EXPECT_EQ(text.Measured, 3);
    label.SetFont("", 20, 0x654321); // an empty family keeps it
    EXPECT_EQ(text.Measured, 3);
    EXPECT_EQ(label.Font().Name, "Third");
    EXPECT_EQ(label.Font().Color, 0x654321u);
}

TEST_F(WindowLabelTest, ALabelWithoutAutoSizeKeepsItsBox) {
    TWindowLabel label = Make(false);
    label.SetText("a much longer title");
    label.SetFontSize(30);
    EXPECT_EQ(label.Width, 68);
    EXPECT_EQ(label.Height, 19);
    EXPECT_EQ(text.Measured, 0);
    EXPECT_EQ(label.Text(), "a much longer title");
}

TEST_F(WindowLabelTest, TabsAreExpandedForMeasuring) {
    TWindowLabel label = Make(true);
    label.SetText("ab\tc"); // "ab" and six blanks up to the tab stop at 8, then "c"
    EXPECT_EQ(label.Width, 9 * 6);
    label.SetText("\t\t");
    EXPECT_EQ(label.Width, 16 * 6);
}

TEST_F(WindowLabelTest, FontFamiliesAreCutToThirtyOneCharacters) {
    TWindowLabel label = Make(true);
    label.SetFontName(std::string(40, 'x'));
    EXPECT_EQ(label.Font().Name, std::string(31, 'x'));
    // Characters, not bytes: "é" is two bytes in UTF-8.
    std::string accented;
    for (int i = 0; i < 35; ++i) {
        accented += "\xC3\xA9";
    }
    label.SetFontName(accented);
    EXPECT_EQ(label.Font().Name, accented.substr(0, 62));
}

} // namespace
} // namespace norvale

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shell/shell_state.h"
#include "app/shell/text.h"
#include "game/recording_driver.h"

namespace {

class TextTest : public RecordingTest {
protected:
    void SetUp() override
    {
        RecordingTest::SetUp();
        shellpictures.fontimage = driver.MakeImage("font", 12, 16, 78);
    }
    void TearDown() override
    {
        shellpictures.fontimage.reset();
        RecordingTest::TearDown();
    }

    struct Glyph {
        int cell;
        float x, y;
        bool operator==(const Glyph&) const = default;
    };
    friend std::ostream& operator<<(std::ostream& os, const Glyph& g)
    {
        return os << "{cell " << g.cell << " at " << g.x << "," << g.y << "}";
    }

    std::vector<Glyph> Draw(const std::string& text, int x, int y, int centred = 0, int spacing = 0)
    {
        driver.calls.clear();
        DrawFontText(text, x, y, centred, spacing);
        std::vector<Glyph> glyphs;
        for (const auto& c : driver.Images("font"))
            glyphs.push_back({c.frame, c.x, c.y});
        return glyphs;
    }

    // x of the second glyph when the first character is c and the second a plain "a".
    float AdvanceOf(char c, int spacing = 0)
    {
        const auto glyphs = Draw(std::string(1, c) + "a", 0, 0, 0, spacing);
        return glyphs.back().x;
    }
};

TEST_F(TextTest, CellsFollowTheStripLayout)
{
    const std::string text = "azAZ09:-_.?!,'\"@";
    const std::vector<int> cells = {0, 25, 26, 51, 52, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70, 71};
    const auto glyphs = Draw(text, 0, 0);
    ASSERT_EQ(glyphs.size(), cells.size());
    for (size_t i = 0; i < cells.size(); ++i)
        EXPECT_EQ(glyphs[i].cell, cells[i]) << text[i];
}

TEST_F(TextTest, WidthClassesAtScaleOne)
{
    for (char c : std::string("iltz1:.,!-\"ITZ"))
        EXPECT_EQ(AdvanceOf(c), 10) << c;
    for (char c : std::string("aAwW0_'?@#m"))
        EXPECT_EQ(AdvanceOf(c), 12) << c;
    EXPECT_EQ(AdvanceOf(' '), 8);
}

TEST_F(TextTest, HalfScaleAdvancesAddTheSpacingAfterEveryCharacter)
{
    SetScale(0.5f, 0.5f);
    EXPECT_EQ(AdvanceOf('a', 1), 7);
    EXPECT_EQ(AdvanceOf('i', 1), 6);
    EXPECT_EQ(AdvanceOf(' ', 1), 5);
    EXPECT_EQ(Draw("abc", 40, 9, 0, 2), (std::vector<Glyph>{{0, 40, 9}, {1, 48, 9}, {2, 56, 9}}));
}

TEST_F(TextTest, AdvanceIsTruncatedAfterEveryCharacter)
{
    SetScale(0.75f, 0.75f); // narrow characters advance 7.5, cut to 7 each time
    EXPECT_EQ(Draw("iiia", 0, 0), (std::vector<Glyph>{{8, 0, 0}, {8, 7, 0}, {8, 14, 0}, {0, 21, 0}}));
}

TEST_F(TextTest, CharacterWithoutACellLeavesAGapOfSix)
{
    EXPECT_EQ(Draw("a#b", 10, 20), (std::vector<Glyph>{{0, 10, 20}, {1, 34, 20}}));
    // Bytes above 127 (here the two bytes of a UTF-8 "é") have no cell either.
    EXPECT_EQ(Draw("a\xc3\xa9" "b", 0, 0), (std::vector<Glyph>{{0, 0, 0}, {1, 36, 0}}));
}

TEST_F(TextTest, CentringCountsSpacesAndTheSpacingOnce)
{
    // "Music Volume:" measures 73 units, the ten spaces add 40: 113, halved to 56, doubled.
    const auto padded = Draw("Music Volume:          ", 250, 100, 1);
    ASSERT_EQ(padded.size(), 12u);
    EXPECT_EQ(padded.front(), (Glyph{38, 138, 100}));
    EXPECT_EQ(padded.back(), (Glyph{62, 274, 100}));
    const auto bare = Draw("Music Volume:", 250, 100, 1);
    EXPECT_EQ(bare.front().x, 178);
    EXPECT_EQ(padded.back().x, bare.back().x - 40);

    // The spacing shifts the start once, not once per character.
    EXPECT_EQ(Draw("ab", 100, 0, 1, 3), (std::vector<Glyph>{{0, 85, 0}, {1, 100, 0}}));
    // The half width is an integer division.
    EXPECT_EQ(Draw("i", 100, 0, 1).front().x, 96);
    SetScale(0.5f, 0.5f);
    EXPECT_EQ(Draw("ab", 100, 0, 1).front().x, 94);
}

// The name entry's cursor is drawn where the letter it marks was drawn, whatever the widths.
TEST_F(TextTest, CharacterLeftIsWhereTheLineDrawsThatCharacter)
{
    for (const std::string& text : {std::string("AIZ"), std::string("Wi, l"), std::string("x")}) {
        for (int spacing : {0, 3}) {
            for (int centred : {0, 1}) {
                const auto glyphs = Draw(text, 256, 310, centred, spacing);
                size_t glyph = 0;
                for (size_t i = 0; i < text.size(); ++i) {
                    if (text[i] == ' ')
                        continue;
                    EXPECT_EQ(FontCharLeft(text, i, 256, centred, spacing), glyphs[glyph++].x)
                        << text << " index " << i << " spacing " << spacing << " centred " << centred;
                }
            }
        }
    }
    SetScale(0.5f, 0.5f);
    EXPECT_EQ(FontCharLeft("ab", 1, 100, 1, 0), Draw("ab", 100, 0, 1).back().x);
    EXPECT_EQ(FontCharLeft("ab", 2, 0, 0, 0), 12) << "past the end: where one more would go";
}

TEST_F(TextTest, EmptyTextDrawsNothingAndNoStateIsChanged)
{
    EXPECT_TRUE(Draw("", 10, 10).empty());
    EXPECT_TRUE(Draw("", 10, 10, 1, 5).empty());
    Draw("Hello, World!", 10, 10, 1, 2);
    for (const auto& c : driver.calls)
        EXPECT_EQ(c.op, "Image");
}

TEST_F(TextTest, CreditIsAHalfScaleLineWithAShadowOnePixelBelow)
{
    SetAlpha(0.3f);
    driver.calls.clear();
    DrawCredit();
    const auto glyphs = driver.Images("font");
    ASSERT_FALSE(glyphs.empty());
    ASSERT_EQ(glyphs.size() % 2, 0u);
    const size_t half = glyphs.size() / 2;
    for (size_t i = 0; i < half; ++i) {
        const auto& shadow = glyphs[i];
        const auto& text = glyphs[half + i];
        EXPECT_EQ(shadow.frame, text.frame);
        EXPECT_EQ(shadow.x, text.x);
        EXPECT_EQ(shadow.y, 502);
        EXPECT_EQ(text.y, 501);
        EXPECT_EQ(shadow.r + shadow.g + shadow.b, 0);
        EXPECT_EQ(text.r, 213);
        EXPECT_EQ(text.g, 219);
        EXPECT_EQ(text.b, 214);
        EXPECT_EQ(text.scaleX, 0.5f);
        EXPECT_EQ(text.alpha, 0.3f);
    }
    EXPECT_EQ(glyphs.front().x, 225);
    EXPECT_LT(glyphs[half - 1].x + 6, 512); // the line fits the window

    const TDraw2DGraphics* g = TDraw2DGraphics::Current();
    EXPECT_EQ(g->tform_scale_x, 1);
    EXPECT_EQ(g->color_red + g->color_green + g->color_blue, 3 * 255);
    EXPECT_EQ(g->color_alpha, 0.3f);
}

} // namespace

// The panel of a play's figures: its lines, and the panel drawn with the game's real font into a
// real OpenGL context, read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/test_canvas.h"
#include "app/screens/figures_panel.h"
#include "app/shell/shell_state.h"
#include "draw2d/draw2d.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/pixmap.h"
#include "game/block.h"
#include "window_pictures.h"

namespace {

using game_run::Luminance;

TPlayFigures SomeFigures()
{
    TPlayFigures f;
    f.rows = 12;
    f.pieces = 105;
    f.frames = 125 * 60 + 27; // 2:05 and 27 frames, 45 hundredths
    f.powerUps = {0, 1, 3, 0, 2};
    f.longestChain = 3;
    return f;
}

TEST(FigureColumns, TheLinesOfAPlay)
{
    const TFigureColumns columns = FigureColumns(SomeFigures());
    EXPECT_EQ(columns.left, (std::vector<TFigureLine>{
                                {"Rows", "12"}, {"Pieces", "105"}, {"Time", "02:05.45"}, {"Pieces a second", "0.84"}}));
    EXPECT_EQ(columns.right, (std::vector<TFigureLine>{
                                 {"Slow-downs", "1"}, {"Blasts", "3"}, {"Collapses", "0"}, {"Flips", "2"}, {"Longest chain", "3"}}));
    ASSERT_LE(columns.right.size(), static_cast<size_t>(FiguresPanelLines));

    // Pieces a second to the nearest hundredth; none before the first frame.
    TPlayFigures f;
    EXPECT_EQ(FigureColumns(f).left[3].value, "0.00");
    f.pieces = 2;
    f.frames = 180;
    EXPECT_EQ(FigureColumns(f).left[3].value, "0.67");
    f.pieces = 181;
    f.frames = 60;
    EXPECT_EQ(FigureColumns(f).left[3].value, "181.00");
}

class FiguresPanelGL : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenTestCanvas());
        // As start-up loads it.
        shellpictures.fontimage = LoadAnimStrip(BuiltPictures() + "options.png", 12, 16, 0, 78, 0);
        ASSERT_TRUE(shellpictures.fontimage);
    }
    void TearDown() override
    {
        shellpictures.fontimage.reset();
        CloseTestCanvas();
    }

    // The panel over a window of one grey.
    static std::shared_ptr<TPixmap> PanelOver(int grey, int32_t top)
    {
        SetClsColor(grey, grey, grey);
        Cls();
        DrawFiguresPanel(SomeFigures(), top);
        return GrabPixmap(0, 0, WindowWidth, WindowHeight);
    }
};

// Over the brightest a board can be (white) and over the Low background's grey, every line of
// the panel keeps 3:1 between its strokes and the box; outside the box nothing changes; the values
// of a column end at one edge.
TEST_F(FiguresPanelGL, EveryLineReadsOverAnyBoardAndTheValuesLineUp)
{
    constexpr int32_t Top = 300;
    constexpr int32_t Left = (WindowWidth - FiguresPanelWidth) / 2;
    constexpr int32_t LineHeight = 12; // a 16-pixel cell at three quarters
    for (const int grey : {255, 122}) {
        const auto shot = PanelOver(grey, Top);
        for (const int32_t x : {Left - 1, Left + FiguresPanelWidth})
            EXPECT_EQ(shot->ReadPixel(x, Top + 20) & 0xFFFFFF, static_cast<uint32_t>(grey * 0x010101)) << x;
        for (const int32_t y : {Top - 1, Top + FiguresPanelHeight})
            EXPECT_EQ(shot->ReadPixel(WindowWidth / 2, y) & 0xFFFFFF, static_cast<uint32_t>(grey * 0x010101)) << y;

        for (const bool right : {false, true}) {
            const int32_t columnLeft = right ? WindowWidth / 2 : Left;
            const int lines = right ? FiguresPanelLines : FiguresPanelLines - 1;
            std::vector<int32_t> lineEnds;
            for (int line = 0; line < lines; ++line) {
                const int32_t y0 = Top + FiguresPanelPadding + line * FiguresLinePitch;
                std::vector<double> lums;
                int32_t end = 0;
                for (int32_t y = y0; y < y0 + LineHeight; ++y)
                    for (int32_t x = columnLeft; x < columnLeft + FiguresPanelWidth / 2; ++x) {
                        const double lum = Luminance(shot->ReadPixel(x, y));
                        lums.push_back(lum);
                        if (lum > 0.3)
                            end = std::max(end, x);
                    }
                std::sort(lums.begin(), lums.end());
                const double strokes = lums[lums.size() * 97 / 100], behind = lums[lums.size() / 2];
                EXPECT_GE((strokes + 0.05) / (behind + 0.05), 3.0) << "grey " << grey << ", line " << line << ", right " << right;
                lineEnds.push_back(end);
            }
            const auto [least, most] = std::minmax_element(lineEnds.begin(), lineEnds.end());
            EXPECT_LE(*most - *least, 2) << "grey " << grey << ": values of one column end at one edge";
        }
    }
}

} // namespace

// The well over every background: the play screen's backdrop drawn into a real OpenGL context as
// the game draws it, at both Visibility settings and turned through a whole circle, and read back
// where the board lies. The dimmest block must stand out from every pixel there, and nothing
// there may have the size and contrast of a block.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "common/test_canvas.h"
#include "app/screens/backdrop.h"
#include "app/shell/shell_state.h"
#include "draw2d/draw2d.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/pixmap.h"
#include "game/game.h"
#include "game/pictures.h"
#include "game/settings.h"
#include "game/shape.h"
#include "window_pictures.h"

namespace {

using game_run::ContrastRatio;
using game_run::Luminance;

constexpr int32_t WellWidth = BoardColumns * cellsize;
constexpr int32_t WellHeight = BoardRows * cellsize;
// A block's colour is its template's less at most this much in each component.
constexpr int BlockShadeOffset = 3;
// The face of the block picture, inside its bevel.
constexpr int FaceInset = 3;
// Every 30 degrees: a point of the picture 400 pixels off the turning centre stays behind the
// well for 47 degrees of a turn, one nearer for longer, so each is seen there at least once.
constexpr int AngleStep = 30;
constexpr double LeastContrast = 3.0;
// The most two pixels of one cell may differ, as contrast: soft clouds pass, a picture's edge
// crossing a cell does not.
constexpr double MostCellContrast = 1.2;

// Relative luminance by table: each channel's share, from the window pictures' own measure.
class TLuminanceTable {
public:
    TLuminanceTable()
    {
        for (uint32_t v = 0; v < 256; ++v)
            shares_[v] = {Luminance(v << 16), Luminance(v << 8), Luminance(v)};
    }
    double operator()(uint32_t argb) const
    {
        return shares_[(argb >> 16) & 0xFF][0] + shares_[(argb >> 8) & 0xFF][1] + shares_[argb & 0xFF][2];
    }
    // Of a pixel of an RGBA8888 pixmap, read in place: the well is read back a few hundred times.
    double operator()(const uint8_t* rgba) const { return shares_[rgba[0]][0] + shares_[rgba[1]][1] + shares_[rgba[2]][2]; }

private:
    std::array<std::array<double, 3>, 256> shares_{};
};

// What one background shows behind the well at one Visibility over the whole circle.
struct TWellFigures {
    double brightest = 0;   // relative luminance of the brightest pixel
    double cellContrast = 1; // the most contrast inside one cell
};

class WellBackdropGL : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenTestCanvas());
        SetClsColor(50, 50, 50);
        // As start-up loads them: unfiltered, the backgrounds and the frame picture centred.
        for (int i = 0; i < backcount; ++i) {
            shellpictures.backimages[i] = LoadCentredPicture("back" + std::to_string(i + 1) + ".png");
            ASSERT_TRUE(shellpictures.backimages[i]) << "back" << i + 1 << ".png";
        }
        shellpictures.hudimage = LoadCentredPicture("hud.png");
        pictures.blockimage = LoadImageFile(BuiltPictures() + "block1.png", 0);
        ASSERT_TRUE(shellpictures.hudimage && pictures.blockimage);
        if (shapecount == 0)
            shape::Init();
        saved_visibility_ = settings.visibility;
    }
    void TearDown() override
    {
        settings.visibility = saved_visibility_;
        background.Reset();
        shellpictures.backimages = {};
        shellpictures.hudimage = nullptr;
        pictures.blockimage = nullptr;
        CloseTestCanvas();
    }

    // The dimmest shade a settled block shows: the darkest template at its darkest offset, the
    // median of its face as drawn. Blocks are tinted alike at both Visibility settings.
    double DimmestBlockShade() const
    {
        double dimmest = 1;
        for (const auto& s : shapes) {
            Cls();
            SetColor(s->r - BlockShadeOffset, s->g - BlockShadeOffset, s->b - BlockShadeOffset);
            DrawImage(pictures.blockimage, 0, 0);
            SetColor(255, 255, 255);
            const auto face = GrabPixmap(0, 0, cellsize, cellsize);
            std::vector<double> lums;
            for (int y = FaceInset; y < cellsize - FaceInset; ++y)
                for (int x = FaceInset; x < cellsize - FaceInset; ++x)
                    lums.push_back(lum_(face->ReadPixel(x, y)));
            std::nth_element(lums.begin(), lums.begin() + lums.size() / 2, lums.end());
            dimmest = std::min(dimmest, lums[lums.size() / 2]);
        }
        return dimmest;
    }

    // The play screen's backdrop under a full tint: the background at angle, then the frame
    // picture; the well read back.
    std::shared_ptr<TPixmap> WellAt(int index, float angle) const
    {
        Cls();
        background.backindex = index;
        background.backfade = 0;
        background.backtimer = backperiod;
        background.backangle = angle - 0.08f; // the background turns on by one step as it draws
        SetColor(255, 255, 255);
        DrawBackground();
        SetColor(255, 255, 255);
        DrawFramePicture();
        return GrabPixmap(BoardLeft, 0, WellWidth, WellHeight);
    }

    TWellFigures Figures(int index) const
    {
        TWellFigures figures;
        for (int angle = 0; angle < 360; angle += AngleStep) {
            const auto well = WellAt(index, static_cast<float>(angle));
            EXPECT_EQ(well->format, PF_RGBA8888);
            for (int cy = 0; cy < BoardRows; ++cy)
                for (int cx = 0; cx < BoardColumns; ++cx) {
                    double least = 1, most = 0;
                    // The frame picture's faint grid lies on the first row and column of each
                    // cell, the same over every background; a block covers its own cell's.
                    for (int y = cy * cellsize + 1; y < (cy + 1) * cellsize; ++y)
                        for (int x = cx * cellsize + 1; x < (cx + 1) * cellsize; ++x) {
                            const double lum = lum_(well->pixels + y * well->pitch + x * 4);
                            least = std::min(least, lum);
                            most = std::max(most, lum);
                        }
                    figures.brightest = std::max(figures.brightest, most);
                    figures.cellContrast = std::max(figures.cellContrast, ContrastRatio(least, most));
                }
        }
        return figures;
    }

private:
    TLuminanceTable lum_;
    int32_t saved_visibility_ = 1;
};

TEST_F(WellBackdropGL, TheDimmestBlockStandsOutAndNoShapeOfABlockLiesBehindTheWell)
{
    const double shade = DimmestBlockShade();
    std::printf("dimmest block shade: relative luminance %.4f\n", shade);
    for (const int visibility : {1, 0}) {
        settings.visibility = visibility;
        const char* name = visibility != 0 ? "High" : "Low";
        for (int i = 0; i < backcount; ++i) {
            const TWellFigures figures = Figures(i);
            const double contrast = ContrastRatio(shade, figures.brightest);
            std::printf("back%d.png at %s: block contrast %.2f, most contrast in a cell %.3f\n", i + 1, name,
                        contrast, figures.cellContrast);
            EXPECT_GE(contrast, LeastContrast) << "back" << i + 1 << ".png at " << name;
            EXPECT_LE(figures.cellContrast, MostCellContrast) << "back" << i + 1 << ".png at " << name;
        }
    }
}

} // namespace

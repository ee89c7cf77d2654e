#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "board_picture.h"
#include "game/board_draw.h"
#include "game/boom.h"
#include "game/effects.h"
#include "game/game.h"
#include "game/pictures.h"
#include "game/settings.h"
#include "game/shape.h"
#include "recording_driver.h"

namespace {

constexpr float HighShadow = 0.395f;
constexpr float LowShadow = 0.895f;

class BoardDrawTest : public RecordingTest {
protected:
    void SetUp() override
    {
        RecordingTest::SetUp();
        pictures.blockimage = driver.MakeImage("block", 16, 16);
        for (int k = 0; k < 4; ++k)
            pictures.powerupimages[k] = driver.MakeImage("powerup" + std::to_string(k + 1), 16, 16);
        pictures.shadowimage = driver.MakeImage("shadow", 16, 48);
        pictures.pointsimage = driver.MakeImage("points", 10, 8, 17);
        settings.Reset();
        effects.Reset();
        board = StandardGame();
    }
    void TearDown() override
    {
        pictures.blockimage = pictures.shadowimage = pictures.pointsimage = nullptr;
        pictures.powerupimages = {};
        settings.Reset();
        effects.Reset();
        booms.Clear();
        RecordingTest::TearDown();
    }

    std::shared_ptr<block> Place(int x, int y, int kind = 0)
    {
        auto b = std::make_shared<block>();
        b->x = x, b->y = y, b->kind = kind;
        b->r = 100, b->g = 110, b->b = 120;
        board->place.AddLast(b);
        return b;
    }

    // The board's own draws: the pictures other than the score strip.
    std::vector<TRecordedCall> BoardImages() const
    {
        std::vector<TRecordedCall> out;
        for (const auto& c : driver.Images())
            if (c.image != "points")
                out.push_back(c);
        return out;
    }

    std::vector<float> ShadowAlphas() const
    {
        std::vector<float> out;
        for (const auto& c : driver.Images("shadow"))
            out.push_back(c.alpha);
        return out;
    }

    // The driver calls as "Op a b c" lines, from the first call after the score on.
    std::vector<std::string> CallsAfterScore() const
    {
        std::vector<std::string> out;
        size_t i = 0;
        for (size_t k = 0; k < driver.calls.size(); ++k)
            if (driver.calls[k].image == "points")
                i = k + 1;
        for (; i < driver.calls.size(); ++i) {
            const auto& c = driver.calls[i];
            std::ostringstream line;
            line << c.op;
            if (c.op == "Image")
                line << " " << c.image << " " << c.frame << " at " << Num(c.x) << "," << Num(c.y);
            for (float a : c.args)
                line << " " << Num(a);
            out.push_back(line.str());
        }
        return out;
    }

    // Six significant digits, and no negative zero.
    static float Num(float v) { return v == 0 ? 0.0f : v; }

    std::unique_ptr<game> board;
};

::testing::AssertionResult DrawnAt(const TRecordedCall& call, const std::string& image, float x, float y, int frame)
{
    if (call.image == image && call.x == x && call.y == y && call.frame == frame)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << call.image << " frame " << call.frame << " at " << call.x << ","
                                         << call.y;
}

TEST_F(BoardDrawTest, BlockPassThenShadowPassOverSettledBlocksAndThePiece)
{
    auto plain = AddBlock(*board, 2, 0);
    plain->r = 10, plain->g = 20, plain->b = 30;
    AddBlock(*board, 2, 1, BlockBlast);  // a blast power-up under the plain block
    AddBlock(*board, 5, 3);
    Place(9, -1);               // above the board: only its shadow shows
    Place(9, 0);
    board->Draw();

    const auto images = BoardImages();
    ASSERT_EQ(images.size(), 8u);
    // Blocks: settled ones in list order, then the piece; the one in row -1 is not drawn.
    EXPECT_TRUE(DrawnAt(images[0], "block", 128, 0, 0));
    EXPECT_EQ(images[0].r, 10);
    EXPECT_EQ(images[0].g, 20);
    EXPECT_EQ(images[0].b, 30);
    EXPECT_TRUE(DrawnAt(images[1], "powerup2", 128, 16, 0));
    EXPECT_EQ(images[1].r + images[1].g + images[1].b, 3 * 255); // untinted
    EXPECT_TRUE(DrawnAt(images[2], "block", 176, 48, 0));
    EXPECT_TRUE(DrawnAt(images[3], "block", 240, 0, 0));
    EXPECT_EQ(images[3].r, 100);
    // Shadows: one cell below each plain block, none for the power-up, also for row -1.
    EXPECT_TRUE(DrawnAt(images[4], "shadow", 128, 16, 0)); // over the power-up
    EXPECT_TRUE(DrawnAt(images[5], "shadow", 176, 64, 0));
    EXPECT_TRUE(DrawnAt(images[6], "shadow", 240, 0, 0));  // from the top edge
    EXPECT_TRUE(DrawnAt(images[7], "shadow", 240, 16, 0));
    for (size_t i = 4; i < 8; ++i) {
        EXPECT_EQ(images[i].r + images[i].g + images[i].b, 0);
        EXPECT_FLOAT_EQ(images[i].alpha, HighShadow);
        EXPECT_EQ(images[i].scaleX, 1);
        EXPECT_EQ(images[i].scaleY, 1);
        EXPECT_EQ(images[i].rotation, 0);
    }
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(images[i].alpha, 1);
        EXPECT_EQ(images[i].scaleX, 1);
    }
}

TEST_F(BoardDrawTest, EveryBlockLeavesScaleAndAlphaAtOneAndItsColourAndRotationSet)
{
    AddBlock(*board, 0, 2)->r = 7;
    AddBlock(*board, 1, 2, BlockCollapse);
    AddBlock(*board, 2, 2, 5); // no such kind: draws nothing
    SetRotation(30);
    driver.calls.clear();
    board->Draw();
    const std::vector<std::string> expected = {
        // block pass: plain, power-up, kind 5
        "SetColor 7 0 0", "Image block 0 at 96,32", "SetTransform 0.866025 -0.5 0.5 0.866025", "SetAlpha 1",
        "SetColor 255 255 255", "Image powerup3 0 at 112,32", "SetTransform 0.866025 -0.5 0.5 0.866025",
        "SetAlpha 1",
        "SetTransform 0.866025 -0.5 0.5 0.866025", "SetAlpha 1",
        // shadow pass: only the plain block throws one
        "SetTransform 0.866025 -0.5 0.5 0.866025", "SetColor 0 0 0", "SetAlpha 0.395", "SetTransform 1 0 0 1",
        "Image shadow 0 at 96,48", "SetTransform 1 0 0 1", "SetAlpha 1",
        "SetTransform 1 0 0 1", "SetAlpha 1",
        "SetTransform 1 0 0 1", "SetAlpha 1",
    };
    EXPECT_EQ(CallsAfterScore(), expected);
    const TDraw2DGraphics* g = TDraw2DGraphics::Current();
    EXPECT_EQ(g->color_red + g->color_green + g->color_blue, 0); // the last shadow's black
    EXPECT_EQ(g->tform_rot, 0);
}

TEST_F(BoardDrawTest, ShadowAlphaFollowsVisibility)
{
    AddBlock(*board, 4, 4);
    board->Draw();
    settings.visibility = 0;
    effects.glow = 0;
    board->Draw();
    EXPECT_EQ(ShadowAlphas(), (std::vector<float>{HighShadow, LowShadow}));
}

TEST_F(BoardDrawTest, BlastDarkensTheShadowsOfItsOwnFrameOnly)
{
    AddBlock(*board, 2, 5);
    board->Explode(15, 20); // far from the block, which stays
    EXPECT_FLOAT_EQ(effects.glow, -0.21f);
    board->Draw();
    EXPECT_EQ(effects.glow, 0);
    board->Draw(); // glow 0 -> -0.0078
    board->Draw(); // -0.0078 -> 0
    board->Draw();
    const auto alphas = ShadowAlphas();
    ASSERT_EQ(alphas.size(), 4u);
    EXPECT_NEAR(alphas[0], 0.395 + 0.21 / 2.08, 1e-6);
    EXPECT_NEAR(alphas[0], 0.496, 0.001);
    EXPECT_FLOAT_EQ(alphas[1], HighShadow);
    EXPECT_NEAR(alphas[2], 0.395 + 0.0078 / 2.08, 1e-6); // the quiet flicker of 0.00375
    EXPECT_FLOAT_EQ(alphas[3], HighShadow);

    // Low visibility takes the whole glow: above 1 in a blast frame, which the driver clamps.
    settings.visibility = 0;
    effects.glow = 0;
    board->Explode(15, 20);
    board->Draw();
    EXPECT_NEAR(ShadowAlphas().back(), 0.895 + 0.21, 1e-6);
}

TEST_F(BoardDrawTest, GlowIsResetFromAnySizeableValueAndOtherwiseLowered)
{
    effects.glow = 0.5f;
    board->Draw();
    EXPECT_EQ(effects.glow, 0);
    effects.glow = -0.002f;
    board->Draw();
    EXPECT_EQ(effects.glow, 0);
    effects.glow = 0.001f;
    board->Draw();
    EXPECT_FLOAT_EQ(effects.glow, 0.001f - 0.0078f);
}

TEST_F(BoardDrawTest, ScoreLabelAndDigitsArePlacedEightPixelsApart)
{
    board->points = 0;
    board->Draw();
    auto points = driver.Images("points");
    ASSERT_EQ(points.size(), 8u);
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(DrawnAt(points[i], "points", 12 + 8 * i, 28, 10 + i));
    EXPECT_TRUE(DrawnAt(points[7], "points", 12, 40, 0));
    for (const auto& p : points) {
        EXPECT_EQ(p.r + p.g + p.b, 3 * 255);
        EXPECT_EQ(p.alpha, 1);
    }

    driver.calls.clear();
    board->points = 1250;
    board->Draw();
    points = driver.Images("points");
    ASSERT_EQ(points.size(), 11u);
    EXPECT_TRUE(DrawnAt(points[7], "points", 12, 40, 1));
    EXPECT_TRUE(DrawnAt(points[8], "points", 20, 40, 2));
    EXPECT_TRUE(DrawnAt(points[9], "points", 28, 40, 5));
    EXPECT_TRUE(DrawnAt(points[10], "points", 36, 40, 0));
}

TEST_F(BoardDrawTest, PointsOnOneLineAndANegativeValue)
{
    DrawPoints(100, 50, 37, 2); // label, then the digits after it
    auto points = driver.Images("points");
    ASSERT_EQ(points.size(), 9u);
    EXPECT_TRUE(DrawnAt(points[6], "points", 148, 50, 16));
    EXPECT_TRUE(DrawnAt(points[7], "points", 156, 50, 3));
    EXPECT_TRUE(DrawnAt(points[8], "points", 164, 50, 7));

    // The strip has no minus sign: it keeps its place and draws nothing.
    driver.calls.clear();
    DrawPoints(0, 0, -5, 1);
    points = driver.Images("points");
    ASSERT_EQ(points.size(), 1u);
    EXPECT_TRUE(DrawnAt(points[0], "points", 8, 0, 5));
}

TEST_F(BoardDrawTest, MissingPicturesDrawNothingAndChangeNothingElse)
{
    pictures.blockimage = pictures.shadowimage = pictures.pointsimage = nullptr;
    pictures.powerupimages = {};
    AddBlock(*board, 1, 1);
    AddBlock(*board, 2, 1, 4);
    board->Draw();
    EXPECT_TRUE(driver.Images().empty());
    EXPECT_FLOAT_EQ(effects.glow, -0.0078f);
}

} // namespace

namespace {

TStampedPiece SmallPiece(uint8_t shade, int kind = BlockPlain)
{
    TStampedPiece piece;
    piece.ptype = PieceS;
    for (auto [x, y] : {std::pair{9, -3}, {10, -3}, {10, -2}, {11, -2}}) {
        block b;
        b.x = x, b.y = y, b.r = shade, b.g = shade, b.b = shade;
        piece.blocks.push_back(b);
    }
    piece.blocks[0].kind = kind;
    return piece;
}

} // namespace

TEST_F(BoardDrawTest, StateOfTheOptionsDrawsNothingWhileTheyAreOff)
{
    AddBlock(*board, 3, 30);
    Place(9, 5);
    Place(10, 5);
    board->Draw();
    const auto plain = CallsAfterScore();
    driver.calls.clear();
    board->coming = {SmallPiece(50), SmallPiece(60)};
    board->holdslot.full = true;
    board->holdslot.piece = SmallPiece(70);
    board->figures.rows = 12;
    board->figures.pieces = 40;
    board->figures.frames = 3600;
    effects.glow = 0; // as the first drawing found it
    board->Draw();
    EXPECT_EQ(CallsAfterScore(), plain);
    for (const auto& c : driver.calls)
        EXPECT_TRUE(c.op != "DrawLine" && c.op != "DrawRect") << c.op;
}

TEST_F(BoardDrawTest, ComingPiecesStandInTheRightColumnNextOneOnTop)
{
    TPlayOptions o;
    o.nextPieces = 2;
    board->SetOptions(o);
    board->coming = {SmallPiece(50, BlockFlip), SmallPiece(60)};
    board->Draw();
    std::vector<TRecordedCall> small;
    for (const auto& c : driver.Images())
        if (c.scaleX == 0.5f)
            small.push_back(c);
    ASSERT_EQ(small.size(), 8u);
    // Stamp cells (0,0), (1,0), (1,1), (2,1) at 8 pixels each from (432, 28), then 40 lower.
    EXPECT_TRUE(DrawnAt(small[0], "powerup4", 432, 28, 0));
    EXPECT_EQ(small[0].r + small[0].g + small[0].b, 3 * 255);
    EXPECT_TRUE(DrawnAt(small[1], "block", 440, 28, 0));
    EXPECT_TRUE(DrawnAt(small[3], "block", 448, 36, 0));
    EXPECT_EQ(small[1].r, 50);
    EXPECT_TRUE(DrawnAt(small[4], "block", 432, 68, 0));
    EXPECT_EQ(small[4].r, 60);
    for (const auto& c : small)
        EXPECT_GE(c.x, 416);
    const TDraw2DGraphics* g = TDraw2DGraphics::Current();
    EXPECT_EQ(g->tform_scale_x, 1);
    EXPECT_EQ(g->color_alpha, 1);
}

TEST_F(BoardDrawTest, HoldBoxUnderTheScoreShowsTheHeldPieceDimmedOnceUsed)
{
    TPlayOptions o;
    o.hold = true;
    board->SetOptions(o);
    board->Draw();
    int lines = 0;
    for (const auto& c : driver.calls)
        if (c.op == "DrawLine") {
            ++lines;
            // The ends relative to the translation in the last two arguments.
            for (float v : {c.args[0] + c.args[4], c.args[2] + c.args[4]})
                EXPECT_TRUE(v >= 0 && v < BoardLeft) << v;
            for (float v : {c.args[1] + c.args[5], c.args[3] + c.args[5]})
                EXPECT_GT(v, 48) << "under the score";
        }
    EXPECT_EQ(lines, 4);
    EXPECT_TRUE(driver.Images("block").empty()) << "an empty box";

    board->holdslot.full = true;
    board->holdslot.piece = SmallPiece(90);
    driver.calls.clear();
    board->Draw();
    auto held = driver.Images("block");
    ASSERT_EQ(held.size(), 4u);
    EXPECT_TRUE(DrawnAt(held[0], "block", 20, 64, 0));
    EXPECT_EQ(held[0].alpha, 1);
    board->holdslot.used = true;
    driver.calls.clear();
    board->Draw();
    held = driver.Images("block");
    ASSERT_EQ(held.size(), 4u);
    EXPECT_LT(held[0].alpha, 1);
}

TEST_F(BoardDrawTest, LandingShadowIsDrawnFaintlyInThePiecesColoursBeforeThePiece)
{
    TPlayOptions o;
    o.landingShadow = true;
    board->SetOptions(o);
    AddBlock(*board, 9, 31);
    auto p = Place(9, 5);
    p->r = 200;
    Place(9, 6, BlockSlowDown);
    board->Draw();
    const auto images = BoardImages();
    ASSERT_GE(images.size(), 5u);
    EXPECT_TRUE(DrawnAt(images[0], "block", 96 + 9 * 16, 31 * 16, 0)) << "the settled blocks first";
    EXPECT_EQ(images[0].alpha, 1);
    // The piece lands on the block in row 31: rows 29 and 30.
    EXPECT_TRUE(DrawnAt(images[1], "block", 96 + 9 * 16, 29 * 16, 0));
    EXPECT_EQ(images[1].r, 200);
    EXPECT_FLOAT_EQ(images[1].alpha, 0.3f);
    EXPECT_TRUE(DrawnAt(images[2], "powerup1", 96 + 9 * 16, 30 * 16, 0));
    EXPECT_TRUE(DrawnAt(images[3], "block", 96 + 9 * 16, 5 * 16, 0)) << "then the piece over it";
    EXPECT_EQ(images[3].alpha, 1);

    settings.visibility = 0;
    driver.calls.clear();
    board->Draw();
    EXPECT_FLOAT_EQ(BoardImages()[1].alpha, 0.5f);
}

TEST_F(BoardDrawTest, FiguresUnderTheScoreInItsGlyphs)
{
    TPlayOptions o;
    o.playFigures = true;
    board->SetOptions(o);
    board->figures.rows = 12;
    board->figures.pieces = 105;
    board->figures.frames = 125 * 60; // 2:05, 0.84 pieces a second
    board->Draw();
    std::map<float, std::string> lines; // the glyph frames drawn on each row under the score
    for (const auto& c : driver.Images("points"))
        if (c.y > 40)
            lines[c.y] += c.frame == 16 ? ':' : static_cast<char>('0' + c.frame);
    EXPECT_EQ(lines, (std::map<float, std::string>{{112, "12"}, {124, "105"}, {136, "02:05"}, {148, "084"}}));
    int rects = 0;
    for (const auto& c : driver.calls)
        rects += c.op == "DrawRect";
    EXPECT_EQ(rects, 6) << "the row sign, a T of two for pieces and for the rate, the decimal point";
}

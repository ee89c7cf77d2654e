// The board drawn from the real pictures into a real OpenGL context, checked by reading pixels
// back, and saved as board.png in the tests' working folder for a look by eye.
#include <gtest/gtest.h>

#include <string>

#include "board_picture.h"
#include "common/test_canvas.h"
#include "draw2d/draw2d.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/pixmap.h"
#include "draw2d/pngfile.h"
#include "game/boom.h"
#include "game/effects.h"
#include "game/firework.h"
#include "game/game.h"
#include "game/pictures.h"
#include "game/settings.h"
#include "game/shape.h"
#include "system/random.h"

namespace {

struct Rgb {
    int r, g, b;
    int Sum() const { return r + g + b; }
};

class BoardGLTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenTestCanvas());
        gfx = BuiltPictures();
        SetClsColor(50, 50, 50);

        // Flags as start-up gives them: shadow and circle are loaded before the automatic
        // flags drop to 0.
        pictures.shadowimage = LoadImageFile(gfx + "shadow.png", ImageFlagMasked | ImageFlagFiltered);
        pictures.circleimage = LoadImageFile(gfx + "circle.png", ImageFlagMasked | ImageFlagFiltered);
        pictures.blockimage = LoadImageFile(gfx + "block1.png", 0);
        for (int k = 0; k < 4; ++k)
            pictures.powerupimages[k] = LoadImageFile(gfx + "powerup" + std::to_string(k + 1) + ".png", 0);
        pictures.pointsimage = LoadAnimStrip(gfx + "points.png", 10, 8, 0, 17, 0);
        pictures.flashboomimage = LoadImageFile(gfx + "flashboom.png", 0);
        CentreImageHandle(pictures.flashboomimage);
        ASSERT_TRUE(pictures.shadowimage && pictures.circleimage && pictures.blockimage && pictures.pointsimage && pictures.flashboomimage)
            << "pictures missing under " << gfx;
        for (const auto& p : pictures.powerupimages)
            ASSERT_TRUE(p);

        settings.Reset();
        effects.Reset();
        booms.Clear();
        fireworks.Clear();
        board = StandardGame();
    }
    void TearDown() override
    {
        pictures.blockimage = pictures.shadowimage = pictures.pointsimage = pictures.flashboomimage = pictures.circleimage = nullptr;
        pictures.powerupimages = {};
        booms.Clear();
        fireworks.Clear();
        CloseTestCanvas();
    }

    static Rgb At(int x, int y)
    {
        const uint32_t argb = GrabPixmap(x, y, 1, 1)->ReadPixel(0, 0);
        return {int(argb >> 16 & 255), int(argb >> 8 & 255), int(argb & 255)};
    }
    // The window pixel at offset (dx, dy) inside board cell (col, row).
    Rgb Cell(int col, int row, int dx = 8, int dy = 8) const
    {
        return At(board->x + col * cellsize + dx, board->y + row * cellsize + dy);
    }

    std::shared_ptr<block> Add(int x, int y, int kind, uint8_t r, uint8_t g, uint8_t b)
    {
        auto blk = AddBlock(*board, x, y, kind);
        blk->r = r, blk->g = g, blk->b = b;
        return blk;
    }

    // The picture drawn alone, white and opaque, at the top left of a cleared frame.
    static std::shared_ptr<TPixmap> Reference(const std::shared_ptr<TImage>& image)
    {
        Cls();
        SetColor(255, 255, 255);
        SetAlpha(1);
        DrawImage(image, 0, 0, 0);
        return GrabPixmap(0, 0, 16, 16);
    }

    static void SavePicture(const std::string& path)
    {
        auto shot = GrabPixmap(0, 0, 512, 512);
        PNGPicture picture;
        picture.width = picture.height = 512;
        picture.colourType = PNG_COLOR_TYPE_RGB;
        for (int y = 0; y < 512; ++y) {
            std::vector<uint8_t> row;
            for (int x = 0; x < 512; ++x) {
                const uint32_t argb = shot->ReadPixel(x, y);
                row.insert(row.end(), {uint8_t(argb >> 16), uint8_t(argb >> 8), uint8_t(argb)});
            }
            picture.rows.push_back(std::move(row));
        }
        WriteBytes(path, EncodePNG(picture));
    }

    std::string gfx;
    std::unique_ptr<game> board;
};

TEST_F(BoardGLTest, BlocksAreTintedPowerUpsAreNotAndShadowsDarkenTheCellsBelow)
{
    const auto blockRef = Reference(pictures.blockimage);
    const auto powerRef = Reference(pictures.powerupimages[1]);

    // Open sky above every probed cell except where a shadow is meant to fall.
    Add(2, 28, 0, 230, 60, 50);   // red block, nothing above it
    Add(4, 28, 2, 0, 0, 0);       // blast power-up, nothing above it
    Add(8, 20, 0, 60, 80, 220);   // blue block over empty cells
    Add(12, 24, 0, 200, 200, 200);
    Add(12, 25, 0, 200, 200, 200); // in the shadow of the one above
    Add(16, 25, 0, 200, 200, 200); // the same block in the open
    Cls();
    board->Draw();

    // Tinted: the picture's pixels scaled by the block's colour.
    const uint32_t ref = blockRef->ReadPixel(8, 8);
    const Rgb red = Cell(2, 28);
    EXPECT_NEAR(red.r, int(ref >> 16 & 255) * 230 / 255, 3);
    EXPECT_NEAR(red.g, int(ref >> 8 & 255) * 60 / 255, 3);
    EXPECT_NEAR(red.b, int(ref & 255) * 50 / 255, 3);
    EXPECT_GT(red.r, red.g + 40);
    const Rgb blue = Cell(8, 20);
    EXPECT_GT(blue.b, blue.r + 40);

    // Untinted: every pixel of the power-up as drawn alone.
    for (int y = 0; y < 16; y += 3) {
        for (int x = 0; x < 16; x += 3) {
            const uint32_t want = powerRef->ReadPixel(x, y) & 0xFFFFFF;
            const Rgb got = Cell(4, 28, x, y);
            EXPECT_EQ(uint32_t(got.r << 16 | got.g << 8 | got.b), want) << x << "," << y;
        }
    }

    // Shadows: the empty cell below the blue block is darker than the clear colour, and the
    // shaded block darker than its twin in the open.
    EXPECT_LT(Cell(8, 21).Sum(), 3 * 50 - 20);
    EXPECT_EQ(Cell(8, 10).Sum(), 3 * 50); // empty sky stays the clear colour
    EXPECT_LT(Cell(12, 25).Sum(), Cell(16, 25).Sum() - 30);
    // The red block throws a shadow on the cell below it; the power-up throws none.
    EXPECT_LT(Cell(2, 29).Sum(), 3 * 50 - 20);
    EXPECT_EQ(Cell(4, 29).Sum(), 3 * 50);
}

TEST_F(BoardGLTest, LowVisibilityShadowsAreDarkerAndABlastFrameDarkensThemMore)
{
    Add(8, 20, 0, 200, 200, 200);
    Cls();
    board->Draw();
    const int high = Cell(8, 21).Sum();
    effects.glow = -0.21f; // as a blast leaves it
    Cls();
    board->Draw();
    const int blast = Cell(8, 21).Sum();
    settings.visibility = 0;
    effects.glow = 0;
    Cls();
    board->Draw();
    const int low = Cell(8, 21).Sum();
    EXPECT_LT(blast, high);
    EXPECT_LT(low, blast);
}


// The square as stamped, in one colour.
TStampedPiece ColouredPiece(uint8_t r, uint8_t g, uint8_t b)
{
    TStampedPiece piece;
    piece.ptype = PieceSquare;
    for (auto [x, y] : {std::pair{9, -3}, {9, -2}, {10, -3}, {10, -2}}) {
        block k;
        k.x = x, k.y = y, k.r = r, k.g = g, k.b = b;
        piece.blocks.push_back(k);
    }
    return piece;
}

// A play with a stack, a falling piece high above it, coming pieces, a held piece and figures.
void SetUpOptionPlay(game& g)
{
    for (int col = 0; col < 20; ++col)
        if (col != 9)
            AddBlock(g, col, 31)->r = 200;
    AddBlock(g, 9, 31);
    for (int row : {5, 6}) {
        auto b = std::make_shared<block>();
        b->x = 9, b->y = row, b->r = 60, b->g = 200, b->b = 80;
        g.place.AddLast(b);
    }
    g.coming = {ColouredPiece(240, 60, 50), ColouredPiece(240, 60, 50), ColouredPiece(240, 60, 50)};
    g.holdslot.full = true;
    g.holdslot.piece = ColouredPiece(50, 70, 240);
    g.figures.rows = 8;
    g.figures.pieces = 88;
    g.figures.frames = 3000;
}

TEST_F(BoardGLTest, OptionsDrawComingPiecesTheHoldBoxTheLandingShadowAndFiguresAtBothVisibilities)
{
    const int clear = 3 * 50;
    for (int visibility : {1, 0}) {
        SCOPED_TRACE(visibility);
        settings.visibility = visibility;
        board = StandardGame();
        SetUpOptionPlay(*board);
        board->SetOptions({MaxNextPieces, false, true, true, TPace::Classic, true});
        effects.glow = 0;
        Cls();
        board->Draw();
        const Rgb settledPlain = Cell(3, 31);
        const Rgb stackTop = Cell(9, 31);

        board->options.landingShadow = true;
        effects.glow = 0;
        Cls();
        board->Draw();

        // Coming pieces in the right column, one under the other, in their colours.
        for (int k = 0; k < MaxNextPieces; ++k) {
            const Rgb c = At(432 + 4, 28 + 40 * k + 4);
            EXPECT_GT(c.r, c.g + 40) << k;
        }
        EXPECT_EQ(At(470, 28 + 4).Sum(), clear) << "the column is otherwise clear";
        // The hold box's frame and the blue piece inside it.
        EXPECT_GT(At(12, 80).Sum(), clear + 150);
        const Rgb held = At(20 + 4, 64 + 4);
        EXPECT_GT(held.b, held.r + 40);
        // The landing shadow: the piece's green, faint, on the two cells above the stack.
        const Rgb piece = Cell(9, 5);
        for (int row : {29, 30}) {
            const Rgb ghost = Cell(9, row);
            EXPECT_GT(ghost.g, 50 + 15) << row;
            EXPECT_GT(ghost.g, ghost.r + 10) << row;
            EXPECT_LT(ghost.Sum(), piece.Sum() - 60) << row;
        }
        EXPECT_EQ(Cell(9, 28).Sum(), clear);
        // It hides no settled block.
        EXPECT_EQ(Cell(3, 31).Sum(), settledPlain.Sum());
        EXPECT_EQ(Cell(9, 31).Sum(), stackTop.Sum());
        // The figures: digits light the rows under the hold box.
        for (int row = 0; row < 4; ++row) {
            int lit = 0;
            for (int x = 24; x < 64; ++x)
                for (int y = 112 + 12 * row; y < 112 + 12 * row + 8; ++y)
                    lit += At(x, y).Sum() > clear + 60;
            EXPECT_GT(lit, 6) << "figure " << row;
        }
        if (visibility == 1)
            SavePicture("board_options.png");
    }
}

TEST_F(BoardGLTest, WithEveryOptionOffTheBoardIsDrawnAsBefore)
{
    SetUpOptionPlay(*board);
    const auto state = [&](bool withOptionState) {
        auto g = StandardGame();
        SetUpOptionPlay(*g);
        if (!withOptionState) {
            g->coming.clear();
            g->holdslot = {};
            g->figures = {};
        }
        effects.glow = 0;
        Cls();
        g->Draw();
        return GrabPixmap(0, 0, 512, 512);
    };
    const auto bare = state(false);
    const auto full = state(true);
    int differ = 0, outside = 0;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) {
            differ += bare->ReadPixel(x, y) != full->ReadPixel(x, y);
            // Beside the board nothing but the score is drawn.
            const bool beside = x >= BoardLeft + BoardColumns * cellsize || (x < BoardLeft && y > 52);
            outside += beside && (bare->ReadPixel(x, y) & 0xFFFFFF) != 0x323232;
        }
    EXPECT_EQ(differ, 0);
    EXPECT_EQ(outside, 0);
}

TEST_F(BoardGLTest, PictureOfAPlayForReview)
{
    SeedRandom(7);
    // A stack with power-ups, a falling piece half above the board, a score and a blast.
    const char* rows[] = {
        "....................", // row 24
        "......##.........#..",
        "..#..####1......###.",
        ".###.#####..3..####.",
        "####2######.####.###",
        "#########4###########",
        "###.################",
        "#######2############",
    };
    for (int i = 0; i < 8; ++i) {
        for (int col = 0; col < 20 && rows[i][col]; ++col) {
            const char c = rows[i][col];
            if (c == '.')
                continue;
            const int kind = c == '#' ? 0 : c - '0';
            Add(col, 24 + i, kind, uint8_t(80 + (col * 37 + i * 53) % 150), uint8_t(90 + (col * 11) % 120),
                uint8_t(100 + (i * 29) % 140));
        }
    }
    for (auto [x, y] : {std::pair{9, -1}, {10, -1}, {10, 0}, {11, 0}}) {
        auto b = std::make_shared<block>();
        b->x = x, b->y = y, b->r = 240, b->g = 200, b->b = 40;
        board->place.AddLast(b);
    }
    board->points = 1250;
    for (auto [x, y, xv, yv] : {std::tuple{60.f, 420.f, 0.6f, -9.f}, {450.f, 300.f, -0.8f, -12.f},
                                {300.f, 180.f, 0.2f, -6.f}}) {
        auto f = std::make_shared<firework>();
        f->x = x, f->y = y, f->xv = xv, f->yv = yv;
        f->r = 195, f->g = 245, f->b = 200;
        fireworks.AddLast(f);
    }
    boom::Add(board->x + 13 * cellsize, board->y + 27 * cellsize);

    // Three frames as the play screen draws them; the flash is three frames old in the last.
    const int flashX = board->x + 13 * cellsize, flashY = board->y + 27 * cellsize;
    int beforeFlash = 0;
    for (int frame = 0; frame < 3; ++frame) {
        Cls();
        firework::Update();
        SetColor(255, 255, 255);
        board->Draw();
        beforeFlash = At(flashX, flashY).Sum();
        boom::update();
    }
    EXPECT_EQ(booms.Count(), 1u);
    EXPECT_GT(At(flashX, flashY).Sum(), beforeFlash + 30); // the yellow flash lights the board

    // The score's digits put light on the background.
    int lit = 0;
    for (int x = 12; x < 44; ++x)
        lit += At(x, 44).Sum() != 3 * 50;
    EXPECT_GT(lit, 4);
    // The first firework's head, drawn at (61.2, 402) in the third frame, and its faint tail.
    EXPECT_GT(At(70, 411).Sum(), 3 * 50 + 30);
    EXPECT_GT(At(70, 411 + 30).Sum(), 3 * 50);
    EXPECT_EQ(At(30, 411).Sum(), 3 * 50);
    SavePicture("board.png");
}

} // namespace

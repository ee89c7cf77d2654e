// The play options in the real game, driven through the X server: a settings.cfg written before
// the start, keys from xdotool, the window read back from screenshots kept in screens/.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/screens/layout.h"
#include "draw2d/pixmap.h"
#include "game_run.h"
#include "window_pictures.h"

using namespace game_run;

namespace {

// The board: 20 columns and 32 rows of 16 pixels from x = 96; the coming pieces at half size
// in the free column right of it, a 4-by-4 stamp of 8-pixel cells every 40 pixels from y = 28.
constexpr int BoardLeft = 96, BoardCell = 16, BoardColumns = 20, BoardRows = 32;
constexpr int ComingLeft = 432, ComingTop = 28, ComingPitch = 40, ComingCell = 8, StampCells = 4;
// The board lets the turning background show through, and the backdrop beside it is the
// background itself: both stay under a quarter of full light, the darkest piece is near half.
constexpr double LitCell = 0.3;
// The floor rows, where a hard-dropped piece ends up on an empty board.
constexpr int FloorRows = 2;

// Plain luma of the channels, 0 to 1: the thresholds here are set on it.
double Brightness(uint32_t argb)
{
    return (0.2126 * ((argb >> 16) & 255) + 0.7152 * ((argb >> 8) & 255) + 0.0722 * (argb & 255)) / 255.0;
}

// A cell lit all over: its middle and four points around it, not a spark of a passing firework.
bool CellLit(TPixmap& pixmap, int left, int top, int size)
{
    const int cx = left + size / 2, cy = top + size / 2, d = size / 4;
    for (const auto& [dx, dy] : {std::pair{0, 0}, {-d, -d}, {d, -d}, {-d, d}, {d, d}})
        if (Brightness(pixmap.ReadPixel(cx + dx, cy + dy)) <= LitCell)
            return false;
    return true;
}

// Lit cells in the stamps of the first three coming pieces.
std::vector<int> ComingPieceCells(const fs::path& screenshot)
{
    std::vector<int> cells;
    const auto pixmap = WindowPicture(screenshot);
    if (!pixmap)
        return cells;
    for (int piece = 0; piece < 3; ++piece) {
        int lit = 0;
        for (int row = 0; row < StampCells; ++row)
            for (int column = 0; column < StampCells; ++column)
                lit += CellLit(*pixmap, ComingLeft + column * ComingCell, ComingTop + piece * ComingPitch + row * ComingCell,
                               ComingCell);
        cells.push_back(lit);
    }
    return cells;
}

// The lit board cells (column, row) in rows [fromRow, toRow), in reading order.
std::vector<std::pair<int, int>> BoardCellsLit(const fs::path& screenshot, int fromRow, int toRow)
{
    std::vector<std::pair<int, int>> cells;
    const auto pixmap = WindowPicture(screenshot);
    if (!pixmap)
        return cells;
    for (int row = fromRow; row < toRow; ++row)
        for (int column = 0; column < BoardColumns; ++column)
            if (CellLit(*pixmap, BoardLeft + column * BoardCell, row * BoardCell, BoardCell))
                cells.emplace_back(column, row);
    return cells;
}

// The lit cells of the falling piece once it is wholly on the board (it comes in above it) and
// still above the floor rows; none before and after. A block under another of the piece may
// lie in that one's shadow, so not every cell of the piece need be lit.
std::vector<std::pair<int, int>> WholePiece(GameRun& game, const std::string& shot)
{
    constexpr int PieceHeight = 4;
    auto cells = BoardCellsLit(game.Screenshot(shot), 0, BoardRows - FloorRows);
    return !cells.empty() && cells.front().second >= PieceHeight ? cells : std::vector<std::pair<int, int>>{};
}

int LeftmostColumn(const std::vector<std::pair<int, int>>& cells)
{
    int left = BoardColumns;
    for (const auto& cell : cells)
        left = std::min(left, cell.first);
    return left;
}

class PlayOptionsEndToEnd : public TGameCopyTest {
protected:
    PlayOptionsEndToEnd() : TGameCopyTest("brim_options_e2e") {}

    void WriteSettings(const std::string& lines)
    {
        const std::string text = "# play options for this run\n" + lines;
        WriteBytes(folder_ / "data" / "settings.cfg", std::vector<uint8_t>(text.begin(), text.end()));
    }

    // From the start to the first frames of a play: Space ends the intro, then Play is clicked
    // until the falling piece shows on the board (a click while the menu fades in is lost, and
    // on a busy machine the menu may have gone on to its demo, which the next click ends).
    static void StartPlay(GameRun& game)
    {
        ASSERT_TRUE(game.FindWindow()) << game.Err();
        ASSERT_TRUE(WaitFor([&] { return game.Out() == "Yo. 0\n"; }, Patience)) << game.Out();
        ASSERT_TRUE(game.EndIntro()) << game.Err();
        const bool playing = WaitFor(
            [&] {
                game.Click(WindowWidth / 2, MenuItemTop[MenuPlay] + MenuItemHeight / 2);
                const fs::path shot = game.Screenshot("options_play_start");
                return ShowsPlay(shot) && !ShowsDemoCaption(shot) && !BoardCellsLit(shot, 0, BoardRows).empty();
            },
            Patience);
        ASSERT_TRUE(playing) << "no piece came in";
    }

};

} // namespace

// Ten landings at the slowest start, a piece falling the whole board at 48 frames a row: the
// most waited for three whole coming pieces to show.
constexpr int64_t TenLandingsFrames = 10 * (BoardRows + 1) * 48;

TEST_F(PlayOptionsEndToEnd, ThreeNextPiecesShowRightOfTheBoard)
{
    WriteSettings("next_pieces = 3\n");
    GameRun game(folder_);
    StartPlay(game);
    std::vector<int> cells;
    // A stamp may read a cell short (a power-up's mark, a dark shade): the pieces shown change at
    // every landing, so one of the next landings shows three whole ones.
    const bool shown = game.WaitWithinFrames(TenLandingsFrames, [&] {
        cells = ComingPieceCells(game.Screenshot("options_next_pieces"));
        return cells.size() == 3 && std::all_of(cells.begin(), cells.end(), [](int n) { return n == 4; });
    });
    EXPECT_TRUE(shown) << "lit cells of the three pieces: " << ::testing::PrintToString(cells);
    EXPECT_TRUE(game.Running()) << game.Err();
}

// Gravity takes 48 frames a row at the start. A piece seen on the board and then in the floor
// rows sooner than gravity could have brought it there was dropped. Counted in frames, not
// seconds: a sanitizer build on a busy machine draws far fewer a second.
constexpr int64_t FramesPerRow = 48;

TEST_F(PlayOptionsEndToEnd, SpaceDropsThePieceToTheFloorWithHardDropOn)
{
    WriteSettings("hard_drop = on\n");
    GameRun game(folder_);
    StartPlay(game);
    std::vector<std::pair<int, int>> before;
    int64_t seen = 0; // no later than the frame the picture shows
    ASSERT_TRUE(game.WaitWithinFrames(PieceInViewFrames, [&] {
        seen = game.Frames();
        return !(before = WholePiece(game, "options_hard_drop_before")).empty();
    }));
    game.Press("space");
    const bool dropped = WaitFor(
        [&] { return !BoardCellsLit(game.Screenshot("options_hard_drop"), BoardRows - FloorRows, BoardRows).empty(); },
        Patience);
    ASSERT_TRUE(dropped) << "nothing reached the floor rows";
    int lowest = 0;
    for (const auto& cell : before)
        lowest = std::max(lowest, cell.second);
    const int64_t gravity = (BoardRows - FloorRows - lowest) * FramesPerRow;
    EXPECT_LT(game.Frames() - seen, gravity) << "the piece fell there by gravity";
    EXPECT_TRUE(game.Running()) << game.Err();
}

// Space, then Left: once the piece shows one column further left, the Space pressed before it
// has been read too, and it left the piece where it was falling.
TEST_F(PlayOptionsEndToEnd, SpaceDoesNothingWithHardDropOff)
{
    WriteSettings("hard_drop = off\n");
    GameRun game(folder_);
    StartPlay(game);
    std::vector<std::pair<int, int>> before;
    ASSERT_TRUE(game.WaitWithinFrames(
        PieceInViewFrames, [&] { return !(before = WholePiece(game, "options_no_hard_drop_before")).empty(); }));
    // Both held until the piece shows one column left, so the game has read the Space too.
    std::vector<std::pair<int, int>> after;
    const bool moved = game.HoldUntil("space Left", [&] {
        after = WholePiece(game, "options_no_hard_drop");
        return !after.empty() && LeftmostColumn(after) == LeftmostColumn(before) - 1;
    });
    ASSERT_TRUE(moved) << "the piece did not move left";
    EXPECT_TRUE(BoardCellsLit(game.Screenshot("options_no_hard_drop_floor"), BoardRows - FloorRows, BoardRows).empty());
    EXPECT_TRUE(game.Running()) << game.Err();
}

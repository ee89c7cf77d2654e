#include "bot/board_score.h"

#include <algorithm>
#include <array>
#include <bit>

namespace {

// Spawned pieces stand on the middle four columns; one more on each side to move through.
constexpr int kSpawnReach = 3;

int Triangle(int n)
{
    return n > 0 ? n * (n + 1) / 2 : 0;
}

} // namespace

TBoardFeatures MeasureBoard(const TOccupancy& board)
{
    TBoardFeatures f;
    const int w = board.Width(), h = board.Height();
    if (w == 0 || h == 0)
        return f;
    const uint64_t full = board.FullRow();
    const uint64_t leftWall = 1, rightWall = uint64_t{1} << (w - 1);

    std::array<int, TOccupancy::kMaxWidth> top;  // first filled row of each column, h when empty
    std::array<int, TOccupancy::kMaxWidth> run{}; // depth of the open well each column is in
    top.fill(h);
    uint64_t above = 0;     // columns with a filled cell in some row above
    uint64_t wellAbove = 0; // columns whose cell in the row above was an open well cell
    for (int y = 0; y < h; ++y) {
        const uint64_t row = board.Row(y);
        if (row == 0 && above == 0) {
            // Rows over the whole stack: free between the walls, and no well fits in them.
            f.rowTransitions += 2;
            continue;
        }
        for (uint64_t fresh = row & ~above; fresh; fresh &= fresh - 1)
            top[std::countr_zero(fresh)] = y;
        f.holes += std::popcount(above & ~row & full);
        f.columnTransitions += std::popcount(row ^ (y == 0 ? 0 : board.Row(y - 1)));
        above |= row;

        f.rowTransitions += std::popcount((row ^ (row >> 1)) & (full >> 1));
        f.rowTransitions += (row & leftWall) ? 0 : 1;
        f.rowTransitions += (row & rightWall) ? 0 : 1;

        // Open well cells: free, over their column's top, with both sides filled or walls.
        const uint64_t well = ~row & ~above & ((row << 1) | leftWall) & ((row >> 1) | rightWall) & full;
        for (uint64_t ended = wellAbove & ~well; ended; ended &= ended - 1)
            run[std::countr_zero(ended)] = 0;
        for (uint64_t cells = well; cells; cells &= cells - 1)
            f.wells += ++run[std::countr_zero(cells)];
        wellAbove = well;
    }
    f.columnTransitions += std::popcount(~board.Row(h - 1) & full);

    for (int x = 0; x < w; ++x)
        f.maxHeight = std::max(f.maxHeight, h - top[x]);
    for (int x = std::max(0, w / 2 - kSpawnReach); x < std::min(w, w / 2 + kSpawnReach + 1); ++x)
        f.spawnHeight = std::max(f.spawnHeight, h - top[x]);
    return f;
}

double ScorePlacement(const TPlacementResult& result, const TScoreWeights& weights)
{
    constexpr double kLost = -1e12;
    if (result.lost)
        return kLost;
    const TBoardFeatures f = MeasureBoard(result.board);
    const int h = result.board.Height();
    const int safe = static_cast<int>(weights.safeShare * h);
    const int spawnOver = f.spawnHeight - (h - weights.spawnClearance);
    return weights.landingHeight * result.landingHeight + weights.rows * result.rows +
           weights.rowTransitions * f.rowTransitions + weights.columnTransitions * f.columnTransitions +
           weights.holes * f.holes + weights.wells * f.wells +
           (result.stackBefore < safe ? weights.blastWaste * result.removed : 0.0) +
           weights.dangerGrowth * Triangle(f.maxHeight - safe) +
           weights.spawnDanger * std::max(0, spawnOver);
}

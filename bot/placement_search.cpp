#include "bot/placement_search.h"

#include <algorithm>
#include <array>
#include <tuple>

#include "bot/rules_rehearsal.h"
#include "game/game.h"

namespace {

// Orientations by clockwise quarter turns from the piece as it is now.
constexpr int kOrientations = 4;

struct TTurnPlan {
    int orientation;
    int count;
    TStep turns[2];
};

// Every orientation, each with its fewest turns; the half turn both ways round, as one of
// them may be refused where the other is not.
constexpr TTurnPlan kTurnPlans[] = {
    {0, 0, {TStep::TurnRight, TStep::TurnRight}},
    {1, 1, {TStep::TurnRight, TStep::TurnRight}},
    {3, 1, {TStep::TurnLeft, TStep::TurnLeft}},
    {2, 2, {TStep::TurnRight, TStep::TurnRight}},
    {2, 2, {TStep::TurnLeft, TStep::TurnLeft}},
};

// The landed cells in reading order, the order that settles ties between placements.
std::vector<std::tuple<int, int, int>> ReadingOrder(const TPieceModel& piece, int px, int py)
{
    std::vector<std::tuple<int, int, int>> cells;
    for (int i = 0; i < piece.Count(); ++i)
        cells.emplace_back(py + piece.Block(i).dy, px + piece.Block(i).dx, piece.Block(i).kind);
    std::sort(cells.begin(), cells.end());
    return cells;
}

bool Better(const TPlacement& a, const TPlacement& b)
{
    if (a.score != b.score)
        return a.score > b.score;
    const auto ca = ReadingOrder(a.piece, a.px, a.py), cb = ReadingOrder(b.piece, b.px, b.py);
    if (ca != cb)
        return ca < cb;
    return a.steps < b.steps;
}

} // namespace

TPlacementSearch::TPlacementSearch(const game& g, const TScoreWeights& weights, TBoardMemo& memo)
    : weights_(weights), memo_(memo), game_(g)
{
    memo_.Use(g);
}

bool TPlacementSearch::Turn(TPieceModel& piece, TStep turn, int px, int py) const
{
    TPieceModel turned = piece.Turned(turn == TStep::TurnRight);
    // The square's blocks trade corners without any test, as in the rules.
    if (!piece.Square() && !Board().Fits(turned, px, py))
        return false;
    piece = turned;
    return true;
}

// Records the ways to every column the piece reaches in one orientation: turning first and
// then moving, or moving first and then turning. ways is indexed by orientation and column.
void TPlacementSearch::Reach(const TPieceModel& piece, int px, int py, const TStep* turns, int turnCount,
                             int orientation, std::vector<TWay>& ways) const
{
    const int w = Board().Width();
    auto record = [&](int column, int steps, TStep first) {
        if (column < -w || column >= 2 * w)
            return;
        TWay& way = ways[static_cast<size_t>(orientation) * 3 * w + (column + w)];
        if (way.steps < 0 || steps < way.steps)
            way = {steps, first};
    };

    TPieceModel turned = piece;
    bool turnedInPlace = true;
    for (int t = 0; t < turnCount && turnedInPlace; ++t)
        turnedInPlace = Turn(turned, turns[t], px, py);
    if (turnedInPlace) {
        record(px, turnCount, turns[0]);
        for (const int dir : {-1, 1}) {
            for (int k = 1; Board().Fits(turned, px + k * dir, py); ++k)
                record(px + k * dir, turnCount + k, turnCount > 0 ? turns[0] : dir < 0 ? TStep::Left : TStep::Right);
        }
    }
    if (turnCount == 0)
        return;
    for (const int dir : {-1, 1}) {
        for (int k = 1; Board().Fits(piece, px + k * dir, py); ++k) {
            TPieceModel moved = piece;
            bool ok = true;
            for (int t = 0; t < turnCount && ok; ++t)
                ok = Turn(moved, turns[t], px + k * dir, py);
            if (ok)
                record(px + k * dir, turnCount + k, dir < 0 ? TStep::Left : TStep::Right);
        }
    }
}

TPlacement TPlacementSearch::Best(const TPieceModel& piece, int px, int py) const
{
    const int w = Board().Width();
    std::vector<TWay> ways(static_cast<size_t>(kOrientations) * 3 * w);
    std::array<TPieceModel, kOrientations> turned{piece, piece.Turned(true), piece.Turned(true).Turned(true),
                                                  piece.Turned(false)};
    for (const TTurnPlan& plan : kTurnPlans)
        Reach(piece, px, py, plan.turns, plan.count, plan.orientation, ways);

    TPlacement best;
    bool found = false;
    for (int o = 0; o < kOrientations; ++o) {
        for (int column = -w; column < 2 * w; ++column) {
            const TWay& way = ways[static_cast<size_t>(o) * 3 * w + (column + w)];
            if (way.steps < 0)
                continue;
            TPlacement candidate;
            candidate.piece = turned[o];
            candidate.px = column;
            candidate.py = memo_.Drop(candidate.piece, column, py);
            candidate.steps = way.steps;
            candidate.first = way.first;
            candidate.score = memo_.Score(candidate.piece, column, candidate.py, [&] {
                return ScorePlacement(Land(candidate.piece, column, candidate.py), weights_);
            });
            if (!found || Better(candidate, best))
                best = candidate;
            found = true;
        }
    }
    if (!found) {
        // Nothing reachable, not even where it stands: let it drop.
        best.piece = piece;
        best.px = px;
        best.py = py;
    }
    return best;
}

TPlacementResult TPlacementSearch::Land(const TPieceModel& piece, int px, int py) const
{
    TPlacementResult result{memo_.Board()};
    result.stackBefore = memo_.StackHeight();
    int minY = py, maxY = py;
    bool fills = false;
    for (int i = 0; i < piece.Count(); ++i) {
        const int x = px + piece.Block(i).dx, y = py + piece.Block(i).dy;
        minY = i == 0 ? y : std::min(minY, y);
        maxY = i == 0 ? y : std::max(maxY, y);
        result.board.Fill(x, y);
        result.lost = result.lost || y < 1;
    }
    const int h = memo_.Board().Height();
    result.landingHeight = h - (minY + maxY) / 2.0;
    for (int y = std::max(0, minY); y <= std::min(h - 1, maxY); ++y)
        fills = fills || result.board.Row(y) == result.board.FullRow();
    if (!fills) {
        result.lost = result.lost || memo_.LostAlready();
        return result;
    }

    TRehearsal rehearsal = RehearseLanding(game_, piece, px, py);
    result.board = std::move(rehearsal.board);
    result.rows = rehearsal.rows;
    result.removed = rehearsal.removed;
    result.lost = rehearsal.lost;
    return result;
}

#include "golden/scripted_player.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "game/game.h"
#include "game/shape.h"

namespace {

using TCells = std::vector<std::pair<int, int>>;

// Where the falling piece's cells would be after turns clockwise turns and a slide by dx.
TCells Moved(const game& play, int turns, int dx)
{
    TCells cells;
    for (const auto& b : play.place) {
        int ox = b->x - play.px, oy = b->y - play.py;
        if (play.ptype != PieceSquare)
            for (int t = 0; t < turns; ++t)
                std::tie(ox, oy) = std::pair(-oy, ox);
        cells.emplace_back(play.px + ox + dx, play.py + oy);
    }
    return cells;
}

class TGrid {
public:
    explicit TGrid(const game& play) : w_(play.w), h_(play.h), filled_(static_cast<size_t>(play.w) * play.h)
    {
        for (const auto& b : play.blocks)
            if (Inside(b->x, b->y))
                filled_[Index(b->x, b->y)] = 1;
    }

    bool Free(int x, int y) const { return x >= 0 && x < w_ && y < h_ && (y < 0 || !filled_[Index(x, y)]); }

    // Drops the cells as far as they go and settles them; false when they do not fit at all.
    bool Drop(TCells cells)
    {
        auto fits = [&](int down) {
            return std::all_of(cells.begin(), cells.end(), [&](auto c) { return Free(c.first, c.second + down); });
        };
        if (!fits(0))
            return false;
        int down = 0;
        while (fits(down + 1))
            ++down;
        for (auto [x, y] : cells)
            if (Inside(x, y + down))
                filled_[Index(x, y + down)] = 1;
        return true;
    }

    // Higher is better: cleared rows, then a low, even stack without holes.
    double Value() const
    {
        int rows = 0, holes = 0, heights = 0, bumps = 0, previous = -1;
        for (int y = 0; y < h_; ++y) {
            bool full = true;
            for (int x = 0; x < w_; ++x)
                full = full && filled_[Index(x, y)];
            rows += full;
        }
        for (int x = 0; x < w_; ++x) {
            int height = 0;
            for (int y = 0; y < h_; ++y) {
                if (filled_[Index(x, y)] && height == 0)
                    height = h_ - y;
                else if (!filled_[Index(x, y)] && height > 0)
                    ++holes;
            }
            heights += height;
            if (previous >= 0)
                bumps += std::abs(height - previous);
            previous = height;
        }
        return 7.6 * rows - 0.51 * heights - 3.56 * holes - 0.18 * bumps;
    }

private:
    bool Inside(int x, int y) const { return x >= 0 && x < w_ && y >= 0 && y < h_; }
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * w_ + x; }

    int w_, h_;
    std::vector<uint8_t> filled_;
};

} // namespace

void TScriptedPlayer::Plan(const game& play)
{
    presses_.clear();
    if (frame_ >= recklessFrom_)
        return;
    double best = -std::numeric_limits<double>::infinity();
    int bestTurns = 0, bestDx = 0;
    for (int turns = 0; turns < 4; ++turns) {
        for (int dx = -play.w; dx <= play.w; ++dx) {
            TGrid grid(play);
            if (!grid.Drop(Moved(play, turns, dx)))
                continue;
            const double value = grid.Value();
            if (value > best) {
                best = value;
                bestTurns = turns;
                bestDx = dx;
            }
        }
    }
    TControls turn, slide;
    // Three clockwise turns are one counter-clockwise.
    (bestTurns == 3 ? turn.keyrotleft : turn.keyrotright) = 1;
    (bestDx < 0 ? slide.keyleft : slide.keyright) = 1;
    for (int t = 0; t < (bestTurns == 3 ? 1 : bestTurns); ++t)
        presses_.push_back(turn);
    for (int i = 0; i < std::abs(bestDx); ++i)
        presses_.push_back(slide);
    std::reverse(presses_.begin(), presses_.end());
    // Where the play has the hold, now and then the piece is put aside first.
    if (play.options.hold && !play.holdslot.used && rng_() % 5 == 0) {
        TControls hold;
        hold.keyhold = 1;
        presses_.push_back(hold);
    }
    pauseDue_ = rng_() % 12 == 0;
}

uint32_t TScriptedPlayer::PauseFrames()
{
    if (!pauseDue_)
        return 0;
    pauseDue_ = false;
    return 20 + rng_() % 100;
}

TControls TScriptedPlayer::Next(const game& play)
{
    ++frame_;
    const void* piece = play.place.IsEmpty() ? nullptr : (*play.place.begin()).get();
    if (piece != piece_) {
        piece_ = piece;
        Plan(play);
        wait_ = 10 + rng_() % 16; // a moment to look at the new piece
    }
    if (wait_ > 0) {
        --wait_;
        return {};
    }
    if (!presses_.empty()) {
        const TControls press = presses_.back();
        presses_.pop_back();
        wait_ = 5 + rng_() % 6; // taps at six to twelve a second, as quick hands do
        return press;
    }
    TControls fast;
    fast.keyfast = 1;
    // Where the play has the hard drop, the piece above its place lands at once.
    fast.keyharddrop = play.options.hardDrop ? 1 : 0;
    return fast;
}

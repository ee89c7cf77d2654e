#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "game/assets.h"
#include "game/boom.h"
#include "game/effects.h"
#include "game/game.h"
#include "game/sounds.h"

namespace {

// Which columns of each board row hold a settled block. A scan asks for one row at a time
// but nested operations may move any block, so the marks are taken afresh after each
// change instead of walking the list once per row.
class TRowMarks {
public:
    explicit TRowMarks(const game& g) : board_(g), marks_(static_cast<size_t>(g.w) * g.h), filled_(g.h) { Take(); }

    void Take()
    {
        std::fill(marks_.begin(), marks_.end(), 0);
        std::fill(filled_.begin(), filled_.end(), 0);
        any_ = false;
        minY_ = 0;
        for (const auto& b : board_.blocks) {
            minY_ = any_ ? std::min(minY_, b->y) : b->y;
            any_ = true;
            if (b->x < 0 || b->x >= board_.w || b->y < 0 || b->y >= board_.h)
                continue;
            uint8_t& mark = marks_[static_cast<size_t>(b->y) * board_.w + b->x];
            if (!mark) {
                mark = 1;
                ++filled_[b->y];
            }
        }
    }

    bool Full(int row) const { return filled_[row] == board_.w; }
    // True when some settled block stands above row 1, which loses the play.
    bool Lost() const { return any_ && minY_ < 1; }

private:
    const game& board_;
    std::vector<uint8_t> marks_;
    std::vector<int> filled_;
    bool any_ = false;
    int minY_ = 0;
};

void SlowDown(game& g)
{
    g.downwait *= 1.195f;
    g.maxdown *= 1.195f;
    effects.tint -= 12.0f;
    effects.wobblev += 1.2338f;
}

} // namespace

void game::Rules()
{
    if (scanDepth_++ == 0)
        chain_ = 0;
    if (maxdown < 1.0f)
        maxdown = 1.0f;
    const float fastest = PaceRule(options.pace).fastestWait;
    if (downwait < fastest)
        downwait = fastest;

    TRowMarks marks(*this);
    int verdict = 0;
    bool queued = false;
    for (int r = 0; r < h; ++r) {
        if (marks.Full(r)) {
            verdict = 1;
            points += 25;
            ++figures.rows;
            int flips = 0;
            bool collapse = false;
            for (const auto& b : blocks) {
                if (b->y == r) {
                    if (b->kind >= BlockSlowDown && b->kind <= BlockFlip)
                        ++figures.powerUps[static_cast<size_t>(b->kind)];
                    switch (b->kind) {
                    case BlockSlowDown:
                        verdict = verdict == 1 ? -1 : verdict - 1;
                        break;
                    case BlockBlast: {
                        auto bang = std::make_shared<dobang>();
                        bang->xp = b->x;
                        bang->yp = r;
                        bangs.AddLast(bang);
                        queued = true;
                        break;
                    }
                    case BlockCollapse:
                        collapse = true;
                        break;
                    case BlockFlip:
                        ++flips;
                        break;
                    }
                    blocks.Remove(b.get());
                } else if (b->y < r) {
                    ++b->y;
                }
            }
            if (flips % 2 == 1)
                Reverse(1);
            if (collapse)
                Fall();
            marks.Take();
        }
        // A bang leaves the list only once its blast is over, so a scan nested inside that
        // blast fires it again.
        if (!bangs.IsEmpty()) {
            for (const auto& bang : bangs) {
                Explode(bang->xp, bang->yp);
                bangs.Remove(bang.get());
            }
            marks.Take();
        }
    }

    if (verdict == 1) {
        downwait /= 1.115f;
        maxdown /= 1.115f;
        effects.tint += 12.0f;
        effects.wobblev += 1.2338f;
        if (!queued)
            effects.flash = 0.54f;
    } else if (verdict == -1) {
        SlowDown(*this);
        effects.flash += 0.4489f;
    }
    lost = marks.Lost() ? 1 : 0;
    if (--scanDepth_ == 0)
        figures.longestChain = std::max(figures.longestChain, chain_);
}

void game::Explode(int ex, int ey)
{
    if (effects.glow < 0.746f)
        effects.glow -= 0.21f;
    PlaySoundEffect(AssetName(TAsset::Explode));
    ++chain_;

    for (const auto& b : blocks) {
        if (b->x == ex && b->y == ey) {
            blocks.Remove(b.get());
            break;
        }
    }

    int flips = 0;
    bool collapse = false;
    // The walk holds the block it stands on, so b stays valid when a nested blast removes it.
    for (const auto& b : blocks) {
        const int dx = b->x - ex, dy = b->y - ey;
        // Cells are whole numbers, so a distance of at most 3.4 means dx² + dy² <= 11.
        if (dx * dx + dy * dy > 11)
            continue;
        if (b->kind == BlockSlowDown || b->kind == BlockBlast ||
            (b->y == ey && (b->kind == BlockCollapse || b->kind == BlockFlip)))
            ++figures.powerUps[static_cast<size_t>(b->kind)];
        if (b->kind == BlockSlowDown)
            SlowDown(*this);
        if (b->kind == BlockBlast)
            Explode(b->x, b->y);
        if (b->y == ey) {
            if (b->kind == BlockCollapse)
                collapse = true;
            if (b->kind == BlockFlip)
                ++flips;
        }
        blocks.Remove(b.get());
    }
    if (flips > 0)
        Reverse(1);
    if (collapse)
        Fall();
    effects.flash = 1.578f;
    boom::Add(x + ex * cellsize, y + ey * cellsize);
}

void game::Fall()
{
    PlaySoundEffect(AssetName(TAsset::Plop));

    // Nothing is removed while the blocks drop, so plain pointers into the list stay valid
    // until Rules below; the occupancy counts spare a list walk for every cell looked at.
    std::vector<block*> order;
    int minX = 0, maxX = 0, minY = 0;
    for (const auto& b : blocks) {
        if (order.empty()) {
            minX = maxX = b->x;
            minY = b->y;
        }
        minX = std::min(minX, b->x);
        maxX = std::max(maxX, b->x);
        minY = std::min(minY, b->y);
        order.push_back(b.get());
    }
    if (!order.empty() && minY < h - 1) {
        const int cols = maxX - minX + 1;
        const int rows = h - minY;
        std::vector<uint16_t> count(static_cast<size_t>(cols) * rows);
        auto cell = [&](int cx, int cy) -> uint16_t& {
            return count[static_cast<size_t>(cy - minY) * cols + (cx - minX)];
        };
        for (block* b : order)
            if (b->y < h)
                ++cell(b->x, b->y);
        // Passes as a player would see them: each block drops at most one row per pass,
        // in list order, onto the cells as the pass has left them.
        bool moved = true;
        while (moved) {
            moved = false;
            for (block* b : order) {
                if (b->y < h - 1 && cell(b->x, b->y + 1) == 0) {
                    --cell(b->x, b->y);
                    ++b->y;
                    ++cell(b->x, b->y);
                    moved = true;
                }
            }
        }
    }
    Rules();
}

void game::Reverse(int n)
{
    PlaySoundEffect(AssetName(TAsset::Switch));
    int top = h - 1;
    for (const auto& b : blocks) {
        top = std::min(top, b->y);
        if (b->y > h - n)
            blocks.Remove(b.get());
    }
    for (const auto& b : blocks)
        b->y = (h - 1) - (b->y - top) - n;
}

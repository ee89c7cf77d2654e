#include "bot/board_model.h"

#include <algorithm>

#include "game/game.h"

namespace {

constexpr int kSlowDown = 1, kBlast = 2, kCollapse = 3, kFlip = 4;
// Cells are whole numbers, so a blast radius of 3.4 reaches dx² + dy² <= 11.
constexpr int kBlastReach = 11;

} // namespace

TBoardModel::TBoardModel(int w, int h) : w_(w), h_(h) {}

TBoardModel TBoardModel::Of(const game& g)
{
    TBoardModel model(g.w, g.h);
    model.blocks_.reserve(g.blocks.Count() + TPieceModel::kMaxBlocks);
    for (const auto& b : g.blocks)
        model.Settle(b->x, b->y, b->kind);
    return model;
}

void TBoardModel::Settle(int x, int y, int kind)
{
    blocks_.push_back({x, y, kind, true});
}

bool TBoardModel::Lost() const
{
    return std::any_of(blocks_.begin(), blocks_.end(), [](const TModelBlock& b) { return b.live && b.y < 1; });
}

TOccupancy TBoardModel::Cells() const
{
    TOccupancy cells(w_, h_);
    for (const auto& b : blocks_)
        if (b.live)
            cells.Fill(b.x, b.y);
    return cells;
}

void TBoardModel::Scan()
{
    // Nested operations may move any block, so the cells are taken afresh after each change.
    TOccupancy cells = Cells();
    for (int r = 0; r < h_; ++r) {
        if (cells.Row(r) == cells.FullRow()) {
            bool collapse = false;
            int flips = 0;
            ClearRow(r, collapse, flips);
            if (flips % 2 == 1)
                Reverse();
            if (collapse)
                Fall();
            cells = Cells();
        }
        // As in the rules, a blast leaves the queue only once it is over, so a scan nested
        // inside it fires it again.
        bool fired = false;
        for (size_t i = 0; i < bangs_.size(); ++i) {
            if (!bangs_[i].live)
                continue;
            Explode(bangs_[i].x, bangs_[i].y);
            bangs_[i].live = false;
            fired = true;
        }
        if (fired)
            cells = Cells();
    }
}

void TBoardModel::ClearRow(int row, bool& collapse, int& flips)
{
    ++tally_.rows;
    for (auto& b : blocks_) {
        if (!b.live)
            continue;
        if (b.y == row) {
            if (b.kind == kBlast)
                bangs_.push_back({b.x, row, true});
            collapse |= b.kind == kCollapse;
            flips += b.kind == kFlip;
            b.live = false;
        } else if (b.y < row) {
            ++b.y;
        }
    }
}

void TBoardModel::Explode(int ex, int ey)
{
    ++tally_.blasts;
    for (auto& b : blocks_) {
        if (b.live && b.x == ex && b.y == ey) {
            b.live = false;
            ++tally_.removed;
            break;
        }
    }
    bool collapse = false;
    int flips = 0;
    // Indexed, since a nested blast may not add blocks but the walk must see its removals.
    for (size_t i = 0; i < blocks_.size(); ++i) {
        if (!blocks_[i].live)
            continue;
        const int dx = blocks_[i].x - ex, dy = blocks_[i].y - ey;
        if (dx * dx + dy * dy > kBlastReach)
            continue;
        if (blocks_[i].kind == kBlast)
            Explode(blocks_[i].x, blocks_[i].y);
        if (blocks_[i].y == ey) {
            collapse |= blocks_[i].kind == kCollapse;
            flips += blocks_[i].kind == kFlip;
        }
        if (blocks_[i].live) {
            blocks_[i].live = false;
            ++tally_.removed;
        }
    }
    if (flips > 0)
        Reverse();
    if (collapse)
        Fall();
}

void TBoardModel::Fall()
{
    ++tally_.collapses;
    // Each column packs against the floor keeping its top-to-bottom order.
    std::vector<TModelBlock*> column;
    for (int x = 0; x < w_; ++x) {
        column.clear();
        for (auto& b : blocks_)
            if (b.live && b.x == x && b.y < h_)
                column.push_back(&b);
        std::stable_sort(column.begin(), column.end(), [](const TModelBlock* a, const TModelBlock* b) { return a->y > b->y; });
        int floor = h_ - 1;
        for (TModelBlock* b : column)
            b->y = floor--;
    }
    Scan();
}

void TBoardModel::Reverse()
{
    ++tally_.flips;
    int top = h_ - 1;
    for (const auto& b : blocks_)
        if (b.live)
            top = std::min(top, b.y);
    for (auto& b : blocks_)
        if (b.live)
            b.y = (h_ - 1) - (b.y - top) - 1;
}

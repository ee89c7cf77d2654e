#include "game/game.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <memory>
#include <utility>
#include <vector>

#include "game/assets.h"
#include "game/effects.h"
#include "game/shape.h"
#include "game/sounds.h"
#include "system/random.h"

namespace {

// Slow-downs multiply the waits without bound; a wait past the int range never ends anyway,
// and saturating keeps its conversion defined.
int WaitFrames(float wait)
{
    return wait >= 2147483647.0f ? INT_MAX : static_cast<int>(wait);
}

// Calls cell(s, x, y) for each cell of template type, in stamp order, at the board cell a new
// piece puts it on.
template <class TCell>
void ForEachStampCell(int type, int boardWidth, TCell cell)
{
    int count = type;
    for (const auto& s : shapes) {
        if (count-- != 0)
            continue;
        for (int cx = 0; cx < 4; ++cx)
            for (int cy = 0; cy < 4; ++cy)
                if (s->array[cx][cy])
                    cell(*s, cx + boardWidth / 2 - 1, cy - 3);
        break;
    }
}

} // namespace

void game::SetOptions(const TPlayOptions& playOptions)
{
    options = playOptions;
    downwait = PaceRule(options.pace).startWait;
}

void game::SetChallenge(TChallenge playChallenge, const std::string& playDay)
{
    challenge = playChallenge;
    day = challenge == TChallenge::Daily ? playDay : std::string();
    if (challenge == TChallenge::Daily)
        pieceRandom.emplace(DailySeed(day));
    else
        pieceRandom.reset();
}

TStampedPiece game::MakePiece()
{
    TRandom& random = pieceRandom ? *pieceRandom : GlobalRandom();
    TStampedPiece piece;
    piece.ptype = random.Int(0, shapecount - 1);
    ForEachStampCell(piece.ptype, w, [&](const shape& s, int bx, int by) {
        block b;
        // The draws are made in this order: red, green, blue, then the power-up roll.
        b.r = static_cast<uint8_t>(s.r + random.Int(-3, 3));
        b.g = static_cast<uint8_t>(s.g + random.Int(-2, 2));
        b.b = static_cast<uint8_t>(s.b + random.Int(-4, 4));
        b.x = bx;
        b.y = by;
        if (random.Int(0, 39) == 0)
            b.kind = random.Int(BlockSlowDown, BlockFlip);
        piece.blocks.push_back(b);
    });
    return piece;
}

void game::TakePiece(const TStampedPiece& piece)
{
    place.Clear();
    px = w / 2;
    py = -2;
    rot = 0;
    ptype = piece.ptype;
    for (const block& b : piece.blocks)
        place.AddLast(std::make_shared<block>(b));
}

// The falling piece back on its stamp cells; turns and moves keep the blocks in stamp order.
TStampedPiece game::Restamped() const
{
    TStampedPiece piece;
    piece.ptype = ptype;
    for (const auto& b : place)
        piece.blocks.push_back(*b);
    size_t i = 0;
    ForEachStampCell(ptype, w, [&](const shape&, int bx, int by) {
        if (i < piece.blocks.size()) {
            piece.blocks[i].x = bx;
            piece.blocks[i].y = by;
        }
        ++i;
    });
    return piece;
}

void game::NewPiece()
{
    if (options.nextPieces == 0) {
        TakePiece(MakePiece());
        return;
    }
    while (coming.size() <= static_cast<size_t>(options.nextPieces))
        coming.push_back(MakePiece());
    TakePiece(coming.front());
    coming.erase(coming.begin());
}

void game::DoPiece(const TControls& controls)
{
    ++figures.frames;
    --nextdown;
    if (nextdown < 1) {
        if (controls.keyfast) {
            nextdown = WaitFrames(maxdown);
        } else {
            nextdown = WaitFrames(downwait);
            PlaySoundEffect(AssetName(TAsset::Falling));
        }
        ShiftPiece(0, 1);
        if (PieceFits())
            ++py;
        else
            Land();
    }

    if (controls.keyhold && options.hold)
        Hold();
    if (controls.keyrotleft)
        Turn(false);
    if (controls.keyrotright)
        Turn(true);
    if (controls.keyleft)
        Slide(-1);
    if (controls.keyright)
        Slide(1);
    if (controls.keyharddrop && options.hardDrop)
        HardDrop();
}

// The piece stands one row below where it last fitted: it settles one row up.
void game::Land()
{
    PlaySoundEffect(AssetName(TAsset::Plop));
    for (const auto& b : place) {
        b->y -= 1;
        auto settled = b;
        place.Remove(b.get());
        blocks.AddLast(std::move(settled));
    }
    ++figures.pieces;
    holdslot.used = false;
    if (lost == 0) {
        NewPiece();
        nextdown = 0;
    }
}

// Straight down to where it fits last, then the landing a failed gravity step makes.
void game::HardDrop()
{
    if (place.IsEmpty())
        return;
    const int rows = DropDistance();
    py += rows;
    ShiftPiece(0, rows + 1);
    Land();
}

// Once per landing; the piece that comes in starts afresh at the top.
void game::Hold()
{
    if (holdslot.used || place.IsEmpty())
        return;
    TStampedPiece put = Restamped();
    holdslot.used = true;
    if (holdslot.full)
        TakePiece(holdslot.piece);
    else
        NewPiece();
    holdslot.piece = std::move(put);
    holdslot.full = true;
    nextdown = 0;
}

TLandingFall::TLandingFall(const game& g) : floorRows_(INT_MAX)
{
    const size_t count = g.place.Count();
    if (count > HeldBlocks)
        more_.reserve(count);
    size_t i = 0;
    for (const auto& b : g.place) {
        // Outside the walls nothing fits, so the piece cannot fall at all.
        if (b->x < 0 || b->x > g.w - 1)
            floorRows_ = 0;
        floorRows_ = std::min(floorRows_, g.h - 1 - b->y);
        if (count > HeldBlocks)
            more_.push_back(b.get());
        else
            held_[i++] = b.get();
        const unsigned row = static_cast<unsigned>(b->y) + TSettledMarks::TopRow;
        if (static_cast<unsigned>(b->x) >= TSettledMarks::Columns || row + 1 >= TSettledMarks::Rows)
            gridded_ = false;
    }
    blocks_ = count > HeldBlocks ? std::span<const block* const>(more_)
                                 : std::span<const block* const>(held_.data(), i);
}

int TLandingFall::Rows(const TSettledMarks& marks, const TList<block>& blocks) const
{
    if (!gridded_ || marks.OffGrid())
        return RowsCellByCell(blocks);
    int rows = floorRows_;
    for (const block* b : blocks_) {
        // The marks below the cell's own row; the lowest of them is the first block it meets.
        const unsigned row = static_cast<unsigned>(b->y) + TSettledMarks::TopRow;
        const uint64_t below = marks.Column(static_cast<unsigned>(b->x)) >> row >> 1;
        if (below != 0)
            rows = std::min(rows, std::countr_zero(below));
    }
    return rows < 0 ? 0 : rows;
}

int TLandingFall::Rows(const TList<block>& blocks) const
{
    TSettledMarks marks;
    for (const auto& s : blocks)
        marks.Mark(*s);
    return Rows(marks, blocks);
}

int TLandingFall::RowsCellByCell(const TList<block>& blocks) const
{
    int rows = floorRows_;
    for (const auto& s : blocks)
        for (const block* b : blocks_)
            if (s->x == b->x && s->y > b->y && s->y - b->y - 1 < rows)
                rows = s->y - b->y - 1;
    return rows < 0 ? 0 : rows;
}

int game::DropDistance() const
{
    return TLandingFall(*this).Rows(blocks);
}

std::vector<std::pair<int, int>> game::LandingCells() const
{
    const TLandingFall fall(*this);
    const int rows = fall.Rows(blocks);
    std::vector<std::pair<int, int>> cells;
    for (const block* b : fall.Blocks())
        cells.emplace_back(b->x, b->y + rows);
    return cells;
}

void game::rotleft()
{
    for (const auto& b : place) {
        const int ox = b->x - px, oy = b->y - py;
        b->x = px + oy;
        b->y = py - ox;
    }
}

void game::rotright()
{
    for (const auto& b : place) {
        const int ox = b->x - px, oy = b->y - py;
        b->x = px - oy;
        b->y = py + ox;
    }
}

// Rows above the board are allowed; the walls, the floor and settled blocks are not.
bool game::PieceFits() const
{
    std::vector<std::pair<int, int>> cells;
    for (const auto& b : place) {
        if (b->x < 0 || b->x > w - 1 || b->y > h - 1)
            return false;
        cells.emplace_back(b->x, b->y);
    }
    for (const auto& s : blocks)
        for (const auto& [cx, cy] : cells)
            if (s->x == cx && s->y == cy)
                return false;
    return true;
}

// A refused turn is undone by the opposite turn, which restores the cells exactly.
void game::Turn(bool clockwise)
{
    if (ptype == PieceSquare) {
        CycleSquare(clockwise);
        return;
    }
    clockwise ? rotright() : rotleft();
    if (PieceFits())
        rot += clockwise ? 1 : -1;
    else
        clockwise ? rotleft() : rotright();
}

void game::Slide(int dx)
{
    ShiftPiece(dx, 0);
    if (PieceFits())
        px += dx;
    else
        ShiftPiece(-dx, 0);
}

void game::ShiftPiece(int dx, int dy)
{
    for (const auto& b : place) {
        b->x += dx;
        b->y += dy;
    }
}

// The square does not turn about its pivot: its blocks trade corners, so its cells stay put.
void game::CycleSquare(bool clockwise)
{
    for (const auto& b : place) {
        const int cx = b->x - px + 1, cy = b->y - py + 1;
        const int nx = clockwise ? 1 - cy : cy;
        const int ny = clockwise ? cx : 1 - cx;
        b->x = px - 1 + nx;
        b->y = py - 1 + ny;
    }
}

void StartPlay(game& play)
{
    effects.tint = 250;
    play.w = BoardColumns;
    play.h = BoardRows;
    play.x = BoardLeft;
}

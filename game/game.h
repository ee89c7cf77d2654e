#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "game/block.h"
#include "game/challenge.h"
#include "game/controls.h"
#include "game/play_figures.h"
#include "game/play_options.h"
#include "system/list.h"
#include "system/random.h"

constexpr int cellsize = 16; // pixels per board cell, across and down

// The board of every play: its size in cells and the window pixel of its left edge.
constexpr int BoardColumns = 20;
constexpr int BoardRows = 32;
constexpr int BoardLeft = 96;

// A blast queued by a row scan, fired by the same scan once its row has been handled.
class dobang {
public:
    int xp = 0; // board column of the blast centre
    int yp = 0; // board row of the blast centre
};

// A piece as its template stamps it, before it falls: its type and its blocks in stamp order,
// on the cells a new piece takes.
struct TStampedPiece {
    int ptype = 0;
    std::vector<block> blocks;
};

// The piece put aside by the hold control, and whether a hold was used since the last landing.
struct THoldSlot {
    bool full = false;
    bool used = false;
    TStampedPiece piece;
};

// The settled blocks a walk of the board has met, marked as bits: a 64-bit word a column, a bit a
// row from TopRow rows above the board, which holds the standard board and the rows a piece comes
// in from. Inline, and one predictable test a block, so a walk the caller makes anyway (the
// board's drawing) marks them at little cost.
class TSettledMarks {
public:
    static constexpr unsigned Columns = 32;
    static constexpr unsigned Rows = 64;
    static constexpr unsigned TopRow = 32;

    void Mark(const block& settled)
    {
        const auto column = static_cast<unsigned>(settled.x);
        const unsigned row = static_cast<unsigned>(settled.y) + TopRow;
        if (column < Columns && row < Rows)
            columns_[column] |= uint64_t{1} << row;
        else
            offGrid_ = true;
    }
    uint64_t Column(unsigned column) const { return columns_[column]; }
    // Some block stood where no bit marks it.
    bool OffGrid() const { return offGrid_; }

private:
    std::array<uint64_t, Columns> columns_{};
    bool offGrid_ = false;
};

class game;

// How far the falling piece can drop by the rules of its fit: each of its blocks falls to the
// floor or onto the first settled block below it in its column, the piece as far as its shortest
// fall.
class TLandingFall {
public:
    explicit TLandingFall(const game& g);
    // Its blocks may be held inside it.
    TLandingFall(const TLandingFall&) = delete;
    TLandingFall& operator=(const TLandingFall&) = delete;
    // The fall over the blocks a walk of them has marked; a piece or a block off the marks' grid
    // makes it meet the blocks cell by cell instead.
    int Rows(const TSettledMarks& marks, const TList<block>& blocks) const;
    int Rows(const TList<block>& blocks) const;
    // The piece's blocks in list order, held so that those who draw them need no second walk of
    // the list; the piece must stay as it is while they are read.
    std::span<const block* const> Blocks() const { return blocks_; }

private:
    int RowsCellByCell(const TList<block>& blocks) const;

    // The game's templates have four cells each; a longer list, made by hand, goes to more_.
    static constexpr size_t HeldBlocks = 4;
    std::array<const block*, HeldBlocks> held_;
    std::vector<const block*> more_;
    std::span<const block* const> blocks_;
    bool gridded_ = true; // every cell of the piece, and the row below it, on the marks' grid
    int floorRows_;       // the fall to the floor; none from outside the walls
};

// One play: the board with its settled blocks, the falling piece and the score.
// Board column 0 is on the left, row 0 at the top; rows above the board are negative.
class game {
public:
    TList<block> blocks;  // settled blocks, in the order they settled
    TList<dobang> bangs;  // blasts queued during a row scan; empty between frames
    TList<block> place;   // the falling piece
    int px = 0;           // pivot column of the falling piece
    int py = 0;           // pivot row of the falling piece
    int rot = 0;          // accepted turns: -1 per counter-clockwise, +1 per clockwise
    int ptype = 0;        // template type of the falling piece (PieceBar..PieceT)
    int w = 0;            // board width in cells
    int h = 0;            // board height in cells
    int x = 0;            // window pixel of the board's left edge
    int y = 0;            // window pixel of the board's top edge
    int nextdown = 0;     // frames left until the next gravity step
    float downwait = 48.0f; // frames between gravity steps
    float maxdown = 2.0f;   // frames between gravity steps while the fast key is held
    int lost = 0;
    int points = 0;
    TPlayOptions options;             // set by SetOptions, before the first piece
    TPlayFigures figures;
    // Pieces made ahead, the next one first; a vector, as an empty one costs no allocation when
    // the built-in player makes a game for every landing it rehearses.
    std::vector<TStampedPiece> coming;
    THoldSlot holdslot;
    TChallenge challenge = TChallenge::None; // set by SetChallenge, before the first piece
    std::string day;                         // a daily play's day
    // A daily play's pieces come from a generator of their own, seeded from the date, so every
    // copy gets the same pieces whatever the effects and pauses draw; others use the global one.
    std::optional<TRandom> pieceRandom;

    // Lost, or the challenge's goal met: either ends the play.
    bool Over() const { return lost != 0 || GoalReached(challenge, figures); }

    // The options of this play and the pace they start it at; before the first piece.
    void SetOptions(const TPlayOptions& playOptions);
    // The challenge of this play; a daily one draws its pieces from the day's own seed.
    void SetChallenge(TChallenge playChallenge, const std::string& playDay);
    // Replaces the falling piece with the next one: stamped from a random template now, or,
    // with coming pieces shown, the first of them while a new one is made at the end.
    void NewPiece();
    // Once per frame: gravity, then the hold, the turns and moves, and the hard drop asked for by
    // this frame's controls.
    void DoPiece(const TControls& controls);
    // The cells the falling piece would land on if it dropped now, in list order.
    std::vector<std::pair<int, int>> LandingCells() const;
    // Once per frame after the row scan: the score, every block, then every shadow over them.
    void Draw();
    // A blast centred on board cell (x, y), with chain reactions.
    void Explode(int x, int y);
    // Drops every settled block as far as it goes, then rescans the rows.
    void Fall();
    // Turns the stack upside down, lifted by n rows.
    void Reverse(int n);
    // The row scan: clears full rows, applies power-ups, scores, decides the loss.
    void Rules();
    // Quarter turns of the falling piece about its pivot, without any test.
    void rotleft();
    void rotright();

private:
    TStampedPiece MakePiece();
    void TakePiece(const TStampedPiece& piece);
    TStampedPiece Restamped() const;
    void Land();
    void HardDrop();
    void Hold();
    int DropDistance() const;
    bool PieceFits() const;
    void Turn(bool clockwise);
    void Slide(int dx);
    void ShiftPiece(int dx, int dy);
    void CycleSquare(bool clockwise);

    int scanDepth_ = 0; // row scans running, nested ones included
    int chain_ = 0;     // blasts set off since the outermost scan began
};

// A new play on the standard board, before its first piece, the background tint at its start.
void StartPlay(game& play);

#include "bot/piece_model.h"

#include "game/game.h"
#include "game/shape.h"

TPieceModel TPieceModel::Of(const game& g)
{
    TPieceModel piece;
    piece.square_ = g.ptype == PieceSquare;
    for (const auto& b : g.place) {
        if (piece.count_ == kMaxBlocks) {
            piece.complete_ = false;
            break;
        }
        piece.blocks_[piece.count_++] = {b->x - g.px, b->y - g.py, b->kind};
    }
    return piece;
}

TPieceModel TPieceModel::Turned(bool clockwise) const
{
    TPieceModel turned = *this;
    for (int i = 0; i < count_; ++i) {
        const TPieceBlock& b = blocks_[i];
        TPieceBlock& t = turned.blocks_[i];
        if (square_) {
            const int cx = b.dx + 1, cy = b.dy + 1;
            t.dx = (clockwise ? 1 - cy : cy) - 1;
            t.dy = (clockwise ? cx : 1 - cx) - 1;
        } else {
            t.dx = clockwise ? -b.dy : b.dy;
            t.dy = clockwise ? b.dx : -b.dx;
        }
    }
    return turned;
}

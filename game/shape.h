#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "system/list.h"

// A piece template: a base colour and a 4 by 4 grid of cells, indexed array[column][row].
// Templates are made once and never changed; their position in shapes is their type number.
class shape {
public:
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    std::array<std::array<uint8_t, 4>, 4> array{};

    // c1..c4 are the top row from left to right, c13..c16 the bottom row. Appends the new
    // template to shapes and counts it in shapecount.
    static std::shared_ptr<shape> Set(uint8_t c1, uint8_t c2, uint8_t c3, uint8_t c4,
                                      uint8_t c5, uint8_t c6, uint8_t c7, uint8_t c8,
                                      uint8_t c9, uint8_t c10, uint8_t c11, uint8_t c12,
                                      uint8_t c13, uint8_t c14, uint8_t c15, uint8_t c16,
                                      uint8_t r, uint8_t g, uint8_t b);
    // Creates the seven templates of the game, in type order; called once at start-up.
    static void Init();
};

// Template types, in the order shape::Init makes them.
enum : int { PieceBar, PieceS, PieceZ, PieceJ, PieceL, PieceSquare, PieceT };

extern TList<shape> shapes;
extern int shapecount;

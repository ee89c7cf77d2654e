#pragma once
#include <cstdint>

// Block kinds: plain, or one of the four power-ups.
enum : int { BlockPlain = 0, BlockSlowDown = 1, BlockBlast = 2, BlockCollapse = 3, BlockFlip = 4 };
constexpr int PowerUpKinds = 4;

// One cell-sized block: part of the falling piece while in game::place, settled once in
// game::blocks.
class block {
public:
    int x = 0; // board column
    int y = 0; // board row, negative above the board
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    int kind = BlockPlain;

    // Draws the block with the board at window pixel (ox, oy): pass 0 the block, any other
    // pass its shadow.
    void Draw(int ox, int oy, int pass);
};

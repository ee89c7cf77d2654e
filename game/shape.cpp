#include "game/shape.h"

TList<shape> shapes;
int shapecount = 0;

std::shared_ptr<shape> shape::Set(uint8_t c1, uint8_t c2, uint8_t c3, uint8_t c4,
                                  uint8_t c5, uint8_t c6, uint8_t c7, uint8_t c8,
                                  uint8_t c9, uint8_t c10, uint8_t c11, uint8_t c12,
                                  uint8_t c13, uint8_t c14, uint8_t c15, uint8_t c16,
                                  uint8_t r, uint8_t g, uint8_t b)
{
    const uint8_t cells[16] = {c1, c2, c3, c4, c5, c6, c7, c8, c9, c10, c11, c12, c13, c14, c15, c16};
    auto s = std::make_shared<shape>();
    for (int k = 0; k < 16; ++k)
        s->array[k % 4][k / 4] = cells[k];
    s->r = r;
    s->g = g;
    s->b = b;
    shapes.AddLast(s);
    ++shapecount;
    return s;
}

void shape::Init()
{
    // Each template is written as its four rows, top to bottom.
    Set(0, 0, 0, 0, //
        1, 1, 1, 1, //
        0, 0, 0, 0, //
        0, 0, 0, 0, 189, 189, 189); // bar
    Set(0, 0, 0, 0, //
        0, 1, 1, 0, //
        1, 1, 0, 0, //
        0, 0, 0, 0, 148, 167, 148); // S
    Set(0, 0, 0, 0, //
        1, 1, 0, 0, //
        0, 1, 1, 0, //
        0, 0, 0, 0, 148, 167, 148); // Z
    Set(1, 0, 0, 0, //
        1, 1, 1, 0, //
        0, 0, 0, 0, //
        0, 0, 0, 0, 124, 143, 216); // J
    Set(0, 0, 1, 0, //
        1, 1, 1, 0, //
        0, 0, 0, 0, //
        0, 0, 0, 0, 124, 143, 216); // L
    Set(1, 1, 0, 0, //
        1, 1, 0, 0, //
        0, 0, 0, 0, //
        0, 0, 0, 0, 199, 176, 157); // square
    Set(0, 1, 0, 0, //
        1, 1, 1, 0, //
        0, 0, 0, 0, //
        0, 0, 0, 0, 149, 122, 167); // T
}

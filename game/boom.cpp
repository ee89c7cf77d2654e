#include "game/boom.h"

TList<boom> booms;

std::shared_ptr<boom> boom::Add(int x, int y)
{
    auto b = std::make_shared<boom>();
    b->x = x;
    b->y = y;
    b->time = 11;
    booms.AddLast(b);
    return b;
}

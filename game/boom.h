#pragma once
#include <memory>

#include "system/list.h"

// One flash effect marking a blast, centred on a window pixel; it outlives the play
// that started it and is aged and drawn by the screens.
class boom {
public:
    int x = 0;
    int y = 0;
    int time = 0; // frames left

    // Starts a flash effect centred on window pixel (x, y) and appends it to booms.
    static std::shared_ptr<boom> Add(int x, int y);
    // Draws and ages every flash effect, dropping those that are done; once per frame.
    static void update();
};

// The live flash effects, in creation order.
extern TList<boom> booms;
